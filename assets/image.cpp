// Images: padding to powers of two, and the set of levels a load asks for.
#include "assets/image.h"

#include <cstring>
#include <new>

uint32_t nextPowerOfTwo(uint32_t value) {
    value -= 1;
    value |= value >> 1;
    value |= value >> 2;
    value |= value >> 4;
    value |= value >> 8;
    value |= value >> 16;
    return value + 1;
}

static bool isPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

// Fills image from the decoded picture; throws std::bad_alloc when padding
// cannot have its memory.
static void fillImage(Image &image, uint32_t width, uint32_t height, int alphaFlag,
                      std::unique_ptr<uint8_t[]> buffer) {
    image.hasAlpha = alphaFlag;
    image.opaque = !alphaFlag;
    image.imageWidth = width;
    image.imageHeight = height;
    const size_t bytesPerPixel = alphaFlag ? 4 : 3;

    if (isPowerOfTwo(width) && isPowerOfTwo(height)) {
        image.textureWidth = width;
        image.textureHeight = height;
        image.pixels = std::move(buffer);
    } else {
        // The picture goes to the lower-left corner; the rest stays zero.
        image.textureWidth = nextPowerOfTwo(width);
        image.textureHeight = nextPowerOfTwo(height);
        const size_t rowBytes = width * bytesPerPixel;
        const size_t paddedRowBytes = image.textureWidth * bytesPerPixel;
        std::unique_ptr<uint8_t[]> padded(new uint8_t[paddedRowBytes * image.textureHeight]());
        for (size_t row = 0; row < height; ++row) {
            std::memcpy(&padded[row * paddedRowBytes], &buffer[row * rowBytes], rowBytes);
        }
        image.pixels = std::move(padded);
    }
    image.shown = {0, 0, image.textureWidth, image.textureHeight};
}

Image *newImage(uint32_t width, uint32_t height, int alphaFlag, std::unique_ptr<uint8_t[]> buffer) {
    std::unique_ptr<Image> image(new (std::nothrow) Image);
    if (!image) return nullptr;
    try {
        fillImage(*image, width, height, alphaFlag, std::move(buffer));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return image.release();
}

void Image::makeLevels(const std::vector<uint32_t> &blockSizes) {
    levels.clear();
    for (uint32_t block : blockSizes) {
        LevelTexels level;
        // Block 1 of an opaque image is the image itself: no level of its own.
        level.itself = block <= 1 && (!hasAlpha || opaque);
        if (!level.itself) level.texels = pixelatedTexels(block, &level.width, &level.height);
        levels.push_back(std::move(level));
    }
    std::vector<uint32_t>().swap(levelSums);   // read by no later level
    levelSumsBlock = 0;
}
