#pragma once
// The packed archive that carries every asset (photographs, graphics, the
// music module) inside the executable as resource "REZ" 102.
//
// Byte format, all integers 4-byte unsigned little-endian:
//   0                    entry count N
//   4 + 260 i            name of entry i: its bytes, then NULs up to 256 bytes
//   4 + 260 i + 256      size of entry i in bytes
//   4 + 260 N            the data base: entry 0's bytes, then entry 1's, ...
//                        with no padding; the archive ends after the last entry
//
// There is one reader per process with process-wide state; main thread only.
// Calling order: writeResourceToTempFile, open with its result, any number of
// extractEntry, close once at teardown.
#include <cstdint>
#include <string>

// Size of every path buffer the reader fills: up to 4095 bytes and a NUL.
constexpr int RESOURCE_PATH_SIZE = 4096;
// Bytes of one name field; a name has at most 255 bytes and its NUL.
constexpr int RESOURCE_NAME_SIZE = 256;

// One table entry, as read from the archive.
struct ResourceArchiveEntry {
    uint32_t size = 0;                 // bytes of data
    char name[RESOURCE_NAME_SIZE] = {};  // NUL-terminated, copied as stored
    uint32_t offset = 0;               // of the data, from the start of the archive
};

namespace ResourceArchive {

// Copies the whole "REZ" 102 resource into a new temporary file and returns
// its path; an empty string when there is no such resource or the copy could
// not be written. close() deletes the file.
std::string writeResourceToTempFile();

// Opens the archive at path and reads its table. 0: the table was read.
// 1: the file could not be opened or is malformed (a count or sizes that
// reach past the end of the file, a name without a NUL in its 256 bytes);
// the table is then empty. The path is remembered either way, so that close()
// deletes the file. On a reader that is already open, closes it first.
int open(const char *path);

// Extracts the first entry named exactly name (byte for byte, case-sensitive)
// into a new temporary file and copies that file's path, with its NUL, into
// outPath (RESOURCE_PATH_SIZE bytes). The caller owns and deletes the file.
// A missing entry, or a file that could not be written in full, gives an
// empty string in outPath and leaves no file behind.
void extractEntry(const char *name, char *outPath);

// Frees the table, closes the archive and deletes the file given to open().
// Safe after a failed open() and when nothing was opened.
void close();

// The table, in archive order, for listing; valid until close().
uint32_t entryCount();
const ResourceArchiveEntry &entry(uint32_t index);  // index < entryCount()

}  // namespace ResourceArchive
