// Pixelated levels: block-averaged copies of a texture for the photo
// transition. Each block's channel sums are kept, so a coarser level whose
// block size is a multiple of the last one adds up those sums (a few per
// block) instead of reading every texel again; the integer sums are the same
// either way, so the levels are exact.
#include "assets/texture.h"

#include <algorithm>

// Above this block size a block's sum of one channel (b x b x 255) no longer
// fits 32 bits; such levels are summed from the texels in 64 bits and not kept.
static constexpr uint32_t MAX_KEPT_BLOCK = 4096;

// Adds the source cells of one row of output blocks into rowSums (R G B per
// output block). source holds cells of `stride` values each, R G B first,
// sourceWidth cells per row; every output block takes `cells` x `cells` of
// them, starting at cell row firstRow.
template <typename Cell>
static void sumBlockRow(const Cell *source, uint32_t stride, uint32_t sourceWidth,
                        uint32_t firstRow, uint32_t cells, uint32_t outWidth, uint64_t *rowSums) {
    std::fill(rowSums, rowSums + size_t(outWidth) * 3, 0);
    for (uint32_t row = firstRow; row < firstRow + cells; ++row) {
        const Cell *cell = source + size_t(row) * sourceWidth * stride;
        for (uint32_t block = 0; block < outWidth; ++block) {
            uint64_t r = 0, g = 0, b = 0;
            for (uint32_t i = 0; i < cells; ++i, cell += stride) {
                r += cell[0];
                g += cell[1];
                b += cell[2];
            }
            rowSums[block * 3 + 0] += r;
            rowSums[block * 3 + 1] += g;
            rowSums[block * 3 + 2] += b;
        }
    }
}

std::vector<uint8_t> Texture::pixelatedTexels(uint32_t blockSize, uint32_t *width,
                                              uint32_t *height) {
    const uint32_t bytesPerPixel = hasAlpha ? 4 : 3;
    const uint32_t block = std::clamp<uint32_t>(blockSize, 1, std::min(textureWidth, textureHeight));
    const uint32_t outWidth = textureWidth / block;
    const uint32_t outHeight = textureHeight / block;
    *width = outWidth;
    *height = outHeight;
    std::vector<uint8_t> out(size_t(outWidth) * outHeight * bytesPerPixel);
    if (out.empty()) return out;

    // Sum from the kept sums when they tile this block size, else from the texels.
    const bool fromSums = levelSumsBlock > 1 && block % levelSumsBlock == 0;
    const uint32_t cellSize = fromSums ? levelSumsBlock : 1;
    const uint32_t cells = block / cellSize;
    const uint32_t sourceWidth = textureWidth / cellSize;
    const bool keep = block > 1 && block <= MAX_KEPT_BLOCK;
    std::vector<uint32_t> sums(keep ? size_t(outWidth) * outHeight * 3 : 0);
    std::vector<uint64_t> rowSums(size_t(outWidth) * 3);
    const uint64_t area = uint64_t(block) * block;

    for (uint32_t y = 0; y < outHeight; ++y) {
        if (fromSums) {
            sumBlockRow(levelSums.data(), 3, sourceWidth, y * cells, cells, outWidth, rowSums.data());
        } else {
            sumBlockRow(pixels.get(), bytesPerPixel, sourceWidth, y * cells, cells, outWidth,
                        rowSums.data());
        }
        uint8_t *texel = &out[size_t(y) * outWidth * bytesPerPixel];
        for (uint32_t x = 0; x < outWidth; ++x, texel += bytesPerPixel) {
            for (int channel = 0; channel < 3; ++channel) {
                texel[channel] = uint8_t(rowSums[x * 3 + channel] / area);
            }
            if (bytesPerPixel == 4) texel[3] = 255;  // every pixelated texel is opaque
        }
        if (keep) {
            std::copy(rowSums.begin(), rowSums.end(), &sums[size_t(y) * outWidth * 3]);
        }
    }
    if (keep) {
        levelSums = std::move(sums);
        levelSumsBlock = block;
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
