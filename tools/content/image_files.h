#pragma once
// Reading and writing the picture files the presentation ships: PNG (RGBA,
// 8 bits a channel), progressive JPEG (3 components) and the 24-bit BMP of
// the settings dialog. Every writer returns false, with a message on the
// standard error stream, when the file cannot be written.
#include <cstddef>
#include <string>

#include "image.h"

bool writePng(const std::string &path, const RgbaImage &image);

// The JPEG outcome: the quality chosen and the file's size in bytes.
struct JpegResult {
    bool ok = false;
    int quality = 0;
    size_t bytes = 0;
};

// Progressive JPEG, 3 components, alpha dropped. Tries qualities from
// `quality` within minQuality..maxQuality to land between minBytes and
// maxBytes; keeps the closest when none does.
JpegResult writeJpeg(const std::string &path, const RgbaImage &image, int quality, int minQuality, int maxQuality,
                     size_t minBytes, size_t maxBytes);

// Uncompressed BMP, 24 bits per pixel, bottom row first, BITMAPINFOHEADER.
bool writeBmp24(const std::string &path, const RgbaImage &image);

// Readers for the contact sheet: an empty picture (width 0) when the file
// cannot be read. JPEGs come back opaque.
RgbaImage readPng(const std::string &path);
RgbaImage readJpeg(const std::string &path);
