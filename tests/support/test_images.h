#pragma once
// Images and archives made in memory for tests: PNG and JPEG files encoded
// from plain pixel buffers, and packed archives of named files.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A PNG file (colour type 6, 8 bits) of width x height RGBA pixels given
// top row first, as an image file stores them.
Bytes encodePng(int width, int height, const Bytes &rgbaTopFirst);

// A progressive JPEG (3 components, quality 95) of RGB pixels, top row first.
Bytes encodeJpeg(int width, int height, const Bytes &rgbTopFirst);

// A baseline JPEG of `components` samples a pixel in colourSpace (a libjpeg
// J_COLOR_SPACE: JCS_GRAYSCALE, JCS_RGB, JCS_CMYK ...), every row the same
// `row` (width x components samples), default quality.
Bytes encodeJpegRows(int width, int height, int components, int colourSpace, const Bytes &row);

// A baseline JPEG (quality 95) of width x height pixels, each pixel's
// `components` samples in givenSpace written by pixel(x, y, samples), y = 0
// at the top; the file keeps them in storedSpace (JCS_YCbCr, JCS_YCCK ...);
// app1, if any, is its APP1 segment (an Exif segment, say).
Bytes encodeJpegPixels(int width, int height, int components, int givenSpace, int storedSpace,
                       const std::function<void(int, int, uint8_t *)> &pixel, const Bytes &app1 = {});

// An archive of the given entries, in the given order.
Bytes packArchive(const std::vector<std::pair<std::string, Bytes>> &entries);

// Has the asset store load the named image at once (requested for the first
// frame and waited for) and returns its id, as the store issued it.
int loadTextureNow(const std::string &fileName);

// Makes findResource("REZ", 102) answer with archive for the life of this
// object, and destroys the asset store on the way in and out so each test
// starts from a fresh one.
class ScopedArchive {
public:
    explicit ScopedArchive(Bytes archive);
    ~ScopedArchive();
    ScopedArchive(const ScopedArchive &) = delete;
    ScopedArchive &operator=(const ScopedArchive &) = delete;

private:
    Bytes bytes;
};
