#include "scroller/charset_text.h"

#include <GL/gl.h>  // binding the charset

#include <cmath>

#include "assets/asset_store.h"

static CharsetState charset;

const CharsetState &charsetState() { return charset; }

void useCharsetTexture(int textureId) { charset.charsetTextureId = textureId; }

void resetCharset() {
    delete charset.glyphTexCoords;
    charset = CharsetState{};
}

// Cell 36, the plus sign, stands for every byte without a glyph of its own.
static const int FALLBACK_CELL = 36;

int charsetCell(uint8_t byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 'a';
    if (byte >= '1' && byte <= '9') return 26 + (byte - '1');
    switch (byte) {
        case '0': return 35;
        case '*': return 37;
        case '#': return 38;
        case '\'': return 39;
        case '-': return 40;
        case '_': return 41;
        case '.': return 42;
        case ':': return 43;
        case ',': return 44;
        case ';': return 45;
        case '@': return 46;
        case '<': return 47;
        case '>': return 48;
        case '!': return 49;
        case '$': return 51;
        case '%': return 52;
        case '/': return 54;
        case '(': return 55;
        case ')': return 56;
        case '=': return 57;
        case '?': return 58;
        case 'S': return 59;   // sharp s
        case 'A': return 60;   // a with umlaut
        case 'O': return 61;   // o with umlaut
        case 'U': return 62;   // u with umlaut
        case '"': return 63;
        default: return FALLBACK_CELL;
    }
}

void charsetTexCoords(int cell) {
    const int row = cell / 14, column = cell % 14;
    const double s0 = column * 0.0703125;                  // 18 / 256
    const double s1 = s0 + 0.0703125 - 0.003;
    const double t0 = 1 - (row + 1) * 0.0625 + 0.003;      // 16 / 256
    const double t1 = 1 - (row + 1) * 0.0625 + 0.0625 - 0.003;
    if (!charset.glyphTexCoords) charset.glyphTexCoords = new GlyphTexCoords{};   // kept until a reset
    charset.glyphTexCoords->corner[0] = {float(s0), float(t0)};
    charset.glyphTexCoords->corner[1] = {float(s0), float(t1)};
    charset.glyphTexCoords->corner[2] = {float(s1), float(t1)};
    charset.glyphTexCoords->corner[3] = {float(s1), float(t0)};
}

void drawGlyphQuad(Vec2 position, Vec2 size) {
    // The cell is a rectangle: its lower-left and upper-right corners give the other two.
    const Vec2 *corner = charset.glyphTexCoords->corner;
    drawTexturedQuad(position, size, corner[0], corner[2]);
}

void drawCharsetText(const char *text, uint32_t length, float glyphWidth, float glyphHeight, float x, float y) {
    const Texture *charsetImage = AssetStore::instance()->texture(charset.charsetTextureId);
    if (!charsetImage) return;   // without its charset the line shows nothing, not blank boxes
    glBindTexture(GL_TEXTURE_2D, charsetImage->glName);
    const float advance = glyphWidth + glyphWidth * 0.08f;

    uint32_t i = 0;
    if (x < 0) {
        // Everything left of the screen is skipped in one step; each skipped
        // character counts a full advance, spaces included.
        const float skipped = std::floor(std::fabs(x) / advance);
        if (!(skipped < float(length))) return;   // the whole text lies left of the screen
        i = uint32_t(skipped);
        x = x + float(i) * advance;
    }

    for (uint32_t j = i; j < length; ++j) {
        const uint8_t ch = uint8_t(text[j]);
        if (ch == ' ') {
            x = x + glyphWidth;
            continue;
        }
        charsetTexCoords(charsetCell(ch));
        drawGlyphQuad({x, y}, {glyphWidth, glyphHeight});
        x = x + advance;
        if (x > 1) break;
    }
}
