#pragma once
// PNG and JPEG decoding of extracted asset files into Textures.
//
// Both loaders decode the whole image into one buffer, one byte per channel,
// rows bottom-up (the first row is the picture's bottom row), and hand it to
// makeTexture, which pads and uploads it: the current GL context must exist.
// The decode functions do the same without the upload, on any thread.
// A failure of any kind (no file, not the format, corrupt data, a width or
// height of 0 or above TEXTURE_MAX_SIDE) gives null; nothing ends the process.
// The libraries' own messages go to the standard error stream.
#include "assets/texture.h"

// A new Texture (the caller owns it) from the PNG file at path, or null.
// Palette and grey become RGB; the result has alpha (hasAlpha 1, R G B A)
// exactly when the source has an alpha channel or a transparency chunk;
// 16-bit channels keep their high byte.
Texture *loadPng(const char *path);

// A new Texture (the caller owns it) from the JPEG file at path, or null.
// Colour and grey JPEGs give R G B (hasAlpha 0); other component counts
// (CMYK) and files that end before their image data is complete give null.
Texture *loadJpeg(const char *path);

// How decodeJpeg lays a picture out: R G B (hasAlpha 0), or R G B A with
// every alpha 255 (hasAlpha 1): the layout llvmpipe keeps any 8-bit colour
// texture in, so uploading it is a plain copy, and sampling it gives the
// same colours, with alpha 1, as R G B does.
enum class JpegLayout { Rgb, OpaqueRgba };

// loadPng and loadJpeg without the upload: the Texture's glName is 0. Any
// thread; each call has the libraries' state to itself. A JPEG's Texture
// is opaque; a PNG's is when every alpha is 255 (or it has none).
Texture *decodePng(const char *path);
Texture *decodeJpeg(const char *path, JpegLayout layout = JpegLayout::Rgb);

// The same from size bytes of an encoded file in memory (not taken over).
Texture *decodePngBytes(const uint8_t *data, size_t size);
Texture *decodeJpegBytes(const uint8_t *data, size_t size, JpegLayout layout);

// Uploads a decoded texture (null stays null) and returns it. GL thread.
Texture *uploadDecoded(Texture *texture);
