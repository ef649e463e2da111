// The GL calls that make textures, shared by the full image and its levels.
#include "assets/texture.h"

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

GLuint uploadTexture(const Image &image) {
    return createGlTexture(image.hasAlpha, image.textureWidth, image.textureHeight, image.pixels.get(), GL_LINEAR);
}

GLuint uploadPixelatedTexture(const Image &image, uint32_t width, uint32_t height, const uint8_t *buffer) {
    return createGlTexture(image.hasAlpha, width, height, buffer, GL_NEAREST);
}

void deleteTextures(Texture &texture) {
    for (GLuint level : texture.pixelatedLevels) {
        if (level != texture.glName) glDeleteTextures(1, &level);
    }
    if (texture.glName) glDeleteTextures(1, &texture.glName);
    texture.pixelatedLevels.clear();
    texture.glName = 0;
}
