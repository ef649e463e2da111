#pragma once
// Temporary files that nothing can leave behind. Each is made without a name
// in the temporary folder and reached through a path of this process's own
// (/proc/self/fd/N): the libraries open it by that path like any file, and
// the kernel frees it when the process ends, however it ends (a kill or a
// crash included). Any thread: the list of the files made is kept under a lock.
#include <string>

// Creates a new, empty file (mode 0600) in $TMPDIR, else /tmp, and returns the
// path that reaches it; valid in this process only, until removeTempFile. An
// empty string when the folder is missing, unwritable or full. Where the
// folder's filesystem cannot make nameless files, a named one is made and
// unlinked at once; where /proc is missing, the named file is kept and its
// own path returned.
std::string createTempFile();

// Deletes a file made by createTempFile (its space is freed once nothing has
// it open); any other path is removed from its folder, as std::remove does.
// True when something was deleted.
bool removeTempFile(const std::string &path);

// The folder createTempFile makes its files in: $TMPDIR, else /tmp.
std::string tempDirectory();
