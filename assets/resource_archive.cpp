// The archive reader: table reading, extraction by name, teardown.
// (Copying the embedded resource out is in resource_archive_copy.cpp, so that
// the command-line packer can use this reader without the embedded blobs.)
#include "assets/resource_archive.h"

#include "platform/temp_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t ENTRY_RECORD_SIZE = RESOURCE_NAME_SIZE + 4;  // name field and size

// The reader's process-wide state. Between operations the archive file's read
// position is at its start.
FILE *archiveFile = nullptr;
char archivePath[RESOURCE_PATH_SIZE] = {};
uint32_t entryTotal = 0;
uint32_t dataBase = 0;                      // 4 + 260 N
std::vector<ResourceArchiveEntry> entries;  // archive order

uint32_t readLittleEndian32(const unsigned char *bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

// The archive's length in bytes, or -1 when it cannot be told.
long long fileLength(FILE *file) {
    if (fseeko(file, 0, SEEK_END) != 0) return -1;
    long long length = ftello(file);
    rewind(file);
    return length;
}

// Reads the table of the open archive file. False when the file is shorter
// than its own count and sizes claim, or a name lacks its NUL: nothing
// beyond the file's end is read and nothing larger than it is allocated.
bool readTable() {
    long long length = fileLength(archiveFile);
    unsigned char countBytes[4];
    if (length < 4 || std::fread(countBytes, 1, 4, archiveFile) != 4) return false;
    uint32_t count = readLittleEndian32(countBytes);
    unsigned long long base = 4 + (unsigned long long)ENTRY_RECORD_SIZE * count;
    if (base > (unsigned long long)length) return false;

    std::vector<ResourceArchiveEntry> table(count);
    unsigned long long offset = base;
    for (ResourceArchiveEntry &record : table) {
        unsigned char sizeBytes[4];
        if (std::fread(record.name, 1, RESOURCE_NAME_SIZE, archiveFile) != RESOURCE_NAME_SIZE ||
            std::fread(sizeBytes, 1, 4, archiveFile) != 4) {
            return false;
        }
        if (!std::memchr(record.name, '\0', RESOURCE_NAME_SIZE)) return false;
        record.size = readLittleEndian32(sizeBytes);
        record.offset = uint32_t(offset);
        offset += record.size;
        if (offset > (unsigned long long)length) return false;
    }
    entryTotal = count;
    dataBase = uint32_t(base);
    entries = std::move(table);
    return true;
}

// Copies one entry's bytes into a new temporary file; its path, or an empty
// string (and no file) when it could not be made in full.
std::string copyEntryToTempFile(const ResourceArchiveEntry &record) {
    std::string path = createTempFile();
    if (path.empty()) return {};
    FILE *out = std::fopen(path.c_str(), "wb");
    bool complete = out != nullptr && fseeko(archiveFile, record.offset, SEEK_SET) == 0;
    if (complete && record.size > 0) {
        std::vector<unsigned char> buffer(record.size);
        complete = std::fread(buffer.data(), 1, buffer.size(), archiveFile) == buffer.size() &&
                   std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
    }
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
    archiveFile = std::fopen(path, "rb");
    if (!archiveFile) return 1;
    bool wellFormed = readTable();
    rewind(archiveFile);
    if (!wellFormed) {
        // Malformed: treated like a file that cannot be opened.
        std::fclose(archiveFile);
        archiveFile = nullptr;
        return 1;
    }
    return 0;
}

void extractEntry(const char *name, char *outPath) {
    outPath[0] = '\0';
    for (const ResourceArchiveEntry &record : entries) {
        if (std::strcmp(name, record.name) != 0) continue;
        std::string path = copyEntryToTempFile(record);
        if (path.size() < RESOURCE_PATH_SIZE) {
            std::memcpy(outPath, path.c_str(), path.size() + 1);
        } else {
            removeTempFile(path);  // a path the caller's buffer cannot hold
        }
        break;
    }
    if (archiveFile) rewind(archiveFile);
}

void close() {
    entries.clear();
    entries.shrink_to_fit();
    entryTotal = 0;
    dataBase = 0;
    if (archiveFile) std::fclose(archiveFile);
    archiveFile = nullptr;
    if (archivePath[0]) removeTempFile(archivePath);
    std::memset(archivePath, 0, sizeof archivePath);
}

uint32_t entryCount() { return entryTotal; }

const ResourceArchiveEntry &entry(uint32_t index) { return entries[index]; }

}  // namespace ResourceArchive
