// The charset: 64 glyphs in 18 x 16-pixel cells, 14 to a row from the top
// left, in the order the text renderer maps bytes to cells. Gold gradient
// letters with a dark outline, so they read over stars and photographs.
#include <cstdio>
#include <string>

#include "font.h"
#include "graphics.h"

namespace {

const int CELL_W = 18, CELL_H = 16, PER_ROW = 14;

// Cell by cell: the character drawn there ("" leaves the cell empty).
const char *const CELLS[64] = {
    "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n",
    "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z", "1", "2",
    "3", "4", "5", "6", "7", "8", "9", "0", "+", "*", "#", "'", "-", "_",
    ".", ":", ",", ";", "@", "<", ">", "!", "", "$", "%", "", "/", "(",
    ")", "=", "?", "ß", "ä", "ö", "ü", "\"",
};

// Where the strokes' centre lines may go inside a cell, in pixels from the
// cell's top-left corner: the stroke (1.3) and outline (0.95) reach 2.25
// further, which keeps column 17 and rows 0 and 15 empty. The renderer
// samples the cell inset by 0.77 texel on the right, top and bottom, so
// anything there would be cut off.
const double BOX_LEFT = 2.4, BOX_RIGHT = 14.5, BOX_TOP = 3.4, BOX_BOTTOM = 12.6;
const double HALF_WIDTH = 1.3, OUTLINE = 0.95;

}   // namespace

RgbaImage charsetImage() {
    RgbaFloatImage image(256, 256);
    // Transparent texels carry the outline's colour, so linear filtering at
    // the glyphs' edges darkens instead of leaving a pale fringe.
    const Rgba outline{0.07, 0.03, 0.12, 1.0};
    for (Rgba &p : image.pixels) p = {outline.r, outline.g, outline.b, 0.0};
    for (int cell = 0; cell < 64; ++cell) {
        std::string ch = CELLS[cell];
        if (ch.empty()) continue;
        const Glyph *glyph = findGlyph(ch, LetterCase::Capitals);
        if (!glyph) continue;
        int ox = (cell % PER_ROW) * CELL_W, oy = (cell / PER_ROW) * CELL_H;
        auto transform = [](double x, double y) {
            return Vec2d{BOX_LEFT + x * (BOX_RIGHT - BOX_LEFT) / 12.0, BOX_BOTTOM - y * (BOX_BOTTOM - BOX_TOP) / 10.0};
        };
        DistanceField field(CELL_W, CELL_H, 6, 3.0);
        for (const Stroke &s : glyph->strokes) field.add(strokeSegments(s, transform, HALF_WIDTH));
        shadeField(image, field, ox, oy, [&](double, double y, double d) -> Rgba {
            if (d > OUTLINE) return {outline.r, outline.g, outline.b, 0.0};
            if (d > 0) return outline;
            // Pale gold at the top, deep orange at the foot, with a bright
            // band just above the middle like light on polished metal.
            double t = clamp01((y - (BOX_TOP - HALF_WIDTH)) / (BOX_BOTTOM - BOX_TOP + 2 * HALF_WIDTH));
            Vec3 top{1.0, 0.98, 0.82}, middle{1.0, 0.78, 0.2}, bottom{0.93, 0.33, 0.08};
            Vec3 c = t < 0.45 ? mix(top, middle, t / 0.45) : mix(middle, bottom, (t - 0.45) / 0.55);
            c = mix(c, Vec3{1, 1, 0.95}, std::exp(-std::pow((t - 0.3) / 0.08, 2.0)) * 0.5);
            return {c.x, c.y, c.z, 1.0};
        });
    }
    return quantise(image, 4);
}
