#pragma once
// Building archive bytes and reading files back, for tests of the archive
// reader, the asset store and rezpack.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/archive_format.h"

struct ArchiveFile {
    std::string name;   // stored in a 256-byte field, NUL-padded
    std::string bytes;  // the entry's data
};

// An archive of the files in the given order.
inline std::string buildArchive(const std::vector<ArchiveFile> &files) {
    std::vector<ArchivePart> parts;
    for (const ArchiveFile &file : files) parts.push_back({file.name, file.bytes});
    return archiveBytes(parts);
}

inline std::string readWholeFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeWholeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Bytes that are not text: every value 0..255, in a pattern that shifts with seed.
inline std::string binaryBytes(size_t size, unsigned seed) {
    std::string out(size, '\0');
    for (size_t i = 0; i < size; ++i) out[i] = char((i * 7 + seed * 13 + (i >> 8)) & 0xff);
    return out;
}
