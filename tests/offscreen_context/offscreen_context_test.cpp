// The display-less GL context: it draws with no DISPLAY at the size asked
// for, reads back bottom row first, makes way for a new size, and refuses
// sizes it cannot have.
#include "platform/offscreen_context.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

namespace {

struct Pixel {
    int r, g, b, a;
    bool operator==(const Pixel &) const = default;
};

Pixel at(const std::vector<uint8_t> &frame, int width, int x, int y) {
    const uint8_t *p = &frame[(size_t(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

// Blue everywhere, a red quad over the lower half, in the unit-square
// projection the frame loop uses.
std::vector<uint8_t> drawLowerHalfRed(int width, int height) {
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(0, 0.5f);
    glVertex2f(1, 0.5f);
    glVertex2f(1, 0);
    glEnd();
    std::vector<uint8_t> frame(size_t(width) * height * 4);
    readOffscreenFrame(frame.data());
    return frame;
}

TEST(OffscreenContext, DrawsWithoutADisplayAndReadsBottomRowFirst) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    ASSERT_TRUE(createOffscreenContext(64, 48)) << offscreenFailureReason();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 48);
    const std::vector<uint8_t> frame = drawLowerHalfRed(64, 48);
    EXPECT_EQ(at(frame, 64, 0, 0), (Pixel{255, 0, 0, 255})) << "first row is the bottom one";
    EXPECT_EQ(at(frame, 64, 63, 23), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(at(frame, 64, 63, 24), (Pixel{0, 0, 255, 255}));
    EXPECT_EQ(at(frame, 64, 0, 47), (Pixel{0, 0, 255, 255}));
    std::vector<uint8_t> bgra(64 * 48 * 4);
    readOffscreenFrame(bgra.data(), PixelOrder::Bgra);
    EXPECT_EQ(at(bgra, 64, 0, 0), (Pixel{0, 0, 255, 255})) << "red, blue first";

    // A new size replaces the old context.
    ASSERT_TRUE(createOffscreenContext(1920, 1080)) << offscreenFailureReason();
    const std::vector<uint8_t> large = drawLowerHalfRed(1920, 1080);
    EXPECT_EQ(at(large, 1920, 1919, 539), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(at(large, 1920, 1919, 540), (Pixel{0, 0, 255, 255}));
    destroyOffscreenContext();
    destroyOffscreenContext();   // twice is harmless
}

TEST(OffscreenContext, RefusesSizesOutOfRangeWithAReason) {
    EXPECT_FALSE(createOffscreenContext(0, 480));
    EXPECT_STRNE(offscreenFailureReason(), "");
    EXPECT_FALSE(createOffscreenContext(640, 100000));
    readOffscreenFrame(nullptr);   // no context: nothing happens
}

}  // namespace
