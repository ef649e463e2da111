// The archive reader: table reading, extraction by name, teardown.
// (Copying the embedded resource out is in resource_archive_copy.cpp, so that
// the command-line packer can use this reader without the embedded blobs.)
#include "assets/resource_archive.h"

#include "platform/temp_file.h"

#include <unistd.h>  // pread

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The reader's process-wide state, set by open() and close() alone. Entries
// are read with pread, which leaves the file's position alone, so reads on
// several threads at once need no lock.
FILE *archiveFile = nullptr;
char archivePath[RESOURCE_PATH_SIZE] = {};
std::vector<ResourceArchiveEntry> entries;              // archive order
std::unordered_map<std::string, uint32_t> entryByName;  // the first entry of each name

// The archive's length in bytes, or -1 when it cannot be told.
long long fileLength(FILE *file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    long long length = ftello(file);
    rewind(file);
    return length;
}

// Reads the table of the open archive file. False when it does not fit the
// file: nothing beyond the file's end is read and nothing larger than it is
// allocated.
bool readTable() {
    const long long length = fileLength(archiveFile);
    unsigned char countBytes[ARCHIVE_COUNT_SIZE];
    if (length < ARCHIVE_COUNT_SIZE ||
        std::fread(countBytes, 1, ARCHIVE_COUNT_SIZE, archiveFile) != ARCHIVE_COUNT_SIZE) {
        return false;
    }
    const uint64_t base = archiveDataBase(readLittleEndian32(countBytes));
    if (base > uint64_t(length)) return false;
    std::vector<unsigned char> head(base);
    std::memcpy(head.data(), countBytes, ARCHIVE_COUNT_SIZE);
    const size_t table = size_t(base) - ARCHIVE_COUNT_SIZE;
    if (std::fread(head.data() + ARCHIVE_COUNT_SIZE, 1, table, archiveFile) != table) return false;
    return parseArchiveTable(head.data(), head.size(), uint64_t(length), entries);
}

// Reads one entry's bytes into buffer; false when they cannot be read in full.
bool readRecord(const ResourceArchiveEntry &record, std::vector<unsigned char> &buffer) {
    buffer.clear();
    if (!archiveFile) return false;
    buffer.resize(record.size);
    size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = pread(fileno(archiveFile), buffer.data() + done, buffer.size() - done,
                                  off_t(record.offset) + off_t(done));
        if (got <= 0) {
            buffer.clear();
            return false;
        }
        done += size_t(got);
    }
    return true;
}

// The first entry named exactly name, or null.
const ResourceArchiveEntry *findRecord(const char *name) {
    auto found = entryByName.find(name);
    return found == entryByName.end() ? nullptr : &entries[found->second];
}

// Copies one entry's bytes into a new temporary file; its path, or an empty
// string (and no file) when it could not be made in full.
std::string copyEntryToTempFile(const ResourceArchiveEntry &record) {
    std::string path = createTempFile();
    if (path.empty()) return {};
    FILE *out = openTempFile(path, "wb");
    std::vector<unsigned char> buffer;
    bool complete = out != nullptr && readRecord(record, buffer);
    // An empty entry is an empty file: fwrite must not see an empty vector's null data.
    complete = complete && (buffer.empty() || std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size());
    if (out && std::fclose(out) != 0) complete = false;
    if (!complete) {
        removeTempFile(path);
        return {};
    }
    return path;
}

}  // namespace

namespace ResourceArchive {

int open(const char *path) {
    close();  // a second open() starts afresh rather than leaking the first
    std::snprintf(archivePath, sizeof archivePath, "%s", path);
    archiveFile = openTempFile(path, "rb");
    if (!archiveFile) return 1;
    const bool wellFormed = readTable();
    if (!wellFormed) {
        // Malformed: treated like a file that cannot be opened.
        std::fclose(archiveFile);
        archiveFile = nullptr;
        return 1;
    }
    for (uint32_t i = 0; i < entries.size(); ++i) entryByName.emplace(entries[i].name, i);   // keeps the first
    return 0;
}

void extractEntry(const char *name, char *outPath) {
    outPath[0] = '\0';
    if (const ResourceArchiveEntry *record = findRecord(name)) {
        std::string path = copyEntryToTempFile(*record);
        if (path.size() < RESOURCE_PATH_SIZE) {
            std::memcpy(outPath, path.c_str(), path.size() + 1);
        } else {
            removeTempFile(path);  // a path the caller's buffer cannot hold
        }
    }
}

bool readEntry(const char *name, std::vector<unsigned char> &bytes) {
    const ResourceArchiveEntry *record = findRecord(name);
    const bool read = record && readRecord(*record, bytes);
    if (!read) bytes.clear();
    return read;
}

bool hasEntry(const char *name) { return findRecord(name) != nullptr; }

void close() {
    entries.clear();
    entries.shrink_to_fit();
    entryByName.clear();
    if (archiveFile) std::fclose(archiveFile);
    archiveFile = nullptr;
    if (archivePath[0]) removeTempFile(archivePath);
    std::memset(archivePath, 0, sizeof archivePath);
}

uint32_t entryCount() { return uint32_t(entries.size()); }

const ResourceArchiveEntry &entry(uint32_t index) { return entries[index]; }

}  // namespace ResourceArchive
