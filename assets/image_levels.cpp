// Pixelated levels: block-averaged copies of an image for the photo
// transition. Each level's per-block channel sums are kept, so the next level
// whose block size is a multiple of the last one adds up a few of those sums
// per block instead of reading every texel again. The integer sums are the
// same either way, so every level is exact.
//
// Block size 2 straight from the texels is the exception: its means come from
// the texels in one pass and no sums are kept, because keeping them would take
// four bytes per channel of a quarter of the image (3 MB for a photograph),
// fresh memory that costs more to touch than reading the texels again for
// block size 4 does.
#include "assets/image.h"

#include <algorithm>
#include <bit>
#include <type_traits>
#include <vector>

// Above this block size one channel's block sum (b x b x 255) no longer fits
// 32 bits; such levels are summed in 64 bits and not kept.
static constexpr uint32_t MAX_KEPT_BLOCK = 4096;

// Column sums of rows texel rows (rowStride bytes apart), byte by byte, into
// column: at most 257 rows, so that each sum fits 16 bits. Fixed-size chunks
// let the compiler add many bytes at once.
static void addTexelRows(const uint8_t *__restrict first, size_t rowStride, uint32_t rows, size_t count,
                         uint16_t *__restrict column) {
    constexpr size_t CHUNK = 32;
    const size_t whole = count - count % CHUNK;
    for (size_t j = 0; j < whole; j += CHUNK) {
        for (size_t k = 0; k < CHUNK; ++k) column[j + k] = first[j + k];
    }
    for (size_t j = whole; j < count; ++j) column[j] = first[j];
    for (uint32_t r = 1; r < rows; ++r) {
        const uint8_t *__restrict row = first + r * rowStride;
        for (size_t j = 0; j < whole; j += CHUNK) {
            for (size_t k = 0; k < CHUNK; ++k) column[j + k] = uint16_t(column[j + k] + row[j + k]);
        }
        for (size_t j = whole; j < count; ++j) column[j] = uint16_t(column[j] + row[j]);
    }
}

// For each row y of blocks of Rows x Rows texels: adds up the block row's
// texel rows column by column (as addTexelRows) and hands the sums to
// finish(y, column), which combines Rows columns into each block.
template <int Stride, uint32_t Rows, typename Finish>
static void forEachBlockRow(const uint8_t *pixels, uint32_t textureWidth, uint32_t outWidth,
                            uint32_t outHeight, Finish finish) {
    const size_t sourceRow = size_t(textureWidth) * Stride;
    std::vector<uint16_t> column(size_t(outWidth) * Rows * Stride);
    for (uint32_t y = 0; y < outHeight; ++y) {
        addTexelRows(pixels + size_t(y) * Rows * sourceRow, sourceRow, Rows, column.size(), column.data());
        finish(y, column.data());
    }
}

// Block size 2 from the texels in one pass: each channel the mean of its
// 2 x 2 texels, rounded down (the same as its sum shifted by 2); alpha 255.
template <int Stride>
static void halveTexels(const uint8_t *pixels, uint32_t textureWidth, uint32_t outWidth,
                        uint32_t outHeight, uint8_t *out) {
    auto meansOfPairs = [&](uint32_t y, const uint16_t *pair) {
        uint8_t *texel = out + size_t(y) * outWidth * Stride;
        for (uint32_t x = 0; x < outWidth; ++x, pair += 2 * Stride, texel += Stride) {
            for (int c = 0; c < 3; ++c) texel[c] = uint8_t((pair[c] + pair[Stride + c]) >> 2);
            if constexpr (Stride == 4) texel[3] = 255;  // every pixelated texel is opaque
        }
    };
    forEachBlockRow<Stride, 2>(pixels, textureWidth, outWidth, outHeight, meansOfPairs);
}

// Block sums of size 4 from the texels, the level after block size 2 (which
// keeps no sums): four rows added byte by byte, then four texels across.
template <int Stride>
static void quarterTexelSums(const uint8_t *pixels, uint32_t textureWidth, uint32_t outWidth,
                             uint32_t outHeight, uint32_t *sums) {
    auto sumsOfFours = [&](uint32_t y, const uint16_t *four) {
        uint32_t *row = sums + size_t(y) * outWidth * 3;
        for (uint32_t x = 0; x < outWidth; ++x, four += 4 * Stride, row += 3) {
            for (int c = 0; c < 3; ++c) {
                row[c] = uint32_t(four[c]) + four[Stride + c] + four[2 * Stride + c] + four[3 * Stride + c];
            }
        }
    };
    forEachBlockRow<Stride, 4>(pixels, textureWidth, outWidth, outHeight, sumsOfFours);
}

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

// Block sums of the image's pixels or of kept sums, by the source's layout.
template <typename Sum>
static void sumFrom(const Image &t, bool fromKept, uint32_t cellSize, uint32_t cells,
                    uint32_t outWidth, uint32_t outHeight, Sum *sums) {
    const uint32_t sourceWidth = t.textureWidth / cellSize;
    if (fromKept) {
        sumBlocks<3>(t.levelSums.data(), sourceWidth, cells, outWidth, outHeight, sums);
        return;
    }
    if constexpr (std::is_same_v<Sum, uint32_t>) {
        if (cells == 4) {
            if (t.hasAlpha) quarterTexelSums<4>(t.pixels.get(), t.textureWidth, outWidth, outHeight, sums);
            else quarterTexelSums<3>(t.pixels.get(), t.textureWidth, outWidth, outHeight, sums);
            return;
        }
    }
    if (t.hasAlpha) {
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

// Fills out (outWidth x outHeight texels of the image's format) with the
// level of block size block (already clamped), keeping or dropping sums.
static void makeLevelTexels(Image &t, uint32_t block, uint32_t outWidth, uint32_t outHeight,
                            uint8_t *out) {
    const int bytesPerPixel = t.hasAlpha ? 4 : 3;
    const size_t count = size_t(outWidth) * outHeight;
    // Sum from the kept sums when they tile this block size, else from the texels.
    const bool fromKept = t.levelSumsBlock > 1 && block % t.levelSumsBlock == 0;
    if (block == 2 && !fromKept) {
        if (t.hasAlpha) halveTexels<4>(t.pixels.get(), t.textureWidth, outWidth, outHeight, out);
        else halveTexels<3>(t.pixels.get(), t.textureWidth, outWidth, outHeight, out);
        std::vector<uint32_t>().swap(t.levelSums);  // none kept (see the top of this file)
        t.levelSumsBlock = 0;
        return;
    }
    const uint32_t cellSize = fromKept ? t.levelSumsBlock : 1;
    const uint32_t cells = block / cellSize;
    const uint64_t area = uint64_t(block) * block;
    if (block <= MAX_KEPT_BLOCK) {
        std::vector<uint32_t> sums(count * 3);
        sumFrom(t, fromKept, cellSize, cells, outWidth, outHeight, sums.data());
        writeMeans(sums.data(), count, area, bytesPerPixel, out);
        if (block > 1) {  // block 1's sums are the pixels themselves
            t.levelSums = std::move(sums);
            t.levelSumsBlock = block;
        }
    } else {
        std::vector<uint64_t> sums(count * 3);
        sumFrom(t, fromKept, cellSize, cells, outWidth, outHeight, sums.data());
        writeMeans(sums.data(), count, area, bytesPerPixel, out);
    }
}

// The clamped block size and the level's size in texels.
static uint32_t levelSize(const Image &t, uint32_t blockSize, uint32_t *width, uint32_t *height) {
    const uint32_t block = std::clamp<uint32_t>(blockSize, 1, std::min(t.textureWidth, t.textureHeight));
    *width = t.textureWidth / block;
    *height = t.textureHeight / block;
    return block;
}

std::vector<uint8_t> Image::pixelatedTexels(uint32_t blockSize, uint32_t *width,
                                              uint32_t *height) {
    if (!pixels) {
        *width = *height = 0;
        return {};
    }
    const uint32_t block = levelSize(*this, blockSize, width, height);
    std::vector<uint8_t> out(size_t(*width) * *height * (hasAlpha ? 4 : 3));
    if (!out.empty()) makeLevelTexels(*this, block, *width, *height, out.data());
    return out;
}
