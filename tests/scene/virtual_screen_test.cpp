// The virtual screen's mapping and the stopwatch.
#include <gtest/gtest.h>

#include "scene/virtual_screen.h"
#include "tests/support/fake_clock.h"

namespace {

const uint32_t DIALOG_SIZES[][2] = {{800, 600},   {1024, 768},  {1280, 1024}, {1440, 900},
                                    {1440, 1050}, {1680, 1050}, {1920, 1080}, {1920, 1200}};

TEST(VirtualScreen, MapsCornersAndCentreExactlyAtEveryDialogResolution) {
    for (const auto &size : DIALOG_SIZES) {
        VirtualScreen::configure(size[0], size[1]);
        Vec2 corner = VirtualScreen::toGL(1024, 768);
        Vec2 centre = VirtualScreen::toGL(512, 384);
        Vec2 origin = VirtualScreen::toGL(0, 0);
        EXPECT_EQ(corner.x, 1.0f) << size[0] << "x" << size[1];
        EXPECT_EQ(corner.y, 1.0f) << size[0] << "x" << size[1];
        EXPECT_EQ(centre.x, 0.5f) << size[0] << "x" << size[1];
        EXPECT_EQ(centre.y, 0.5f) << size[0] << "x" << size[1];
        EXPECT_EQ(origin.x, 0.0f);
        EXPECT_EQ(origin.y, 0.0f);
    }
}

TEST(VirtualScreen, LayoutOnlyStretchesWithTheResolution) {
    VirtualScreen::configure(1024, 768);
    const Vec2 reference = VirtualScreen::toGL(44, 636);
    for (const auto &size : DIALOG_SIZES) {
        VirtualScreen::configure(size[0], size[1]);
        Vec2 p = VirtualScreen::toGL(44, 636);
        EXPECT_NEAR(p.x, reference.x, 1e-6);
        EXPECT_NEAR(p.y, reference.y, 1e-6);
    }
}

TEST(Stopwatch, CountsWholeMillisecondsSinceRestartAndWraps) {
    FakeClock clock;
    Stopwatch watch;
    watch.restart();
    EXPECT_EQ(watch.elapsedMs(), 0u);
    clock.advanceMs(4000);
    EXPECT_EQ(watch.elapsedMs(), 4000u);
    // 4.0005 s truncates to 4000 ms.
    watch.restart();
    clock.advanceNs(4000500000);
    EXPECT_EQ(watch.elapsedMs(), 4000u);
    // Modulo 2^32 ms (about 49.7 days).
    watch.restart();
    clock.advanceMs((int64_t(1) << 32) + 5);
    EXPECT_EQ(watch.elapsedMs(), 5u);
}

}  // namespace
