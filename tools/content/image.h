#pragma once
// In-memory pictures: float pictures that the renderers fill (linear light or
// display colour, 0..1 and beyond), and 8-bit RGBA pictures that are written
// to files. Rows are stored top row first, as PNG and JPEG files keep them.
#include <cstdint>
#include <vector>

#include "maths.h"

// A colour with coverage, display-space components 0..1, not premultiplied.
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;
};

struct FloatImage {
    int width = 0, height = 0;   // pixels
    std::vector<Vec3> pixels;    // width x height, top row first

    FloatImage() = default;
    FloatImage(int w, int h) : width(w), height(h), pixels(size_t(w) * h) {}
    Vec3 &at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Vec3 &at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

struct RgbaImage {
    int width = 0, height = 0;     // pixels
    std::vector<uint8_t> bytes;    // R G B A per pixel, top row first

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), bytes(size_t(w) * h * 4, 0) {}
    uint8_t *at(int x, int y) { return &bytes[(size_t(y) * width + x) * 4]; }
    const uint8_t *at(int x, int y) const { return &bytes[(size_t(y) * width + x) * 4]; }
};

// A float picture of display-space RGBA: the graphics are drawn into these
// and quantised once at the end, with dithering.
struct RgbaFloatImage {
    int width = 0, height = 0;
    std::vector<Rgba> pixels;      // top row first

    RgbaFloatImage() = default;
    RgbaFloatImage(int w, int h) : width(w), height(h), pixels(size_t(w) * h) {}
    Rgba &at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgba &at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Quantises to 8 bits per channel with triangular dither of one step, so
// slow gradients show no bands. Alpha of exactly 0 or 1 stays exact.
RgbaImage quantise(const RgbaFloatImage &image, uint32_t seed);

// "over" compositing of a non-premultiplied colour onto a pixel.
Rgba over(const Rgba &top, const Rgba &bottom);

// Area-averaging reduction (or bilinear enlargement) to a new size.
RgbaImage resize(const RgbaImage &image, int width, int height);

// Copies src onto dst at (x, y), blending by src alpha; dst stays opaque
// where it was.
void blit(RgbaImage &dst, const RgbaImage &src, int x, int y);

// A separable box blur of a single channel, repeated `passes` times (three
// passes approximate a Gaussian). radius in pixels.
void blurChannel(std::vector<double> &channel, int width, int height, int radius, int passes);
