// packArchive: the files read, checked and sorted, then packed by archive_format.
#include "tools/rezpack/archive_writer.h"

#include "assets/archive_format.h"
#include "platform/printable_text.h"

#include <sys/stat.h>   // telling regular files from folders and devices

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

struct PackedFile {
    std::string name;   // base name, as stored
    std::string bytes;  // contents
};

// Case-insensitive (ASCII) order; names equal but for case by their bytes,
// so the order never depends on the order of the command line.
bool comesBefore(const PackedFile &a, const PackedFile &b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : int(c); };
    const std::string &x = a.name, &y = b.name;
    for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
        int cx = lower(x[i]), cy = lower(y[i]);
        if (cx != cy) return cx < cy;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return x < y;
}

std::string baseName(const std::string &path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads the regular file at path whole into bytes. An empty string, or what
// is wrong: a folder, a device or a pipe (which may never end), a file that
// would take an archive already `before` bytes long beyond 4 GiB.
std::string readRegularFile(const std::string &path, std::string &bytes, uint64_t before) {
    const std::string cannot = "cannot read " + printableText(path) + ": ";
    FILE *in = std::fopen(path.c_str(), "rb");
    if (!in) return cannot + std::strerror(errno);
    struct stat status {};
    std::string fault;
    if (fstat(fileno(in), &status) != 0) fault = cannot + std::strerror(errno);
    else if (S_ISDIR(status.st_mode)) fault = cannot + std::strerror(EISDIR);
    else if (!S_ISREG(status.st_mode)) fault = cannot + "not a regular file";
    else if (before + ARCHIVE_RECORD_SIZE + uint64_t(status.st_size) > UINT32_MAX) fault = "the archive would exceed 4 GiB";
    if (fault.empty()) {
        bytes.resize(size_t(status.st_size));
        // A file that shrank since fstat reads short: that is a failure too.
        if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size()) fault = cannot + "it changed while it was read";
    }
    std::fclose(in);
    return fault;
}

}  // namespace

std::string packArchive(const std::vector<std::string> &files, std::string &archive) {
    std::vector<PackedFile> packed;
    uint64_t total = archiveDataBase(0);
    for (const std::string &path : files) {
        PackedFile file{baseName(path), {}};
        if (file.name.empty() || file.name.size() >= RESOURCE_NAME_SIZE) {
            return "name must have 1 to 255 bytes: " + printableText(path);
        }
        const std::string fault = readRegularFile(path, file.bytes, total);
        if (!fault.empty()) return fault;
        total += ARCHIVE_RECORD_SIZE + file.bytes.size();
        packed.push_back(std::move(file));
    }
    std::sort(packed.begin(), packed.end(), comesBefore);
    for (size_t i = 1; i < packed.size(); ++i) {
        if (packed[i].name == packed[i - 1].name) return "two files named " + printableText(packed[i].name);
    }

    std::vector<ArchivePart> parts;
    for (const PackedFile &file : packed) parts.push_back({file.name, file.bytes});
    archive = archiveBytes(parts);
    return {};
}
