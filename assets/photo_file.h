#pragma once
// The viewer's own photographs (--photos), read from files on a loader
// thread: JPEG or PNG of any size, shape and colour model, turned into one
// square, opaque picture the size of the slideshow's photographs.
#include <cstdint>
#include <string>

#include "assets/image.h"

// How a photograph of another shape goes into the square.
enum class PhotoFit {
    Inside,   // the whole photograph, centred on black (the default)
    Fill,     // the square filled, the edges that stick out cut off (--crop)
};

// A new Image (the caller owns it) of exactly side x side pixels (side a
// power of two), opaque R G B A (hasAlpha 1, every alpha 255, as
// JpegLayout::OpaqueRgba), from the JPEG or PNG file at path, whatever its
// name says: scaled to fit as fit says, turned the right way up as its EXIF
// orientation says, transparency drawn over black. Null when the file cannot
// be shown; failure then says why in a few words, for a line naming the file
// ("cannot be read: No such file or directory", "not a JPEG or PNG image",
// "corrupt or cut short", "too large for its size (a decompression bomb?)"
// (PHOTO_PIXEL_BUDGET in photo_decoding.h) ...). The file is decoded a few
// rows at a time, a JPEG at the smallest DCT scale that still fills the
// square, so its memory is the square's and a few rows', whatever its size;
// an interlaced PNG alone is decoded whole.
// Any thread; each call has the libraries' state to itself; the libraries'
// own messages are not printed.
Image *loadPhotoFile(const std::string &path, uint32_t side, PhotoFit fit, std::string &failure);
