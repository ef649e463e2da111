#pragma once
// Temporary files: fresh names nobody else can take.
// The caller owns the file and deletes it (std::remove).
#include <string>

// Creates a new, empty file with mode 0600 in $TMPDIR (else /tmp), atomically
// (mkstemp), and returns its path; an empty string when none could be made.
std::string createTempFile();

// The folder createTempFile makes its files in: $TMPDIR, else /tmp.
std::string tempDirectory();
