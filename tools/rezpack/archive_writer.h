#pragma once
// Making the asset archive (the format of assets/archive_format.h) from a
// set of files.
#include <string>
#include <vector>

// Packs the regular files into archive, each under its base name (the part
// after the last '/'), in case-insensitive alphabetical order of name. An
// empty list gives an archive with no entries. Returns an empty string on
// success, else one line saying what failed (an unreadable file, a folder or
// device, a name above 255 bytes, two files with the same name, an archive
// above 4 GiB); archive is then not to be used.
std::string packArchive(const std::vector<std::string> &files, std::string &archive);
