#pragma once
// Decoded images on the CPU side: pixels padded to powers of two, what their
// alpha lets show, and the texels of the block-averaged "pixelated levels"
// that the photo transition shows. Made on the loader threads (any thread,
// on an Image no other thread touches meanwhile); the GL thread turns one
// into a Texture (texture.h).
#include <cstdint>
#include <memory>
#include <vector>

// Largest image width or height accepted, in pixels; the decoders refuse
// anything wider or taller (or empty) before allocating for it.
constexpr uint32_t TEXTURE_MAX_SIDE = 16384;

// A rectangle of texels, [x0, x1) x [y0, y1), counted from the bottom-left.
struct TexelRect {
    uint32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// What an image and its texture both tell of one picture: its sizes, its
// format and where its alpha lets it show.
struct ImageShape {
    int hasAlpha = 0;            // 0: R G B, 3 bytes per pixel; 1: R G B A, 4 bytes
    // What its alpha says, for drawing no more than shows (measureTransparency):
    bool opaque = false;         // every alpha is 255 (or there is none): drawn at full opacity it covers what lies beneath
    TexelRect shown;             // holds every texel whose alpha is above 0; the whole texture unless measured
    TexelRect clearMiddle;       // alpha-0 texels around the image's middle; empty when there are none
    uint32_t textureWidth = 0;   // texels, a power of two, >= imageWidth
    uint32_t textureHeight = 0;  // texels, a power of two, >= imageHeight
    uint32_t imageWidth = 0;     // pixels of the decoded image
    uint32_t imageHeight = 0;    // pixels of the decoded image
};

// The texels of one pixelated level.
struct LevelTexels {
    bool itself = false;              // the image itself serves (block 1 of an opaque image): nothing here
    uint32_t width = 0, height = 0;   // texels
    std::vector<uint8_t> texels;      // bottom-up, the image's bytes per texel
};

// One decoded image.
struct Image : ImageShape {
    // textureWidth x textureHeight texels, rows bottom-up, no row padding; the
    // image fills the lower-left imageWidth x imageHeight, every other byte is 0.
    std::unique_ptr<uint8_t[]> pixels;
    std::vector<LevelTexels> levels;   // made by makeLevels, in the order asked for

    // The texels of one pixelated level: textureWidth / b x textureHeight / b
    // texels, each the rounded-down mean of R, G and B over its b x b block,
    // alpha 255; bottom-up, 3 or 4 bytes per texel as hasAlpha says; *width
    // and *height receive its size. Block sizes are clamped to
    // 1 .. min(textureWidth, textureHeight); a block size that does not divide
    // the texture takes whole blocks only, leaving out the strip at the right
    // and top that does not fill one. Empty, 0 x 0, without pixels.
    std::vector<uint8_t> pixelatedTexels(uint32_t blockSize, uint32_t *width, uint32_t *height);

    // Replaces levels with one level per block size, in order, as
    // pixelatedTexels makes them, except that block 1 of an opaque image is
    // the image itself (itself set, no texels): its texels are the same.
    void makeLevels(const std::vector<uint32_t> &blockSizes);

    // The per-block channel sums of the last level made, so the next, coarser
    // level is summed from them instead of from every texel again.
    std::vector<uint32_t> levelSums;  // R G B per block, rows bottom-up
    uint32_t levelSumsBlock = 0;      // block size of levelSums; 0: none
};

// A new Image (the caller owns it) from a decoded picture: width x height
// pixels, alphaFlag 0 (R G B) or 1 (R G B A), buffer bottom-up and packed,
// taken over; padded to powers of two (a power-of-two picture keeps its
// buffer without a copy). shown is the whole texture, opaque true for R G B,
// until measureTransparency. Null when padding needs memory that the
// allocator refuses. 1 <= width, height <= TEXTURE_MAX_SIDE.
Image *newImage(uint32_t width, uint32_t height, int alphaFlag, std::unique_ptr<uint8_t[]> buffer);

// Sets opaque, shown and clearMiddle from the image's pixels.
// clearMiddle is the largest rectangle of alpha-0 texels that the image's
// middle row and column span, if all of it is alpha 0 (a picture frame's
// hole); else empty.
void measureTransparency(Image &image);

// The smallest power of two not below value: 1024 -> 1024, 592 -> 1024,
// 300 -> 512, 1 -> 1. 0 and values above 2^31 give 0.
uint32_t nextPowerOfTwo(uint32_t value);
