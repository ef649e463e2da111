// Textures: an Image's pixels and levels uploaded to OpenGL.
#include "assets/texture.h"

void uploadImage(Image &image, Texture &texture) {
    static_cast<ImageShape &>(texture) = image;
    texture.pixelatedLevels.clear();
    for (LevelTexels &level : image.levels) {
        texture.pixelatedLevels.push_back(
            level.itself ? 0 : uploadPixelatedTexture(image, level.width, level.height, level.texels.data()));
        std::vector<uint8_t>().swap(level.texels);
    }
    texture.glName = uploadTexture(image);
    image.pixels.reset();
    for (size_t i = 0; i < image.levels.size(); ++i) {
        if (image.levels[i].itself) texture.pixelatedLevels[i] = texture.glName;
    }
    image.levels.clear();
}
