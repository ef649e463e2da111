// Full screen by scaling: the presentation drawn into a frame of its own at
// the chosen size and scaled onto the window. The real scene on software
// Mesa with a driven clock, against the same moment drawn straight into the
// window, as with a real mode.
#include <gtest/gtest.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>   // reading the window's pixels past the frame

#include <cstdint>
#include <vector>

#include "show/display.h"
#include "show/frame_loop.h"
#include "show/scaled_frame.h"
#include "show/scene_setup.h"
#include "assets/asset_store.h"
#include "platform/message_queue.h"
#include "tests/support/fake_clock.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"

namespace {

// The scene at width x height with every photograph loaded, its clock at
// 2 s: the first photograph shown plainly, the scroller on its way, the
// menu's entries dimmed (the colour's alpha), blending on.
struct Scene {
    ScopedTempDir tmp;
    FakeClock clock;
    Scene(int width, int height, bool keepAspect = false) {
        useDisplaySettings({.width = width, .height = height, .keepAspect = keepAspect});
        clearMessages();
        initScene(width, height);
        AssetStore::instance()->finishLoading();
        startRunning();
        clock.setMs(clock.nowMs() + 2000);
        draw();   // the logo layer's blending holds from the second frame on
    }
    ~Scene() {
        shutdown();
        resetScene();
    }
    void draw() {
        int status = 0;
        ASSERT_TRUE(drawFrame(status));
    }
};

// The window's pixels, x y width height from its bottom-left, bottom row first.
std::vector<uint8_t> readWindow(int x, int y, int width, int height) {
    glFinish();
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Scales the frame onto the window, whose pixels are then read back whole.
std::vector<uint8_t> scaleAndRead(int windowWidth, int windowHeight, const PictureBox &box) {
    scaleFrameOnto(windowWidth, windowHeight, box);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);   // the window's pixels, not the frame's
    return readWindow(0, 0, windowWidth, windowHeight);
}

uint32_t rgbAt(const std::vector<uint8_t> &pixels, int width, int x, int y) {
    const uint8_t *p = &pixels[(size_t(y) * width + x) * 4];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

int differingPixels(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int width, int height) {
    int differing = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) differing += rgbAt(a, width, x, y) != rgbAt(b, width, x, y) ? 1 : 0;
    }
    return differing;
}

// Drawn into the scaled frame and shown at 1:1, the moment is the window's
// frame to the bit: the frame is drawn the way up Mesa draws into a window,
// or its edges would round differently. Also with the shape kept, where the
// box goes mirrored into the upside-down frame (an odd bar here: 20 pixels
// below, 21 above).
void expectTheWindowsFrame(int width, int height, bool keepAspect) {
    GLTestContext gl{width, height};
    ASSERT_TRUE(gl.ok());
    Scene scene(width, height, keepAspect);
    scene.draw();
    const std::vector<uint8_t> straight = readWindow(0, 0, width, height);

    ASSERT_TRUE(openScaledFrame(width, height));
    scene.draw();
    const std::vector<uint8_t> scaled = scaleAndRead(width, height, {0, 0, width, height});
    closeScaledFrame();
    EXPECT_EQ(differingPixels(straight, scaled, width, height), 0);
}

TEST(ScaledFrame, AtTheWindowsSizeItShowsTheWindowsFrameToTheBit) { expectTheWindowsFrame(800, 600, false); }
TEST(ScaledFrame, WithTheShapeKeptItShowsTheWindowsFrameToTheBit) { expectTheWindowsFrame(640, 521, true); }

// An 800 x 600 frame on a 1280 x 720 window: each window pixel shows the
// one frame pixel under its centre (nearest filtering), stretched over the
// whole window, or in the 960 x 720 box of the frame's shape between black
// bars. Then the layers, drawing the next frame, find the GL state as they
// left it: the same moment comes out the same.
TEST(ScaledFrame, ScalesWithNearestPixelsStretchedOrBoxedAndLeavesTheLayersStateAlone) {
    constexpr int W = 800, H = 600, WINDOW_W = 1280, WINDOW_H = 720;
    GLTestContext gl{WINDOW_W, WINDOW_H};
    ASSERT_TRUE(gl.ok());
    Scene scene(W, H);
    ASSERT_TRUE(openScaledFrame(W, H));
    scene.draw();
    const std::vector<uint8_t> frame = scaleAndRead(WINDOW_W, WINDOW_H, {0, 0, W, H});
    // The source, read at 1:1 from the window's bottom-left corner.
    auto source = [&](int x, int y) { return rgbAt(frame, WINDOW_W, x, y); };

    const std::vector<uint8_t> stretched = scaleAndRead(WINDOW_W, WINDOW_H, {0, 0, WINDOW_W, WINDOW_H});
    int wrong = 0;
    for (int y = 0; y < WINDOW_H; ++y) {
        for (int x = 0; x < WINDOW_W; ++x) {
            // 800/1280 and 600/720 put no pixel centre on a frame pixel's edge.
            wrong += rgbAt(stretched, WINDOW_W, x, y) != source((2 * x + 1) * W / (2 * WINDOW_W),
                                                                 (2 * y + 1) * H / (2 * WINDOW_H));
        }
    }
    EXPECT_EQ(wrong, 0) << "stretched";

    const PictureBox box = fitPicture(WINDOW_W, WINDOW_H, W, H);
    ASSERT_EQ(box.x, 160);
    ASSERT_EQ(box.width, 960);
    const std::vector<uint8_t> boxed = scaleAndRead(WINDOW_W, WINDOW_H, box);
    wrong = 0;
    int litBars = 0;
    for (int y = 0; y < WINDOW_H; ++y) {
        for (int x = 0; x < WINDOW_W; ++x) {
            const uint32_t shown = rgbAt(boxed, WINDOW_W, x, y);
            if (x < box.x || x >= box.x + box.width) {
                litBars += shown != 0;
                continue;
            }
            wrong += shown != source((2 * (x - box.x) + 1) * W / (2 * box.width), (2 * y + 1) * H / (2 * WINDOW_H));
        }
    }
    EXPECT_EQ(wrong, 0) << "in the box";
    EXPECT_EQ(litBars, 0) << "the bars are black";

    scene.draw();
    const std::vector<uint8_t> again = scaleAndRead(WINDOW_W, WINDOW_H, {0, 0, W, H});
    EXPECT_EQ(differingPixels(again, frame, W, H), 0) << "the next frame, drawn after scaling";
    closeScaledFrame();
}

TEST(ScaledFrame, ASizeGLCannotHoldMakesNoFrame) {
    GLTestContext gl{64, 48};
    ASSERT_TRUE(gl.ok());
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    EXPECT_FALSE(openScaledFrame(largest + 1, 48));
    EXPECT_FALSE(scaledFrameOpen());
    EXPECT_TRUE(openScaledFrame(64, 48));
    closeScaledFrame();
    EXPECT_FALSE(scaledFrameOpen());
}

// The box of a shape within a screen of another, as both the kept shape
// and the scaling take it.
TEST(PictureBox, IsTheLargestCentredBoxOfTheShape) {
    struct Case { int w, h, sw, sh, x, y, bw, bh; };
    const Case cases[] = {
        {1920, 1080, 4, 3, 240, 0, 1440, 1080},  // pillarbox
        {1280, 1024, 4, 3, 0, 32, 1280, 960},    // letterbox
        {1024, 768, 4, 3, 0, 0, 1024, 768},      // the same shape: all of it
        {640, 521, 4, 3, 0, 20, 640, 480},       // the odd pixel above
        {1000, 1000, 1024, 768, 0, 125, 1000, 750},
        {1366, 768, 800, 600, 171, 0, 1024, 768},
        {7680, 4320, 320, 240, 960, 0, 5760, 4320},
    };
    for (const Case &c : cases) {
        const PictureBox box = fitPicture(c.w, c.h, c.sw, c.sh);
        EXPECT_EQ(box.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(box.y, c.y) << c.w << "x" << c.h;
        EXPECT_EQ(box.width, c.bw) << c.w << "x" << c.h;
        EXPECT_EQ(box.height, c.bh) << c.w << "x" << c.h;
    }
}

}  // namespace
