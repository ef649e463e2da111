// The charset: 18 x 16 cells, 14 to a row from the top left. Every cell the
// text renderer maps a byte to holds a glyph; cells 50 and 53 and everything
// past cell 63 stay empty; no glyph touches the texels the renderer's
// 0.003 inset cuts off (the right column, the top and bottom rows).
#include <gtest/gtest.h>

#include "content_reading.h"

namespace {

const uint32_t CELL_W = 18, CELL_H = 16, PER_ROW = 14;

int visibleInCell(const PngFile &png, int cell) {
    uint32_t x0 = (cell % PER_ROW) * CELL_W, y0 = (cell / PER_ROW) * CELL_H;
    int n = 0;
    for (uint32_t y = y0; y < y0 + CELL_H; ++y)
        for (uint32_t x = x0; x < x0 + CELL_W; ++x) n += png.alpha(x, y) > 0;
    return n;
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
