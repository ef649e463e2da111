// The charset renderer: its table, its cells, and where its glyphs land on
// real GL.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>

#include "assets/asset_store.h"
#include "scroller/charset_text.h"
#include "tests/scroller/scroller_fixture.h"
#include "tests/support/layer_frames.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(CharsetCell, EveryOtherByteFallsBackToThePlusSign) {
    const std::string own = "abcdefghijklmnopqrstuvwxyz0123456789*#'-_.:,;@<>!$%/()=?SAOU\"";
    int fallbacks = 0;
    for (int b = 0; b < 256; ++b) {
        const int cell = charsetCell(uint8_t(b));
        EXPECT_GE(cell, 0);
        EXPECT_LT(cell, 64);
        EXPECT_NE(cell, 50) << "no byte maps to cell 50";
        EXPECT_NE(cell, 53) << "no byte maps to cell 53";
        if (own.find(char(b)) == std::string::npos) {
            EXPECT_EQ(cell, 36) << "byte " << b;
            ++fallbacks;
        }
    }
    // 256 bytes less the 61 with glyphs of their own; the plus sign, the
    // ampersand, other capitals, control bytes and 0x80..0xFF among them.
    EXPECT_EQ(fallbacks, 256 - 61);
}

TEST(CharsetTexCoords, LastCellSitsAtRowFourColumnSeven) {
    charsetTexCoords(63);
    const GlyphTexCoords &coords = *charsetState().glyphTexCoords;
    EXPECT_FLOAT_EQ(coords.corner[0].x, 0.4921875f);
    EXPECT_NEAR(coords.corner[0].y, 0.6905, 1e-6);
    EXPECT_NEAR(coords.corner[1].y, 0.7470, 1e-6);
    EXPECT_NEAR(coords.corner[2].x, 0.4921875 + 0.0703125 - 0.003, 1e-6);
    EXPECT_EQ(coords.corner[3].x, coords.corner[2].x);
    EXPECT_EQ(coords.corner[3].y, coords.corner[0].y);
    resetCharset();
}

// Draws on a 1024 x 768 viewport, so one GL unit across is 1024 pixels.
struct CharsetText : ::testing::Test {
    ScopedTempDir tmp;
    GLTestContext gl{1024, 768};
    ScopedArchive archive{packArchive({{"charset.png", flatCellCharset()}})};
    const float glyphWidth = 28.0f / 1024.0f;
    const float glyphHeight = 24.0f / 768.0f;

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        useCharsetTexture(loadTextureNow("charset.png"));
        beginLayerTestFrame(1024, 768);
    }
    std::vector<uint8_t> draw(const std::string &text, float x) {
        drawCharsetText(text.data(), uint32_t(text.size()), glyphWidth, glyphHeight, x, 0.5f);
        return gl.readPixels();
    }
    // The colour at pixel column px on the line (row 396, mid-glyph).
    GLTestContext::RGBA column(const std::vector<uint8_t> &frame, int px) { return gl.pixel(frame, px, 396); }
    // How many glyph quads a call emits, counted by GL's feedback mode with a
    // projection wide enough that nothing is clipped away.
    int glyphsEmitted(const std::string &text, float x) {
        std::vector<GLfloat> feedback(1 << 16);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-200, 200, -200, 200, -1, 1);
        glFeedbackBuffer(GLsizei(feedback.size()), GL_2D, feedback.data());
        glRenderMode(GL_FEEDBACK);
        drawCharsetText(text.data(), uint32_t(text.size()), glyphWidth, glyphHeight, x, 0.5f);
        const int values = glRenderMode(GL_RENDER);
        // A quad comes back as polygons of n vertices, n - 2 triangles each.
        int triangles = 0;
        for (int i = 0; i < values;) {
            if (feedback[i] == GL_POLYGON_TOKEN) {
                const int n = int(feedback[i + 1]);
                triangles += n - 2;
                i += 2 + 2 * n;
            } else {
                ++i;
            }
        }
        return triangles / 2;
    }
};

bool isCell(GLTestContext::RGBA got, int cell) {
    GLTestContext::RGBA want = cellColour(cell);
    return std::abs(got.r - want.r) <= 2 && std::abs(got.g - want.g) <= 2 && std::abs(got.b - want.b) <= 2;
}
bool isBlack(GLTestContext::RGBA got) { return got.r == 0 && got.g == 0 && got.b == 0; }

TEST_F(CharsetText, AtZeroNothingIsSkippedAndGlyphsAdvance1Point08Widths) {
    auto frame = draw("ab", 0.0f);
    EXPECT_TRUE(isCell(column(frame, 2), 0)) << "a from x = 0";
    EXPECT_TRUE(isCell(column(frame, 26), 0));
    EXPECT_TRUE(isBlack(column(frame, 29))) << "the gap after a glyph (28 .. 30.24 px)";
    EXPECT_TRUE(isCell(column(frame, 32), 1)) << "b from 30.24 px";
    EXPECT_TRUE(isBlack(column(frame, 59)));
}

TEST_F(CharsetText, ASpaceAdvancesOneGlyphWidth) {
    auto frame = draw("a b", 0.0f);
    EXPECT_TRUE(isBlack(column(frame, 45)));
    EXPECT_TRUE(isBlack(column(frame, 57))) << "b starts at 2.08 widths = 58.24 px";
    EXPECT_TRUE(isCell(column(frame, 60), 1));
    EXPECT_TRUE(isCell(column(frame, 84), 1));
}

TEST_F(CharsetText, LeftOfTheScreenWholeAdvancesAreSkipped) {
    // x = -0.1: three characters skipped, the fourth drawn at about -0.0114
    // (-11.7 px), so it shows from the left edge to 16.3 px.
    auto frame = draw("abcdef", -0.1f);
    EXPECT_TRUE(isCell(column(frame, 1), 3));
    EXPECT_TRUE(isCell(column(frame, 15), 3));
    EXPECT_TRUE(isBlack(column(frame, 17)));
    EXPECT_TRUE(isCell(column(frame, 20), 4)) << "e from 18.6 px";
}

TEST_F(CharsetText, SkippingCountsSpacesAtTheFullAdvance) {
    // The space is skipped as a full advance: a lands at -1 px, not at
    // -1 px - 0.08 widths as its own layout would put it.
    const float advance = glyphWidth * 1.08f;
    auto frame = draw(" ab", -advance - 1.0f / 1024.0f);
    EXPECT_TRUE(isCell(column(frame, 1), 0));
    EXPECT_TRUE(isCell(column(frame, 25), 0));
    EXPECT_TRUE(isBlack(column(frame, 28))) << "a ends at 27 px";
    EXPECT_TRUE(isCell(column(frame, 31), 1)) << "b from 29.2 px";
}

TEST_F(CharsetText, DrawingStopsAfterTheFirstGlyphPastTheRightEdge) {
    const std::string line(100, 'a');
    EXPECT_EQ(glyphsEmitted(line, 0.0f), 34) << "the 34th glyph's advance passes x = 1";
    EXPECT_EQ(glyphsEmitted("ab", 1.0f), 1) << "from x >= 1 one glyph is drawn, off screen";
    EXPECT_EQ(glyphsEmitted("    ab", 0.95f), 1) << "spaces never stop the line";
    EXPECT_EQ(glyphsEmitted("", 0.0f), 0);
    EXPECT_EQ(glyphsEmitted("abc", -1.0f), 0) << "skipped past the text's end";
}

TEST_F(CharsetText, ACallDrawsAtMostAScreenfulWhateverTheTextsLength) {
    const std::string text(4096, 'x');
    for (float x : {0.5f, 0.0f, -0.5f, -30.0f, -120.0f}) {
        EXPECT_LE(glyphsEmitted(text, x), 35) << "x = " << x;
    }
    std::string spaced;
    while (spaced.size() < 4096) spaced += "ab  ";
    EXPECT_LE(glyphsEmitted(spaced, -10.0f), 35);
}

}  // namespace

namespace {

TEST(CharsetTextWithoutCharset, DrawsNothingRatherThanBlankBoxes) {
    ScopedTempDir tmp;
    GLTestContext gl{64, 64};
    ScopedArchive archive{packArchive({})};
    useCharsetTexture(loadTextureNow("charset.png"));
    beginLayerTestFrame(64, 64);
    drawCharsetText("abc", 3, 0.3f, 0.3f, 0.0f, 0.2f);
    std::vector<uint8_t> frame = gl.readPixels();
    EXPECT_EQ(gl.pixel(frame, 10, 20).r, 0);
}

}  // namespace
