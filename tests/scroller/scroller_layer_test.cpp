// The scroller layer with a hand-moved clock, checked on real GL.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "show/frame_loop.h"
#include "assets/asset_store.h"
#include "scroller/charset_text.h"
#include "scroller/scroll_texts.h"
#include "scroller/scroller_layer.h"
#include "tests/scroller/scroller_fixture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/layer_frames.h"
#include "tests/support/temp_dir.h"

namespace {

using RGBA = GLTestContext::RGBA;

bool near(RGBA a, RGBA b) { return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2; }

// How long text i runs before the next one starts, in ms.
int64_t runningTimeMs(int i) {
    const float advance = 28.0f / 1024.0f * 1.08f;
    return int64_t((1.0 + scrollTexts[i].length * double(advance)) / 0.0001) + 1;
}

struct Scroller : ::testing::Test {
    ScopedTempDir tmp;
    GLTestContext gl{1024, 768};
    FakeClock clock;
    ScopedArchive archive{scrollerArchive()};
    ScrollerLayer layer;
    std::vector<uint8_t> frame;

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        VirtualScreen::configure(1024, 768);
        layer.init();
        AssetStore::instance()->finishLoading();
    }
    void drawAfter(int64_t ms) {
        clock.advanceMs(ms);
        beginLayerTestFrame(1024, 768);
        layer.draw();
        frame = gl.readPixels();
    }
    RGBA at(int x, int y) { return gl.pixel(frame, x, y); }
    // The first character of the running text stands with its left edge at virtual x 10.
    void expectFirstGlyphAtTen(int text) {
        const int cell = charsetCell(uint8_t(scrollTexts[text].bytes[0]));
        EXPECT_TRUE(near(at(12, 126), cellColour(cell))) << "text " << text << " starts at x 10";
        EXPECT_TRUE(near(at(36, 126), cellColour(cell)));
        EXPECT_TRUE(near(at(8, 126), BORDER_COLOUR)) << "nothing left of x 10";
    }
    // Whether no glyph stands anywhere on the band.
    bool bandIsEmpty() {
        for (int x = 0; x < 1024; x += 3) {
            if (!near(at(x, 126), BORDER_COLOUR)) return false;
        }
        return true;
    }
    // Which menu entries show highlighted.
    std::vector<int> highlighted() {
        std::vector<int> entries;
        for (int k = 1; k <= 7; ++k) {
            RGBA c = at(800, 440 - 32 * k + 16);
            if (near(c, highlightColour(k))) entries.push_back(k);
            else EXPECT_TRUE(near(c, plainColour(k))) << "entry " << k << " is drawn plain";
        }
        return entries;
    }
};

TEST_F(Scroller, TheIntroEntersFromTheRightEdgeAndReachesXTenAfterTenSeconds) {
    drawAfter(0);
    EXPECT_EQ(layer.state().currentText, 0);
    EXPECT_TRUE(bandIsEmpty()) << "position 1.0: the first glyph is just off screen";
    EXPECT_TRUE(near(at(800, 440 + 16), TITLE_COLOUR));
    EXPECT_TRUE(highlighted().empty()) << "no entry while the intro runs";
    drawAfter(10000);
    expectFirstGlyphAtTen(0);
}

TEST_F(Scroller, ARunOutTextIsFollowedByTheNextFromTheRightEdgeInTheSameFrame) {
    drawAfter(0);
    drawAfter(runningTimeMs(0) - 2);
    EXPECT_EQ(layer.state().currentText, 0);
    drawAfter(2);
    EXPECT_EQ(layer.state().currentText, 1);
    EXPECT_TRUE(bandIsEmpty());
    EXPECT_EQ(highlighted(), std::vector<int>{1});
    drawAfter(10000);
    expectFirstGlyphAtTen(1);
}

TEST_F(Scroller, AfterTheSeventhComesTheFirstNeverTheIntro) {
    layer.onKey(KeyArrowUp);   // from the intro to the seventh
    drawAfter(0);
    drawAfter(runningTimeMs(7));
    EXPECT_EQ(layer.state().currentText, 1);
}

TEST_F(Scroller, UpAndDownFollowTheMenuFromEveryText) {
    const int32_t afterUp[] = {7, 7, 1, 2, 3, 4, 5, 6};
    const int32_t afterDown[] = {1, 2, 3, 4, 5, 6, 7, 1};
    for (int32_t from = 0; from < SCROLL_TEXT_COUNT; ++from) {
        for (int key : {KeyArrowUp, KeyArrowDown}) {
            ScrollerLayer fresh;   // on the intro; down goes through the texts in order
            for (int32_t i = 0; i < from; ++i) fresh.onKey(KeyArrowDown);
            ASSERT_EQ(fresh.state().currentText, from);
            fresh.onKey(key);
            EXPECT_EQ(fresh.state().currentText, (key == KeyArrowUp ? afterUp : afterDown)[from])
                << (key == KeyArrowUp ? "up" : "down") << " from " << from;
        }
    }
}

TEST_F(Scroller, AChosenTextRestartsFromTheRightEdgeAndIsHighlighted) {
    drawAfter(0);
    drawAfter(30000);
    layer.onKey(KeyArrowDown);
    drawAfter(0);
    EXPECT_TRUE(bandIsEmpty());
    EXPECT_EQ(highlighted(), std::vector<int>{1});
    layer.onKey(KeyArrowUp);
    drawAfter(10000);
    expectFirstGlyphAtTen(7);
    EXPECT_EQ(highlighted(), std::vector<int>{7});
}

TEST_F(Scroller, LeftAndRightLeaveTheScrollerAndItsClockAlone) {
    drawAfter(0);
    drawAfter(5000);
    layer.onKey(KeyArrowLeft);
    layer.onKey(KeyArrowRight);
    layer.onKey(0);
    EXPECT_EQ(layer.state().currentText, 0);
    drawAfter(5000);
    expectFirstGlyphAtTen(0);
}

TEST_F(Scroller, EachMemberTextHighlightsExactlyItsOwnEntry) {
    for (int32_t text = 1; text <= 7; ++text) {
        layer.onKey(KeyArrowDown);   // from the intro to the first, then on
        drawAfter(0);
        EXPECT_EQ(highlighted(), std::vector<int>{text});
    }
}

}  // namespace

// The same layer running one text of the viewer's own, "ab".
struct OwnTextScroller : Scroller {
    OwnTextScroller() { layer = ScrollerLayer(std::string("ab")); }
    void expectAAtTen() { EXPECT_TRUE(near(at(12, 126), cellColour(charsetCell('a')))) << "a starts at x 10"; }
};

TEST_F(OwnTextScroller, RunsItsTextAgainAndAgainWithNoMenuAndNoChoice) {
    drawAfter(0);   // the clock starts
    drawAfter(10000);
    expectAAtTen();
    layer.onKey(KeyArrowDown);
    layer.onKey(KeyArrowUp);
    drawAfter(0);
    expectAAtTen();   // no key restarted it
    for (int k = 0; k <= 7; ++k) EXPECT_TRUE(near(at(800, 440 - 32 * k + 16), {0, 0, 0, 255})) << "no menu, row " << k;

    const int64_t runningMs = int64_t((1.0 + 2 * double(28.0f / 1024.0f * 1.08f)) / 0.0001) + 1;
    drawAfter(runningMs - 10000);
    EXPECT_TRUE(bandIsEmpty()) << "run out: again from the right edge";
    drawAfter(10000);
    expectAAtTen();
}
