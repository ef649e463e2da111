#pragma once
// PNG and JPEG decoding of encoded images in memory (the archive's entries)
// into Images, on any thread; each call has the libraries' state to itself.
//
// Both decoders decode the whole image into one buffer, one byte per channel,
// rows bottom-up (the first row is the picture's bottom row), and pad it to
// powers of two (newImage). A failure of any kind (not the format, corrupt or
// cut data, a width or height of 0 or above TEXTURE_MAX_SIDE, memory the
// allocator refuses) gives null; nothing ends the process. The libraries' own
// messages go to the standard error stream.
#include <cstddef>
#include <cstdint>

#include "assets/image.h"

// How decodeJpegBytes lays a picture out: R G B (hasAlpha 0), or R G B A with
// every alpha 255 (hasAlpha 1): the layout llvmpipe keeps any 8-bit colour
// texture in, so uploading it is a plain copy, and sampling it gives the
// same colours, with alpha 1, as R G B does.
enum class JpegLayout { Rgb, OpaqueRgba };

// A new Image (the caller owns it) from size bytes of a PNG file (not taken
// over), or null. Palette and grey become RGB; the result has alpha
// (hasAlpha 1, R G B A) exactly when the source has an alpha channel or a
// transparency chunk; 16-bit channels keep their high byte. Its transparency
// is measured (opaque when every alpha is 255, or there is none).
Image *decodePngBytes(const uint8_t *data, size_t size);

// A new Image (the caller owns it) from size bytes of a JPEG file (not taken
// over), or null; always opaque. Colour and grey JPEGs decode; other
// component counts (CMYK) and data that end before the image is complete
// give null.
Image *decodeJpegBytes(const uint8_t *data, size_t size, JpegLayout layout);
