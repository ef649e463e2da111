#pragma once
// Writing the asset archive (the format of assets/archive_format.h) from a
// set of files.
#include <string>
#include <vector>

// Packs the files into a new archive at outPath, each under its base name
// (the part after the last '/'), in case-insensitive alphabetical order of
// name. An empty list gives an archive with no entries. Returns an empty
// string on success, else one line saying what failed (an unreadable file,
// a name above 255 bytes, two files with the same name, an archive above
// 4 GiB, a failed write); on failure no archive is left at outPath.
std::string packArchive(const std::string &outPath, const std::vector<std::string> &files);
