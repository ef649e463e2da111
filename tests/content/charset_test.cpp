// The charset: 18 x 16 cells, 14 to a row from the top left. Every cell the
// text renderer maps a byte to holds a glyph; cells 50 and 53 and everything
// past cell 63 stay empty; no glyph touches the texels the renderer's
// 0.003 inset cuts off (the right column, the top and bottom rows).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "content_reading.h"
#include "scroller/charset_text.h"

namespace {

const uint32_t CELL_W = 18, CELL_H = 16, PER_ROW = 14;

int visibleInCell(const PngFile &png, int cell) {
    uint32_t x0 = (cell % PER_ROW) * CELL_W, y0 = (cell / PER_ROW) * CELL_H;
    int n = 0;
    for (uint32_t y = y0; y < y0 + CELL_H; ++y)
        for (uint32_t x = x0; x < x0 + CELL_W; ++x) n += png.alpha(x, y) > 0;
    return n;
}

// A cell's texels, R G B A, top row first.
std::vector<uint8_t> cellTexels(const PngFile &png, int cell) {
    uint32_t x0 = (cell % PER_ROW) * CELL_W, y0 = (cell / PER_ROW) * CELL_H;
    std::vector<uint8_t> texels;
    for (uint32_t y = y0; y < y0 + CELL_H; ++y) texels.insert(texels.end(), png.at(x0, y), png.at(x0 + CELL_W, y));
    return texels;
}

// Where a cell's ink lies in rows [fromRow, toRow): the mean column and row
// of its texels with alpha, in pixels from the cell's top left.
struct Ink {
    double x = 0, y = 0;
};
Ink inkOf(const PngFile &png, int cell, uint32_t fromRow = 0, uint32_t toRow = CELL_H) {
    uint32_t x0 = (cell % PER_ROW) * CELL_W, y0 = (cell / PER_ROW) * CELL_H;
    double sumX = 0, sumY = 0;
    int n = 0;
    for (uint32_t y = fromRow; y < toRow; ++y)
        for (uint32_t x = 0; x < CELL_W; ++x) {
            if (png.alpha(x0 + x, y0 + y) == 0) continue;
            sumX += x;
            sumY += y;
            ++n;
        }
    return n ? Ink{sumX / n, sumY / n} : Ink{-1, -1};
}

class Charset : public ::testing::Test {
protected:
    void SetUp() override {
        png = readPngFile(archivePath("charset.png"));
        ASSERT_TRUE(png.ok);
        ASSERT_EQ(png.rgba.size(), 256u * 256u * 4u);
    }
    PngFile png;
};

}   // namespace

TEST_F(Charset, EveryMappedCellHoldsAGlyph) {
    for (int cell = 0; cell < 64; ++cell) {
        if (cell == 50 || cell == 53) continue;
        // Even the full stop, the smallest glyph, covers more than a dozen texels.
        EXPECT_GT(visibleInCell(png, cell), 12) << "cell " << cell;
    }
}

TEST_F(Charset, UnmappedCellsAndTheRestOfTheImageAreEmpty) {
    EXPECT_EQ(visibleInCell(png, 50), 0);
    EXPECT_EQ(visibleInCell(png, 53), 0);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x) {
            uint32_t row = y / CELL_H, column = x / CELL_W;
            bool used = x < PER_ROW * CELL_W && (row < 4 || (row == 4 && column < 8));
            if (!used) {
                ASSERT_EQ(png.alpha(x, y), 0) << "texel " << x << "," << y << " lies in no used cell";
            }
        }
}

TEST_F(Charset, GlyphsKeepOffTheEdgeTexelsTheRendererCutsOff) {
    for (int cell = 0; cell < 64; ++cell) {
        uint32_t x0 = (cell % PER_ROW) * CELL_W, y0 = (cell / PER_ROW) * CELL_H;
        for (uint32_t i = 0; i < CELL_W; ++i) {
            EXPECT_EQ(png.alpha(x0 + i, y0), 0) << "cell " << cell << " top row";
            EXPECT_EQ(png.alpha(x0 + i, y0 + CELL_H - 1), 0) << "cell " << cell << " bottom row";
        }
        for (uint32_t j = 0; j < CELL_H; ++j) {
            EXPECT_EQ(png.alpha(x0 + CELL_W - 1, y0 + j), 0) << "cell " << cell << " right column";
        }
    }
}

TEST_F(Charset, GlyphsHaveADarkOutlineAroundABrightGradient) {
    // Over all glyphs: opaque texels next to transparent ones (the outline)
    // are dark; texels deep inside are bright, brighter at the top than at
    // the foot of the cells.
    double edgeSum = 0, topSum = 0, footSum = 0;
    int edgeCount = 0, topCount = 0, footCount = 0;
    for (uint32_t y = 1; y < 80; ++y)
        for (uint32_t x = 1; x < 252; ++x) {
            if (png.alpha(x, y) < 255) continue;
            const uint8_t *p = png.at(x, y);
            double level = (p[0] + p[1] + p[2]) / 3.0;
            bool nearEdge = png.alpha(x - 1, y) == 0 || png.alpha(x + 1, y) == 0 || png.alpha(x, y - 1) == 0 ||
                            png.alpha(x, y + 1) == 0;
            if (nearEdge) {
                edgeSum += level;
                ++edgeCount;
                continue;
            }
            uint32_t inCell = y % CELL_H;
            if (inCell <= 5) {
                topSum += p[1];
                ++topCount;
            }
            if (inCell >= 11) {
                footSum += p[1];
                ++footCount;
            }
        }
    ASSERT_GT(edgeCount, 0);
    ASSERT_GT(topCount, 0);
    ASSERT_GT(footCount, 0);
    EXPECT_LT(edgeSum / edgeCount, 60.0);
    EXPECT_GT(topSum / topCount, footSum / footCount + 30.0);
}

// What the text renderer draws for every character of the texts that has a
// glyph of its own: a cell of this charset that holds a glyph, and a glyph
// no other character shows (the plus sign, which stands in for every byte
// without a glyph, among them).
TEST_F(Charset, EveryCharacterWithAGlyphShowsOneNoOtherCharacterShows) {
    const std::string own = "abcdefghijklmnopqrstuvwxyz0123456789+*#'-_.:,;@<>!$%/()=?SAOU\"";
    std::map<std::vector<uint8_t>, char> shownBy;
    for (char c : own) {
        const int cell = charsetCell(uint8_t(c));
        EXPECT_GT(visibleInCell(png, cell), 12) << "'" << c << "' shows an empty cell";
        const auto [first, fresh] = shownBy.emplace(cellTexels(png, cell), c);
        EXPECT_TRUE(fresh) << "'" << c << "' shows the glyph of '" << first->second << "'";
    }
}

// The marks that come in pairs or at a height, as a reader sees them: the
// points of < and >, the bellies of ( and ), the slope of /, and the
// apostrophe, hyphen and underscore from the top of the line to its foot.
TEST_F(Charset, PunctuationFacesTheWayItReadsAndSitsAtItsHeight) {
    auto middle = [&](char c) { return inkOf(png, charsetCell(uint8_t(c)), 6, 10).x; };
    EXPECT_LT(middle('<'), middle('>'));
    EXPECT_LT(middle('('), middle(')'));
    const int slash = charsetCell('/');
    EXPECT_GT(inkOf(png, slash, 0, 6).x, inkOf(png, slash, 10, 16).x) << "/ rises to the right";
    auto height = [&](char c) { return inkOf(png, charsetCell(uint8_t(c))).y; };
    EXPECT_LT(height('\''), height('-'));
    EXPECT_LT(height('-'), height('_'));
}
