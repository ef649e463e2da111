#pragma once
// How a photograph's decoded rows become the slideshow's square: where the
// picture goes (photoPlacement), and a scaler that takes the rows one at a
// time, top first, so a photograph never has to be held whole. Used by the
// photograph file loader's decodings; any thread, each scaler its own.
#include <cstdint>
#include <memory>
#include <vector>

#include "assets/photo_file.h"

// Where a stored width x height picture goes in a side x side square, in the
// stored picture's axes (before its orientation turns it).
struct PhotoPlacement {
    uint32_t width = 0, height = 0;   // pixels the picture is scaled to, 1 .. side
    double shownX = 1, shownY = 1;    // fraction of the stored width and height shown, centred (below 1 where Fill cuts)
};

// orientation: EXIF's 1 .. 8 (exif_orientation.h); 5 .. 8 swap the sides.
// Inside scales the turned picture to fit the square, Fill to cover it.
PhotoPlacement photoPlacement(uint32_t width, uint32_t height, int orientation, uint32_t side, PhotoFit fit);

class PhotoScaler {
public:
    // For a stored width x height picture (the size it is decoded at, which
    // may be a scaled-down decoding of the file's), placed as placement says
    // (made for the file's size: only its fractions and sizes count here).
    // An area filter (each output pixel the mean of the source area it
    // covers) where the picture shrinks, linear interpolation where it grows.
    PhotoScaler(uint32_t width, uint32_t height, const PhotoPlacement &placement, int orientation, uint32_t side);

    // Whether the square could be had from the allocator; if not, nothing
    // else may be called.
    bool ready() const { return square != nullptr; }
    // The next stored row, top first: width R G B pixels.
    void addRow(const uint8_t *rgb);
    uint32_t side() const { return squareSide; }   // the square's, in pixels
    // Whether every row has come that the square needs.
    bool complete() const { return nextOut == outY.length(); }
    // The square (side x side R G B A, alpha 255, rows bottom-up, black
    // around the picture); once, when complete.
    std::unique_ptr<uint8_t[]> takeSquare() { return std::move(square); }

private:
    // One axis of the filter: output pixel i is the weighted sum of source
    // pixels first[i] .. first[i] + taps[i] - 1, their weights from offset[i].
    struct Axis {
        std::vector<uint32_t> first, taps, offset;
        std::vector<float> weights;
        uint32_t length() const { return uint32_t(first.size()); }
        uint32_t last(uint32_t i) const { return first[i] + taps[i] - 1; }
    };
    static Axis makeAxis(uint32_t sourceLength, double shown, uint32_t outLength);
    void emitRow(uint32_t j);

    Axis outX, outY;
    uint32_t squareSide;
    int orientation;
    uint32_t nextSource = 0;                // the next stored row to come
    uint32_t nextOut = 0;                   // the next output row to finish
    std::vector<std::vector<float>> ring;   // filtered rows by source row modulo its size
    std::unique_ptr<uint8_t[]> square;
};
