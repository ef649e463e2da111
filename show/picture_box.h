#pragma once
// Where a picture of one shape goes on a screen of another, when its shape
// is kept: the largest box of the picture's shape that fits, centred, with
// bars on the two sides that are left over (a letterbox above and below, or
// a pillarbox left and right).
#include <cstdint>

struct PictureBox {
    int32_t x = 0, y = 0;            // bottom-left corner, pixels from the screen's bottom-left
    int32_t width = 0, height = 0;   // pixels
};

// The largest box of shape shapeWidth : shapeHeight inside a screen of
// width x height pixels, centred: the whole screen when the shapes agree.
// Sizes are rounded to the nearest pixel; an odd pixel left over goes to
// the bar on the right or at the top. All arguments above 0.
PictureBox fitPicture(int32_t width, int32_t height, int32_t shapeWidth, int32_t shapeHeight);
