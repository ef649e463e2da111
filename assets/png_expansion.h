#pragma once
// What the PNG decodings in assets/ share: one way of turning any PNG's
// pixels into 8-bit R G B or R G B A rows.
#include <png.h>  // PNG decoding (libpng 1.6)

// Has libpng turn every pixel into 8-bit R G B, or R G B A where there is any
// alpha (an alpha channel or a transparency chunk), de-interlacing as rows
// are read, and returns the channel count that results: 3 or 4 from a usable
// file. 16-bit channels keep their high byte. Call after png_read_info.
int expandPngToRgb(png_structp png, png_infop info);
