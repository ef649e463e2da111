#pragma once
// Whether bytes hold a PNG picture the show can draw, found out before the
// show starts, without a word from libpng: a user's file that is not one is
// refused with one line of the program's own.
#include <cstddef>
#include <cstdint>
#include <string>

// Why the size bytes at data are no PNG the decoder takes ("not a PNG
// file", "cut short", a size beyond TEXTURE_MAX_SIDE, ...); empty when
// they decode whole. Reads every row, holding one at a time. Any thread.
std::string pngBytesFault(const uint8_t *data, size_t size);
