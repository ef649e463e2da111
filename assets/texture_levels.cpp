// Pixelated levels: block-averaged copies of a texture for the photo
// transition. Each level's per-block channel sums are kept, so the next level
// whose block size is a multiple of the last one adds up a few of those sums
// per block instead of reading every texel again. The integer sums are the
// same either way, so every level is exact.
#include "assets/texture.h"

#include <algorithm>
#include <bit>
#include <vector>

// Above this block size one channel's block sum (b x b x 255) no longer fits
// 32 bits; such levels are summed in 64 bits and not kept.
static constexpr uint32_t MAX_KEPT_BLOCK = 4096;

// Adds up cells x cells source cells into each of outWidth x outHeight block
// sums (R G B per block, rows bottom-up). A source cell is Stride values, R G B
// first; sourceWidth cells make one source row.
template <int Stride, typename Sum, typename Cell>
static void sumBlocks(const Cell *source, uint32_t sourceWidth, uint32_t cells, uint32_t outWidth,
                      uint32_t outHeight, Sum *sums) {
    const size_t sourceRow = size_t(sourceWidth) * Stride;
    for (uint32_t y = 0; y < outHeight; ++y) {
        Sum *row = sums + size_t(y) * outWidth * 3;
        const Cell *first = source + size_t(y) * cells * sourceRow;
        if (cells == 2) {
            // Every level after the first halves the one before: 2 x 2 cells a block.
            const Cell *second = first + sourceRow;
            for (uint32_t x = 0; x < outWidth; ++x, first += 2 * Stride, second += 2 * Stride) {
                for (int c = 0; c < 3; ++c) {
                    row[x * 3 + c] = Sum(first[c]) + Sum(first[Stride + c]) + Sum(second[c]) +
                                     Sum(second[Stride + c]);
                }
            }
            continue;
        }
        std::fill(row, row + size_t(outWidth) * 3, Sum(0));
        for (uint32_t r = 0; r < cells; ++r, first += sourceRow) {
            const Cell *cell = first;
            for (uint32_t x = 0; x < outWidth; ++x) {
                for (uint32_t i = 0; i < cells; ++i, cell += Stride) {
                    for (int c = 0; c < 3; ++c) row[x * 3 + c] += Sum(cell[c]);
                }
            }
        }
    }
}

// Block sums of the texture's pixels or of kept sums, by the source's layout.
template <typename Sum>
static void sumFrom(const Texture &t, bool fromKept, uint32_t cellSize, uint32_t cells,
                    uint32_t outWidth, uint32_t outHeight, Sum *sums) {
    const uint32_t sourceWidth = t.textureWidth / cellSize;
    if (fromKept) {
        sumBlocks<3>(t.levelSums.data(), sourceWidth, cells, outWidth, outHeight, sums);
    } else if (t.hasAlpha) {
        sumBlocks<4>(t.pixels.get(), sourceWidth, cells, outWidth, outHeight, sums);
    } else {
        sumBlocks<3>(t.pixels.get(), sourceWidth, cells, outWidth, outHeight, sums);
    }
}

// Each sum divided by the block's area, rounded down; alpha, if any, 255.
template <typename Sum>
static void writeMeans(const Sum *sums, size_t count, uint64_t area, int bytesPerPixel,
                       uint8_t *out) {
    const bool shifts = std::has_single_bit(area);  // block sizes are powers of two in practice
    const int shift = std::countr_zero(area);
    for (size_t i = 0; i < count; ++i, out += bytesPerPixel) {
        for (int c = 0; c < 3; ++c) {
            const Sum sum = sums[i * 3 + c];
            out[c] = uint8_t(shifts ? sum >> shift : sum / area);
        }
        if (bytesPerPixel == 4) out[3] = 255;  // every pixelated texel is opaque
    }
}

std::vector<uint8_t> Texture::pixelatedTexels(uint32_t blockSize, uint32_t *width,
                                              uint32_t *height) {
    const int bytesPerPixel = hasAlpha ? 4 : 3;
    const uint32_t block = std::clamp<uint32_t>(blockSize, 1, std::min(textureWidth, textureHeight));
    const uint32_t outWidth = textureWidth / block;
    const uint32_t outHeight = textureHeight / block;
    *width = outWidth;
    *height = outHeight;
    const size_t count = size_t(outWidth) * outHeight;
    std::vector<uint8_t> out(count * bytesPerPixel);
    if (count == 0) return out;

    // Sum from the kept sums when they tile this block size, else from the texels.
    const bool fromKept = levelSumsBlock > 1 && block % levelSumsBlock == 0;
    const uint32_t cellSize = fromKept ? levelSumsBlock : 1;
    const uint32_t cells = block / cellSize;
    const uint64_t area = uint64_t(block) * block;
    if (block <= MAX_KEPT_BLOCK) {
        std::vector<uint32_t> sums(count * 3);
        sumFrom(*this, fromKept, cellSize, cells, outWidth, outHeight, sums.data());
        writeMeans(sums.data(), count, area, bytesPerPixel, out.data());
        if (block > 1) {  // block 1's sums are the pixels themselves
            levelSums = std::move(sums);
            levelSumsBlock = block;
        }
    } else {
        std::vector<uint64_t> sums(count * 3);
        sumFrom(*this, fromKept, cellSize, cells, outWidth, outHeight, sums.data());
        writeMeans(sums.data(), count, area, bytesPerPixel, out.data());
    }
    return out;
}

void Texture::addPixelatedLevel(uint32_t blockSize) {
    uint32_t width = 0, height = 0;
    GLuint name = 0;
    if (blockSize <= 1 && !hasAlpha) {
        // Block size 1 on RGB is the texture itself: upload it without a copy.
        name = uploadPixelatedTexture(this, textureWidth, textureHeight, pixels.get());
    } else {
        std::vector<uint8_t> texels = pixelatedTexels(blockSize, &width, &height);
        name = uploadPixelatedTexture(this, width, height, texels.data());
    }
    pixelatedLevels.push_back(name);
}
