#pragma once
// Drawing a picture with no more work than changes pixels. Under the
// source-alpha blending the layers draw with (on from the second frame: the
// logo layer switches it on), a texel of alpha 0 leaves the pixel beneath as
// it was, and an opaque picture at full opacity replaces it whatever it was.
// So an opaque picture is drawn with blending off, a transparent one only
// where its texels can show (Texture::shown, less its clearMiddle), and what
// a later opaque picture covers may be left out: the same pixels come out.
// Parts are cut with the scissor test in whole pixels of the picture (the
// viewport's), with a margin of a texel and a pixel for linear filtering and
// rounding. Needs the current GL context, the colour at alpha 1 and the
// texture bound; leaves the scissor test off and blending as it found it.
#include <cstdint>

#include "assets/texture.h"
#include "scene/virtual_screen.h"

// A rectangle of window pixels, [x0, x1) x [y0, y1), from the bottom-left.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

// Whether the buffer drawn into counts its rows from the top (an upper-left
// clip origin, as a full-screen frame scaled by the program is drawn): the
// picture then lies upside down in it, and a scissor box must be mirrored.
bool rowsRunFromTheTop();

// The window pixels a pixel or more inside the virtual rectangle from
// (x, y), width x height virtual pixels: surely within a quad drawn over it.
PixelRect pixelsInside(uint32_t x, uint32_t y, uint32_t width, uint32_t height);

// drawTexturedQuad for picture (bound) at alpha 1, leaving out what cannot
// change a pixel, and the pixels of covered (which a later opaque picture
// replaces in this frame).
void drawPicture(const Texture &picture, Vec2 position, Vec2 size, Vec2 texMin, Vec2 texMax,
                 PixelRect covered = {});

// drawQuad for a picture of alpha 255 throughout (a pixelated level, an
// opaque texture) at alpha 1: with blending off meanwhile.
void drawOpaqueQuad(Vec2 position, Vec2 size);
