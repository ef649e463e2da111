// The background, photo and logo layers drawn together on software Mesa,
// checked by reading the frame back.
#include <gtest/gtest.h>

#include <fstream>

#include <GL/gl.h>

#include "show/display.h"
#include "show/frame_loop.h"
#include "assets/asset_store.h"
#include "scene/archive_photos.h"
#include "scene/background_layer.h"
#include "scene/logo_layer.h"
#include "scene/photo_layer.h"
#include "tests/support/fake_clock.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/layer_frames.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

namespace {

using RGBA = GLTestContext::RGBA;
const RGBA STARS = {20, 30, 90, 255};
const RGBA LOGO = {250, 200, 40, 255};

// Images top row first, as files hold them.
Bytes flat(int w, int h, RGBA c, int channels) {
    Bytes b;
    for (int i = 0; i < w * h; ++i) {
        b.push_back(uint8_t(c.r));
        b.push_back(uint8_t(c.g));
        b.push_back(uint8_t(c.b));
        if (channels == 4) b.push_back(uint8_t(c.a));
    }
    return b;
}

// The frame: white, outer 3 pixels opaque, then 8 fading, transparent inside.
Bytes frameImage() {
    const uint8_t fade[8] = {132, 113, 94, 75, 56, 38, 19, 6};
    Bytes b(592 * 592 * 4, 255);
    for (int y = 0; y < 592; ++y) {
        for (int x = 0; x < 592; ++x) {
            const int edge = std::min(std::min(x, y), std::min(591 - x, 591 - y));
            b[(y * 592 + x) * 4 + 3] = edge < 3 ? 255 : edge < 11 ? fade[edge - 3] : 0;
        }
    }
    return b;
}

// The logo: opaque inside texel columns 180..840, rows 170..370 from the
// bottom, but for a transparent hole in its middle; transparent elsewhere.
Bytes logoImage() {
    Bytes b(1024 * 512 * 4, 0);
    for (int row = 170; row < 370; ++row) {
        for (int x = 180; x < 840; ++x) {
            const bool hole = x >= 480 && x < 540 && row >= 240 && row < 300;
            if (hole) continue;
            uint8_t *p = &b[(size_t(511 - row) * 1024 + x) * 4];
            p[0] = uint8_t(LOGO.r), p[1] = uint8_t(LOGO.g), p[2] = uint8_t(LOGO.b), p[3] = 255;
        }
    }
    return b;
}

// Photograph i: a 256 x 256 pattern of 8 x 8 squares, so levels show as mosaics.
Bytes photoImage(int i) {
    Bytes b;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            b.push_back(uint8_t(light ? 220 : 30 + i));
            b.push_back(uint8_t(light ? 200 : 60));
            b.push_back(uint8_t(light ? 40 : 160));
        }
    }
    return b;
}

Bytes sceneArchive() {
    std::vector<std::pair<std::string, Bytes>> entries;
    entries.push_back({"background-star.png", encodePng(1024, 1024, flat(1024, 1024, STARS, 4))});
    entries.push_back({"krv-logo.png", encodePng(1024, 512, logoImage())});
    entries.push_back({"picture-frame.png", encodePng(592, 592, frameImage())});
    for (int i = 0; i < PHOTO_COUNT; ++i) entries.push_back({PHOTO_FILES[i], encodeJpeg(256, 256, photoImage(i))});
    return packArchive(entries);
}

struct Scene : ::testing::TestWithParam<std::pair<int, int>> {
    int width = GetParam().first, height = GetParam().second;
    ScopedTempDir tmp;
    GLTestContext gl{width, height};
    FakeClock clock;
    ScopedArchive archive{sceneArchive()};
    PhotoLayer photos{std::make_unique<ArchivePhotos>()};
    BackgroundLayer background{&photos};
    LogoLayer logo;

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        clearMessages();
        useDisplaySettings({.width = width, .height = height});
        VirtualScreen::configure(uint32_t(width), uint32_t(height));
        LayerStack &stack = LayerStack::instance();
        stack.layers = {&background, &photos, &logo};
        stack.state = Created;
        stack.initAll();
        AssetStore::instance()->finishLoading();
    }
    // Runs the frame loop for `frames` frames, then ends the run.
    std::vector<uint8_t> run(int frames) {
        for (int i = 0; i < frames; ++i) postMessage({MessageKind::Other, KeyOther, 0});
        postQuitMessage(0);
        runFrameLoop();
        return gl.readPixels();
    }
    // The pixel at virtual (x, y).
    RGBA at(const std::vector<uint8_t> &frame, double x, double y) {
        return gl.pixel(frame, int(x * width / 1024.0), int(y * height / 768.0));
    }
};

bool near(RGBA a, RGBA b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

TEST_P(Scene, StarFieldFillsTheViewportEdgeToEdge) {
    std::vector<uint8_t> frame = run(2);
    for (int y : {0, height / 2, height - 1}) {
        for (int x : {0, width - 1}) {
            EXPECT_TRUE(near(gl.pixel(frame, x, y), STARS, 1)) << x << "," << y;
        }
    }
}

TEST_P(Scene, FramedPhotographStandsAt44With592VirtualPixels) {
    std::vector<uint8_t> frame = run(2);
    EXPECT_TRUE(near(at(frame, 45, 300), {255, 255, 255, 255}, 2)) << "opaque white border at x 44..46";
    EXPECT_TRUE(near(at(frame, 40, 300), STARS, 2)) << "stars left of the frame";
    EXPECT_TRUE(near(at(frame, 640, 300), STARS, 2)) << "stars right of the frame at x 636";
    EXPECT_TRUE(near(at(frame, 300, 640), STARS, 2)) << "stars above the frame at y 636";
    // Inside the transparent centre: the photograph's squares, light or dark.
    RGBA inside = at(frame, 300, 300);
    EXPECT_FALSE(near(inside, STARS, 10));
    EXPECT_FALSE(near(inside, {255, 255, 255, 255}, 10));
}

TEST_P(Scene, LogoCoversItsRectangleAndShowsWhatLiesBeneathItsHoles) {
    std::vector<uint8_t> frame = run(2);
    // From (328, 542), 693 x 210 virtual pixels.
    EXPECT_TRUE(near(at(frame, 340, 560), LOGO, 2));
    EXPECT_TRUE(near(at(frame, 1010, 740), LOGO, 2));
    EXPECT_TRUE(near(at(frame, 320, 700), STARS, 2)) << "left of the logo";
    EXPECT_TRUE(near(at(frame, 700, 758), STARS, 2)) << "above the logo";
    // The hole (texels 480..540, 240..300) lies over the star field at about (676, 647).
    EXPECT_TRUE(near(at(frame, 676, 647), STARS, 2)) << "a transparent pixel of the logo";
}

TEST_P(Scene, IncomingPhotographShowsAsAMosaicOfTheLevelsBlocks) {
    // Frames drawn the way the loop draws them, without ending the run.
    LayerStack::instance().state = Running;
    auto frameAfter = [&](int64_t ms) {
        clock.advanceMs(ms);
        beginLayerTestFrame(width, height);
        for (Layer *layer : LayerStack::instance().layers) layer->draw();
        return gl.readPixels();
    };
    const double texel = 592.0 / 256.0;   // virtual pixels per photograph texel
    // Two points in neighbouring 8-texel squares, and one in the middle of a
    // 64-texel block (of 4 x 4 such blocks).
    auto square = [&](const std::vector<uint8_t> &f, int column) { return at(f, 44 + texel * (8 * column + 4), 44 + texel * 100); };
    frameAfter(0);
    frameAfter(4001);   // the transition begins
    for (int step = 1; step <= 3; ++step) frameAfter(60);
    ASSERT_EQ(photos.state().fadeStep, 3u);
    // Step 3: both at level 3, blocks of 8 texels, exactly the squares: the
    // mix still alternates square by square.
    std::vector<uint8_t> frame = frameAfter(0);
    EXPECT_GT(std::abs(square(frame, 0).r - square(frame, 1).r), 60);
    for (int step = 4; step <= 6; ++step) frameAfter(60);
    ASSERT_EQ(photos.state().fadeStep, 6u);
    // Step 6: the outgoing at 1/7 in 64-texel blocks (flat), over the
    // incoming at level 0, its squares sharp.
    frame = frameAfter(0);
    if (::testing::Test::HasFailure()) gl.savePng(frame, "/tmp/scene-step6.png");
    EXPECT_GT(std::abs(square(frame, 0).r - square(frame, 1).r), 100);
    // Back to step 0 of the next transition: the incoming at 64-texel blocks
    // lies under the opaque outgoing, which shows its squares at level 0.
    frameAfter(60);
    frameAfter(4001);
    ASSERT_EQ(photos.state().fadeStep, 0u);
    frame = frameAfter(0);
    EXPECT_GT(std::abs(square(frame, 0).r - square(frame, 1).r), 100);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, Scene,
                         ::testing::Values(std::make_pair(1024, 768), std::make_pair(1280, 1024)));

// The same scene with a logo of the viewer's own: a square PNG, its right
// fifth transparent, in place of the group's.
struct OwnLogoScene : Scene {
    OwnLogoScene() {
        Bytes square(100 * 100 * 4, 0);
        for (int i = 0; i < 100 * 100; ++i) {
            if (i % 100 < 80) square[size_t(i) * 4 + 1] = 200, square[size_t(i) * 4 + 3] = 255;
        }
        const Bytes png = encodePng(100, 100, square);
        const std::string path = tmp.path() + "/own-logo.png";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(png.data()), std::streamsize(png.size()));
        logo = LogoLayer(path);
    }
};

TEST_P(OwnLogoScene, FitsTheLogosPlaceKeepingItsShapeAndAlpha) {
    std::vector<uint8_t> frame = run(2);
    // 210 x 210 virtual pixels, centred in 693 x 210 from (328, 542): x 569.5 to 779.5.
    const RGBA green = {0, 200, 0, 255};
    EXPECT_TRUE(near(at(frame, 575, 547), green, 2)) << "its lower left";
    EXPECT_TRUE(near(at(frame, 730, 747), green, 2)) << "the upper right of its opaque part";
    EXPECT_TRUE(near(at(frame, 340, 700), STARS, 2)) << "nothing of the group's logo";
    EXPECT_TRUE(near(at(frame, 563, 647), STARS, 2)) << "left of it, inside the logo's place";
    EXPECT_TRUE(near(at(frame, 760, 647), STARS, 2)) << "its transparent part";
    EXPECT_TRUE(near(at(frame, 674, 756), STARS, 2)) << "above it";
}

INSTANTIATE_TEST_SUITE_P(Resolutions, OwnLogoScene,
                         ::testing::Values(std::make_pair(1024, 768), std::make_pair(1280, 1024)));

}  // namespace
