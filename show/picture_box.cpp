#include "show/picture_box.h"

PictureBox fitPicture(int32_t width, int32_t height, int32_t shapeWidth, int32_t shapeHeight) {
    PictureBox box{0, 0, width, height};
    // In 64 bits: 7680 x 4320 screens times any shape's sides.
    const int64_t across = int64_t(height) * shapeWidth, down = int64_t(width) * shapeHeight;
    if (across < down) {
        box.width = int32_t((2 * across + shapeHeight) / (2 * shapeHeight));   // rounded
        box.x = (width - box.width) / 2;
    } else if (down < across) {
        box.height = int32_t((2 * down + shapeWidth) / (2 * shapeWidth));
        box.y = (height - box.height) / 2;
    }
    return box;
}
