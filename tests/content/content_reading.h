#pragma once
// Reading the committed picture files the way the tests need them: PNG
// header facts and RGBA pixels (top row first), JPEG header facts and small
// decoded copies, the banner's BMP header. Failures come back as `ok` false.
#include <cstdint>
#include <string>
#include <vector>

// Where the committed content lives.
std::string archivePath(const std::string &name);   // resources/archive/<name>
std::string repoPath(const std::string &relative);  // <repository>/<relative>

struct PngFile {
    bool ok = false;
    uint32_t width = 0, height = 0;
    int colourType = -1;            // as stored (PNG_COLOR_TYPE_RGBA is 6)
    int bitDepth = 0;               // bits per channel as stored
    std::vector<uint8_t> rgba;      // R G B A, top row first

    const uint8_t *at(uint32_t x, uint32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
    uint8_t alpha(uint32_t x, uint32_t y) const { return at(x, y)[3]; }
};
PngFile readPngFile(const std::string &path);

struct JpegFile {
    bool ok = false;
    uint32_t width = 0, height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<uint8_t> rgb;       // decoded at 1/scale size, top row first
    uint32_t decodedWidth = 0, decodedHeight = 0;
};
// Reads the header and decodes at 1/scale of the size (scale 1, 2, 4 or 8).
JpegFile readJpegFile(const std::string &path, int scale);

// Size of a file in bytes, or -1 when it cannot be opened.
long fileSize(const std::string &path);
// The whole file, or empty when it cannot be read.
std::vector<uint8_t> fileBytes(const std::string &path);
