#pragma once
// One line of text in the bitmap charset: "charset.png", 256 x 256 RGBA
// with 64 glyphs in cells of 18 x 16 pixels, 14 to a row from the top left.
// Made for a line moving leftwards: characters left of the screen are skipped
// in one step, and drawing stops at the first glyph past the right edge, so a
// call costs what fits on the screen, whatever the text's length.
// Draws with the colour and blending that are current; main thread only.
#include <cstdint>

#include "scene/virtual_screen.h"

// Texture coordinates of one glyph: lower-left, upper-left, upper-right,
// lower-right.
struct GlyphTexCoords {
    Vec2 corner[4];
};

// The renderer's state, one record for the module (kept in it), with its start values.
struct CharsetState {
    int charsetTextureId = 0;                  // "charset.png", as useCharsetTexture gave it
    GlyphTexCoords *glyphTexCoords = nullptr;  // made by the first glyph's coordinates; rewritten per glyph
};

// The renderer's state as it stands.
const CharsetState &charsetState();

// The texture the charset is drawn from: the asset id of "charset.png" (the
// scroller layer's init requests it).
void useCharsetTexture(int textureId);

// Puts the renderer back to its start values: no charset, and the glyph
// record (if one was made) deleted, to be made again by the next drawing.
void resetCharset();

// The cell of a byte: a..z 0..25, 1..9 26..34, 0 35, the punctuation of the
// table, capital S A O U as sharp s and a, o, u with umlaut (59..62), the
// double quote 63; every other byte the plus sign's cell 36. Pure.
int charsetCell(uint8_t byte);

// Writes cell's corners into the state's glyphTexCoords (made if there are
// none yet): the cell's left edge, its right, top and bottom edges pulled in
// by 0.003 so linear filtering stays inside it.
void charsetTexCoords(int cell);

// One textured quad at position with size (GL units) over the cell in
// the state's glyphTexCoords. The charset must be bound.
void drawGlyphQuad(Vec2 position, Vec2 size);

// Draws length bytes of text as one line: glyphs of glyphWidth x glyphHeight,
// the first character's left edge at x, all bottoms at y (GL units). A printed
// character advances 1.08 glyph widths, a space one glyph width; characters
// skipped left of the screen count the full advance, spaces included.
void drawCharsetText(const char *text, uint32_t length, float glyphWidth, float glyphHeight, float x, float y);
