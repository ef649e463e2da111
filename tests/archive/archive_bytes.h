#pragma once
// Building archive bytes and reading files back, for tests of the archive
// reader, the asset store and rezpack.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ArchiveFile {
    std::string name;   // stored in a 256-byte field, NUL-padded
    std::string bytes;  // the entry's data
};

inline void appendLittleEndian32(std::string &out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(char((value >> shift) & 0xff));
}

// An archive of the files in the given order: count, table, then the data.
inline std::string buildArchive(const std::vector<ArchiveFile> &files) {
    std::string out;
    appendLittleEndian32(out, uint32_t(files.size()));
    for (const ArchiveFile &file : files) {
        std::string field = file.name;
        field.resize(256, '\0');
        out += field;
        appendLittleEndian32(out, uint32_t(file.bytes.size()));
    }
    for (const ArchiveFile &file : files) out += file.bytes;
    return out;
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
