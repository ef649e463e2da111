#pragma once
// Images as OpenGL 1.x textures: the GL side of a decoded Image (image.h).
// Everything here needs the current GL context and runs on the thread that
// owns it.
#include <GL/gl.h>  // GLuint texture names

#include <cstdint>
#include <vector>

#include "assets/image.h"

// One image on the GPU, with its pixelated levels. Owned by the asset store;
// released only when asked (the viewer's own photographs come and go).
struct Texture : ImageShape {
    std::vector<GLuint> pixelatedLevels;  // GL names, in the order of the image's levels
    GLuint glName = 0;                    // the full texture, linear filtering
};

// Makes texture the GL side of image: its shape, its full texture and a
// pixelated level for each of the image's levels (nearest filtering; a level
// that is the image itself is glName). Uploads the levels first, freeing each
// one's texels once it is up, then the pixels, and frees those too: the least
// memory held at once. The image keeps its shape and nothing else. texture
// is a fresh record made beforehand, with room reserved in pixelatedLevels
// for the image's levels, so that an upload between frames allocates nothing.
void uploadImage(Image &image, Texture &texture);

// Deletes texture's GL textures (its levels and itself) and clears their names.
void deleteTextures(Texture &texture);

// Creates the GL texture of image.pixels (linear filtering, repeat) and
// returns its name. Leaves it bound and the unpack alignment at 1.
GLuint uploadTexture(const Image &image);

// Creates a GL texture of width x height texels from buffer, in image's
// pixel format, with nearest filtering, and returns its name. Leaves it bound.
GLuint uploadPixelatedTexture(const Image &image, uint32_t width, uint32_t height, const uint8_t *buffer);
