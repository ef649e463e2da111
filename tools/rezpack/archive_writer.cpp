// packArchive: the files read, checked and sorted, then packed by archive_format.
#include "tools/rezpack/archive_writer.h"

#include "assets/archive_format.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

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

}  // namespace

std::string packArchive(const std::string &outPath, const std::vector<std::string> &files) {
    std::vector<PackedFile> packed;
    uint64_t total = archiveDataBase(0);
    for (const std::string &path : files) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return "cannot read " + path;
        PackedFile file{baseName(path), std::string(std::istreambuf_iterator<char>(in), {})};
        if (in.bad()) return "cannot read " + path;
        if (file.name.empty() || file.name.size() >= RESOURCE_NAME_SIZE) {
            return "name must have 1 to 255 bytes: " + path;
        }
        if (file.name.find('\0') != std::string::npos) return "name holds a NUL byte: " + path;
        total += ARCHIVE_RECORD_SIZE + file.bytes.size();
        packed.push_back(std::move(file));
    }
    if (total > UINT32_MAX) return "the archive would exceed 4 GiB";
    std::sort(packed.begin(), packed.end(), comesBefore);
    for (size_t i = 1; i < packed.size(); ++i) {
        if (packed[i].name == packed[i - 1].name) return "two files named " + packed[i].name;
    }

    std::vector<ArchivePart> parts;
    for (const PackedFile &file : packed) parts.push_back({file.name, file.bytes});
    const std::string archive = archiveBytes(parts);

    FILE *out = std::fopen(outPath.c_str(), "wb");
    if (!out) return "cannot write " + outPath;
    bool complete = std::fwrite(archive.data(), 1, archive.size(), out) == archive.size();
    if (std::fclose(out) != 0) complete = false;
    if (!complete) {
        std::remove(outPath.c_str());
        return "cannot write " + outPath;
    }
    return {};
}
