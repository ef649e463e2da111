#pragma once
// The packed archive that carries every asset (photographs, graphics, the
// music module) inside the executable as resource "REZ" 102; its byte format
// is in archive_format.h.
//
// There is one reader per process with process-wide state. Calling order:
// writeResourceToTempFile, open with its result, any number of extractEntry,
// readEntry and hasEntry, close once at teardown. open and close run while no
// other thread uses the reader (the asset store opens it before its loader
// threads start and closes it after they have ended); in between, any number
// of threads may read at once: the table stays as it is, and entries are read
// without moving a shared file position, so no lock is needed.
#include <cstdint>
#include <string>
#include <vector>

#include "assets/archive_format.h"

// Size of every path buffer the reader fills: up to 4095 bytes and a NUL.
constexpr int RESOURCE_PATH_SIZE = 4096;

namespace ResourceArchive {

// Copies the whole "REZ" 102 resource into a new temporary file and returns
// its path; an empty string when there is no such resource or the copy could
// not be written. close() deletes the file.
std::string writeResourceToTempFile();

// Opens the archive at path and reads its table. 0: the table was read.
// 1: the file could not be opened or is malformed (a table that does not fit
// the file, as parseArchiveTable tells);
// the table is then empty. The path is remembered either way, so that close()
// deletes the file. On a reader that is already open, closes it first.
int open(const char *path);

// Entries are found by name through an index made by open(), not by reading
// the table through.
//
// Extracts the first entry named exactly name (byte for byte, case-sensitive)
// into a new temporary file and copies that file's path, with its NUL, into
// outPath (RESOURCE_PATH_SIZE bytes). The caller owns and deletes the file.
// A missing entry, or a file that could not be written in full, gives an
// empty string in outPath and leaves no file behind.
void extractEntry(const char *name, char *outPath);

// Reads the first entry named exactly name into bytes, in memory, without a
// temporary file. False, with bytes empty, when there is no such entry or it
// cannot be read in full.
bool readEntry(const char *name, std::vector<unsigned char> &bytes);

// Whether the table has an entry named exactly name.
bool hasEntry(const char *name);

// Frees the table, closes the archive and deletes the file given to open().
// Safe after a failed open() and when nothing was opened.
void close();

// The table, in archive order, for listing; valid until close().
uint32_t entryCount();
const ResourceArchiveEntry &entry(uint32_t index);  // index < entryCount()

}  // namespace ResourceArchive
