// Texture records: padding to powers of two and upload to OpenGL.
#include "assets/texture.h"

#include "assets/image_decoding.h"

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

Texture *makeTexture(uint32_t width, uint32_t height, Texture *texture, int alphaFlag,
                     std::unique_ptr<uint8_t[]> buffer) {
    prepareTexture(width, height, texture, alphaFlag, std::move(buffer));
    texture->glName = uploadTexture(texture);
    return texture;
}

Texture *newPreparedTexture(uint32_t width, uint32_t height, int alphaFlag, std::unique_ptr<uint8_t[]> buffer) {
    std::unique_ptr<Texture> texture(new (std::nothrow) Texture);
    if (!texture) return nullptr;
    try {
        prepareTexture(width, height, texture.get(), alphaFlag, std::move(buffer));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    return texture.release();
}

Texture *prepareTexture(uint32_t width, uint32_t height, Texture *texture, int alphaFlag,
                        std::unique_ptr<uint8_t[]> buffer) {
    texture->hasAlpha = alphaFlag;
    texture->opaque = !alphaFlag;
    texture->clearMiddle = {};
    texture->imageWidth = width;
    texture->imageHeight = height;
    texture->pixelatedLevels.clear();
    const size_t bytesPerPixel = alphaFlag ? 4 : 3;

    if (isPowerOfTwo(width) && isPowerOfTwo(height)) {
        texture->textureWidth = width;
        texture->textureHeight = height;
        texture->pixels = std::move(buffer);
    } else {
        // The image goes to the lower-left corner; the rest stays zero.
        texture->textureWidth = nextPowerOfTwo(width);
        texture->textureHeight = nextPowerOfTwo(height);
        const size_t rowBytes = width * bytesPerPixel;
        const size_t paddedRowBytes = texture->textureWidth * bytesPerPixel;
        std::unique_ptr<uint8_t[]> padded(new uint8_t[paddedRowBytes * texture->textureHeight]());
        for (size_t row = 0; row < height; ++row) {
            std::memcpy(&padded[row * paddedRowBytes], &buffer[row * rowBytes], rowBytes);
        }
        texture->pixels = std::move(padded);
    }
    texture->shown = {0, 0, texture->textureWidth, texture->textureHeight};
    return texture;
}

// Creates and fills one GL texture; the shared steps of both uploads.
static GLuint createGlTexture(int hasAlpha, uint32_t width, uint32_t height, const uint8_t *texels,
                              GLint filter) {
    const GLenum format = hasAlpha ? GL_RGBA : GL_RGB;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows are packed without padding
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(width), GLsizei(height), 0, format,
                 GL_UNSIGNED_BYTE, texels);
    return name;
}

Texture *uploadDecoded(Texture *texture) {
    if (texture) texture->glName = uploadTexture(texture);
    return texture;
}

GLuint uploadTexture(Texture *texture) {
    return createGlTexture(texture->hasAlpha, texture->textureWidth, texture->textureHeight,
                           texture->pixels.get(), GL_LINEAR);
}

GLuint uploadPixelatedTexture(Texture *texture, uint32_t width, uint32_t height,
                              const uint8_t *buffer) {
    return createGlTexture(texture->hasAlpha, width, height, buffer, GL_NEAREST);
}
