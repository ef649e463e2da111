#pragma once
// The byte format of the packed archive, in one place: the reader parses its
// table with these, and rezpack, the tests and the benchmark write archives
// with them.
//
// All integers 4-byte unsigned little-endian:
//   0                    entry count N
//   4 + 260 i            name of entry i: its bytes, then NULs up to 256 bytes
//   4 + 260 i + 256      size of entry i in bytes
//   4 + 260 N            the data base: entry 0's bytes, then entry 1's, ...
//                        with no padding; the archive ends after the last entry
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Bytes of one name field; a name has at most 255 bytes and its NUL.
constexpr int RESOURCE_NAME_SIZE = 256;
constexpr uint32_t ARCHIVE_COUNT_SIZE = 4;                        // the count field
constexpr uint32_t ARCHIVE_RECORD_SIZE = RESOURCE_NAME_SIZE + 4;  // name field and size

// One table entry, as read from the archive.
struct ResourceArchiveEntry {
    uint32_t size = 0;                   // bytes of data
    char name[RESOURCE_NAME_SIZE] = {};  // NUL-terminated, copied as stored
    uint32_t offset = 0;                 // of the data, from the start of the archive
};

// The data base of an archive of count entries: the count field and the table.
constexpr uint64_t archiveDataBase(uint64_t count) {
    return ARCHIVE_COUNT_SIZE + ARCHIVE_RECORD_SIZE * count;
}

// The format's integers: 4 bytes, least significant first.
uint32_t readLittleEndian32(const unsigned char *bytes);
void appendLittleEndian32(std::string &out, uint32_t value);

// Reads the table of an archive of length bytes whose first headSize bytes
// are at head (its count and table suffice; more is not read). True with the
// entries in table; false, with table untouched, when the table does not fit
// the archive: headSize or length too short for the count or the table, a
// name without a NUL in its 256 bytes, sizes that reach past length, or data
// that would start beyond 4 GiB. Allocates no more than headSize bytes' worth.
bool parseArchiveTable(const unsigned char *head, uint64_t headSize, uint64_t length,
                       std::vector<ResourceArchiveEntry> &table);

// One entry to pack: its name and its bytes, both kept alive by the caller.
struct ArchivePart {
    std::string_view name;
    std::string_view bytes;
};

// An archive of the parts, in the order given. Empty (which no archive is:
// even one without entries has its count) when a name has more than 255
// bytes or holds a NUL, or the archive would exceed 4 GiB.
std::string archiveBytes(const std::vector<ArchivePart> &parts);
