#pragma once
// Image assets as OpenGL 1.x textures: power-of-two padding, upload, and the
// block-averaged "pixelated levels" that the photo transition shows.
//
// The functions that make GL objects (makeTexture, the uploads and
// addPixelatedLevel) need the current GL context and run on the thread that
// owns it; the others (prepareTexture, pixelatedTexels, nextPowerOfTwo) run
// on any thread, on a Texture no other thread touches meanwhile.
#include <GL/gl.h>  // GLuint texture names

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

// One loaded image. Filled once by makeTexture; afterwards only
// addPixelatedLevel changes it. Owned by the asset store and never released.
struct Texture {
    int hasAlpha = 0;            // 0: R G B, 3 bytes per pixel; 1: R G B A, 4 bytes
    // What its alpha says, for drawing no more than shows (measureTransparency):
    bool opaque = false;         // every alpha is 255 (or there is none): drawn at full opacity it covers what lies beneath
    TexelRect shown;             // holds every texel whose alpha is above 0; the whole texture unless measured
    TexelRect clearMiddle;       // alpha-0 texels around the image's middle; empty when there are none
    uint32_t textureWidth = 0;   // texels, a power of two, >= imageWidth
    uint32_t textureHeight = 0;  // texels, a power of two, >= imageHeight
    uint32_t imageWidth = 0;     // pixels of the decoded image
    uint32_t imageHeight = 0;    // pixels of the decoded image
    // textureWidth x textureHeight texels, rows bottom-up, no row padding; the
    // image fills the lower-left imageWidth x imageHeight, every other byte is 0.
    // makeTexture keeps them after upload, for pixelated levels made later;
    // the asset store's background loads make the levels first and then
    // release them (null), as nothing reads them afterwards.
    std::unique_ptr<uint8_t[]> pixels;
    std::vector<GLuint> pixelatedLevels;  // GL names, in the order they were made
    GLuint glName = 0;                    // the full texture, linear filtering

    // Appends one pixelated level: textureWidth / b x textureHeight / b texels,
    // each the rounded-down mean of R, G and B over its b x b block, alpha 255,
    // uploaded with nearest filtering. Block sizes are clamped to
    // 1 .. min(textureWidth, textureHeight); a block size that does not divide
    // the texture takes whole blocks only, leaving out the strip at the right
    // and top that does not fill one. Always appends exactly one level: 0
    // (no texture) when the pixels have been released.
    void addPixelatedLevel(uint32_t blockSize);

    // The texels addPixelatedLevel(blockSize) uploads, without GL: bottom-up,
    // 3 or 4 bytes per texel as hasAlpha says; *width and *height receive its
    // size. Empty, 0 x 0, once the pixels have been released.
    std::vector<uint8_t> pixelatedTexels(uint32_t blockSize, uint32_t *width, uint32_t *height);

    // The per-block channel sums of the last level made, so the next, coarser
    // level is summed from them instead of from every texel again.
    std::vector<uint32_t> levelSums;  // R G B per block, rows bottom-up
    uint32_t levelSumsBlock = 0;      // block size of levelSums; 0: none
};

// Fills the newly allocated texture from a decoded image (width x height
// pixels, alphaFlag 0 or 1, buffer bottom-up and packed, taken over), pads it
// to powers of two, uploads it and returns the same texture. A power-of-two
// image keeps its buffer without a copy. 1 <= width, height <= TEXTURE_MAX_SIDE.
Texture *makeTexture(uint32_t width, uint32_t height, Texture *texture, int alphaFlag,
                     std::unique_ptr<uint8_t[]> buffer);

// Sets opaque, shown and clearMiddle from the texture's pixels (any thread).
// clearMiddle is the largest rectangle of alpha-0 texels that the image's
// middle row and column span, if all of it is alpha 0 (a picture frame's
// hole); else empty.
void measureTransparency(Texture &texture);

// makeTexture without the upload (glName stays 0): any thread. shown is the
// whole texture, opaque true for R G B, until measureTransparency.
Texture *prepareTexture(uint32_t width, uint32_t height, Texture *texture, int alphaFlag,
                        std::unique_ptr<uint8_t[]> buffer);

// A new Texture (the caller owns it) prepared from a decoded image, or null
// when padding needs memory that the allocator refuses. Any thread.
Texture *newPreparedTexture(uint32_t width, uint32_t height, int alphaFlag, std::unique_ptr<uint8_t[]> buffer);

// Creates the GL texture of texture->pixels (linear filtering, repeat) and
// returns its name. Leaves it bound and the unpack alignment at 1.
GLuint uploadTexture(Texture *texture);

// Creates a GL texture of width x height texels from buffer, in texture's
// pixel format, with nearest filtering, and returns its name. Leaves it bound.
GLuint uploadPixelatedTexture(Texture *texture, uint32_t width, uint32_t height,
                              const uint8_t *buffer);

// The smallest power of two not below value: 1024 -> 1024, 592 -> 1024,
// 300 -> 512, 1 -> 1. 0 and values above 2^31 give 0.
uint32_t nextPowerOfTwo(uint32_t value);
