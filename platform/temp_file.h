#pragma once
// Temporary files that nothing can leave behind. Each is made without a name
// in the temporary folder (or, where its filesystem cannot do that, named and
// unlinked at once) and is held by a descriptor of this process: the kernel
// frees it when the process ends, however it ends (a kill or a crash
// included). Any thread: the list of the files made is kept under a lock.
#include <cstdio>
#include <string>

// Creates a new, empty file (mode 0600) in $TMPDIR, else /tmp, and returns the
// path that stands for it in this process, "/proc/self/fd/N", until
// removeTempFile. openTempFile reaches the file by it without /proc; where
// /proc is mounted, any open call does (the libraries', the tests'). An empty
// string when the folder is missing, unwritable or full.
std::string createTempFile();

// Opens a file made by createTempFile as a stream in mode ("rb", "wb",
// "w+b", ...), at its start; a "w" mode empties it. Streams of one file share
// one read and write position: one at a time. Any other path is opened as
// std::fopen opens it. Null on failure; the caller closes the stream.
std::FILE *openTempFile(const std::string &path, const char *mode);

// Deletes a file made by createTempFile (its space is freed once nothing has
// it open); any other path is removed from its folder, as std::remove does.
// True when something was deleted.
bool removeTempFile(const std::string &path);

// The folder createTempFile makes its files in: $TMPDIR, else /tmp.
std::string tempDirectory();
