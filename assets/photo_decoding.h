#pragma once
// The photograph file loader's two decodings (photo_file.h) and what they
// share: the open file, the decompression-bomb rule, and the square's Image.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "assets/photo_file.h"
#include "assets/photo_scaling.h"

// An open photograph file, read from its start, and the square it goes into.
struct PhotoSource {
    FILE *file = nullptr;
    uint64_t fileBytes = 0;   // the file's size
    uint32_t side = 0;
    PhotoFit fit = PhotoFit::Inside;
};

// The most pixels a photograph may claim: PHOTO_PIXEL_BUDGET.perByte for each
// byte of its file beyond freePixels, and never above maxPixels or a side
// above maxSide. A real photograph needs far more bytes than that: a JPEG's
// every 8 x 8 block costs at least a bit or two even when flat (24 Mpx: 40 KB
// and more), and deflate packs a flat PNG screenshot at most about 1000 to 1
// (8-bit colour: under 400 pixels a byte). A file of 139 bytes that claims
// 16384 x 16384 is refused before anything is decoded.
constexpr struct {
    uint64_t perByte = 4096;          // pixels per byte of file
    uint64_t freePixels = 16 << 20;   // pixels any file may have (16 Mpx: 4096 x 4096)
    uint64_t maxPixels = 256 << 20;   // 16384 x 16384
    uint64_t maxSide = 65535;         // the longest side, in pixels
    uint64_t wholeBytes = 256 << 20;  // memory for a picture decoded whole: an interlaced PNG's
                                      // rows, a progressive JPEG's coefficients (24 Mpx: 72 MB)
} PHOTO_PIXEL_BUDGET;

// Null when a width x height picture in a file of fileBytes bytes is within
// PHOTO_PIXEL_BUDGET; else the refusal's few words.
const char *photoSizeRefusal(uint64_t width, uint64_t height, uint64_t fileBytes);

// What a decoding keeps outside the function that the library's errors jump
// back to, so that a jump leaves nothing undestroyed.
struct PhotoWork {
    std::optional<PhotoScaler> scaler;   // made once the picture's size is known
    std::string refusal;                 // why the file is refused; empty when it is corrupt or cut
};

// Makes work.scaler (PhotoScaler's arguments); false, with work.refusal
// set, when the allocator refuses its memory. Throws nothing, so a decoding
// can call it between its setjmp and the library's jumps.
bool startScaler(PhotoWork &work, uint32_t width, uint32_t height, const PhotoPlacement &placement,
                 int orientation, uint32_t side) noexcept;

// The Image of work's square (opaque R G B A) when the decoding ended
// (decoded) with every row the square needs; else null with failure set.
Image *photoResult(bool decoded, PhotoWork &work, std::string &failure);

// Words of the refusals that more than one decoding gives.
constexpr const char *PHOTO_CORRUPT = "corrupt or cut short";
constexpr const char *PHOTO_NO_MEMORY = "not enough memory";

// The JPEG or PNG file's square, or null with failure set (photo_file.h).
Image *decodePhotoJpeg(const PhotoSource &source, std::string &failure);
Image *decodePhotoPng(const PhotoSource &source, std::string &failure);
