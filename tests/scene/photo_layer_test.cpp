// The slideshow's clockwork, driven by a hand-moved clock, and what it draws.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "show/frame_loop.h"
#include "assets/asset_store.h"
#include "scene/archive_photos.h"
#include "scene/file_photos.h"
#include "scene/photo_layer.h"
#include "tests/support/fake_clock.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/layer_frames.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

namespace {

constexpr int PHOTO_PIXELS = 64;

// Photograph i is one flat colour, distinct from the others.
GLTestContext::RGBA photoColour(int i) { return {40 + 9 * i, 230 - 8 * i, (i % 4) * 60 + 20, 255}; }

Bytes slideshowArchive() {
    std::vector<std::pair<std::string, Bytes>> entries;
    Bytes frame(592 * 592 * 4, 0);   // an invisible frame: the photographs show
    entries.push_back({"picture-frame.png", encodePng(592, 592, frame)});
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        GLTestContext::RGBA c = photoColour(i);
        Bytes rgb;
        for (int p = 0; p < PHOTO_PIXELS * PHOTO_PIXELS; ++p) {
            rgb.insert(rgb.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)});
        }
        entries.push_back({PHOTO_FILES[i], encodeJpeg(PHOTO_PIXELS, PHOTO_PIXELS, rgb)});
    }
    return packArchive(entries);
}

struct Slideshow : ::testing::Test {
    ScopedTempDir tmp;
    GLTestContext gl{256, 192};
    FakeClock clock;
    ScopedArchive archive{slideshowArchive()};
    PhotoLayer layer;
    bool holdBack = false;   // only the first frame's images load until loading resumes

    explicit Slideshow(std::unique_ptr<PhotoSource> photos = std::make_unique<ArchivePhotos>())
        : layer(std::move(photos)) {}

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        VirtualScreen::configure(256, 192);
        if (holdBack) AssetStore::instance()->pauseLoading();
        layer.init();
        if (holdBack) AssetStore::instance()->waitForFirstFrame();
        else AssetStore::instance()->finishLoading();
        ASSERT_NE(layer.source().photoCount(), 0u);
        // The display opens and the first frame's images load between init
        // and the first frame: no part of the first photograph's time.
        frameAfter(700);
    }
    void letPhotographsCome() {
        AssetStore::instance()->resumeLoading();
        AssetStore::instance()->finishLoading();
    }

    // One frame at the clock's present time, with the GL state the
    // background and logo layers leave behind.
    void frame() {
        beginLayerTestFrame(256, 192);
        layer.draw();
    }
    void frameAfter(int64_t ms) {
        clock.advanceMs(ms);
        frame();
    }
    // Runs frames until the transition has begun (the first frame past 4000 ms).
    void beginTransition() {
        frameAfter(4001);
        ASSERT_TRUE(layer.state().stepClockStarted);
        ASSERT_EQ(layer.state().fadeStep, 0u);
    }
    // The colour in the middle of the photograph.
    GLTestContext::RGBA shown() {
        std::vector<uint8_t> pixels = gl.readPixels();
        return gl.pixel(pixels, 85, 85);   // virtual (340, 340)
    }
};

void expectColour(GLTestContext::RGBA got, GLTestContext::RGBA want, int tolerance, const char *what) {
    EXPECT_NEAR(got.r, want.r, tolerance) << what;
    EXPECT_NEAR(got.g, want.g, tolerance) << what;
    EXPECT_NEAR(got.b, want.b, tolerance) << what;
}

// The later photographs held back: the first frame shows the first one, and
// whatever is asked for before it has come waits for it.
struct SlideshowLoading : Slideshow {
    SlideshowLoading() { holdBack = true; }
};

TEST_F(SlideshowLoading, RightBeforeThePhotographHasComeKeepsTheCurrentOneUntilItComes) {
    frame();
    expectColour(shown(), photoColour(0), 3, "the first photograph on the first frame");
    EXPECT_FALSE(layer.coversItsRectangle()) << "the next one, not here yet, may be due";
    layer.onKey(KeyArrowRight);
    frameAfter(3000);
    EXPECT_EQ(layer.state().currentPhoto, 0u);
    expectColour(shown(), photoColour(0), 3, "the current photograph stays");
    letPhotographsCome();
    EXPECT_TRUE(layer.coversItsRectangle());
    frameAfter(10);
    EXPECT_EQ(layer.state().currentPhoto, 1u);
    expectColour(shown(), photoColour(1), 3, "the photograph asked for, once it has come");
    frameAfter(4000);
    EXPECT_FALSE(layer.state().stepClockStarted) << "shown plainly for its full time from its arrival";
}

TEST_F(SlideshowLoading, ATransitionDueBeforeItsPhotographHasComeWaitsForIt) {
    frameAfter(4500);
    EXPECT_FALSE(layer.state().stepClockStarted);
    EXPECT_EQ(layer.state().fadeStep, 0u);
    expectColour(shown(), photoColour(0), 3, "the current photograph, plain, while the next is awaited");
    letPhotographsCome();
    frameAfter(1);
    EXPECT_TRUE(layer.state().stepClockStarted) << "the transition begins once the photograph has come";
    frameAfter(60);
    EXPECT_EQ(layer.state().fadeStep, 1u);
}

TEST_F(SlideshowLoading, KeysWhileAPhotographIsAwaitedStepFromTheOneAskedFor) {
    layer.onKey(KeyArrowRight);
    layer.onKey(KeyArrowRight);
    layer.onKey(KeyArrowRight);
    layer.onKey(KeyArrowLeft);
    frame();
    EXPECT_EQ(layer.state().currentPhoto, 0u);
    letPhotographsCome();
    frame();
    EXPECT_EQ(layer.state().currentPhoto, 2u);
    layer.onKey(KeyArrowLeft);
    EXPECT_EQ(layer.state().currentPhoto, 1u) << "a photograph that has come is current at once";
}

TEST_F(Slideshow, APhotographStaysPlainForExactly4000Ms) {
    frameAfter(4000);
    EXPECT_FALSE(layer.state().stepClockStarted);
    expectColour(shown(), photoColour(0), 3, "the first photograph, plain");
    frameAfter(1);
    EXPECT_TRUE(layer.state().stepClockStarted) << "at 4001 ms the transition begins";
    EXPECT_EQ(layer.state().fadeStep, 0u) << "its first step waits for 60 ms";
}

TEST_F(Slideshow, StepsWaitAtLeast60MsAndComeAtMostOnePerFrame) {
    beginTransition();
    frameAfter(59);
    EXPECT_EQ(layer.state().fadeStep, 0u);
    frameAfter(1);
    EXPECT_EQ(layer.state().fadeStep, 1u);
    frameAfter(1000);   // a long frame still takes one step
    EXPECT_EQ(layer.state().fadeStep, 2u);
    EXPECT_EQ(layer.state().incomingLevel, 4);
    frameAfter(59);
    EXPECT_EQ(layer.state().fadeStep, 2u) << "time beyond 60 ms is not carried over";
}

// What a viewer sees of the fade: each of the six steps shows the outgoing
// photograph a seventh fainter over the incoming one, in equal steps, and
// still a seventh of it at the last step before the hand-over.
TEST_F(Slideshow, EachStepShowsTheOutgoingPhotographASeventhFainter) {
    beginTransition();
    const GLTestContext::RGBA outgoing = photoColour(0), incoming = photoColour(1);
    auto mixed = [](int a, int b, float w) { return int(a * w + b * (1 - w) + 0.5f); };
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        frameAfter(60);
        const float w = float(7 - step) / 7;
        expectColour(shown(),
                     {mixed(outgoing.r, incoming.r, w), mixed(outgoing.g, incoming.g, w),
                      mixed(outgoing.b, incoming.b, w), 255},
                     2, "the outgoing photograph at (7 - step) / 7 over the incoming");
    }
}

TEST_F(Slideshow, SeventhStepHandsOverAndDrawsTheNextPlainInThatFrame) {
    beginTransition();
    for (int step = 1; step <= 6; ++step) frameAfter(60);
    EXPECT_EQ(layer.state().currentPhoto, 0u);
    frameAfter(60);
    EXPECT_EQ(layer.state().currentPhoto, 1u);
    EXPECT_EQ(layer.state().fadeStep, 0u);
    EXPECT_EQ(layer.state().fadeAlpha, 1.0f);
    EXPECT_FALSE(layer.state().stepClockStarted);
    expectColour(shown(), photoColour(1), 3, "the second photograph, plain and opaque");
    frameAfter(4000);
    EXPECT_FALSE(layer.state().stepClockStarted) << "shown plainly for its own 4000 ms";
}

TEST_F(Slideshow, AtTenFramesPerSecondEachStepTakesOneFrame) {
    frameAfter(4100);   // the transition's first frame
    int frames = 0;
    while (layer.state().currentPhoto == 0 && frames < 20) {
        frameAfter(100);
        ++frames;
    }
    EXPECT_EQ(frames, 7);
}

TEST_F(Slideshow, TheMiddleOfATransitionMixesOutgoingAndIncoming) {
    beginTransition();
    for (int step = 1; step <= 3; ++step) frameAfter(60);
    // Outgoing at 4/7 over the incoming: flat colours survive every level.
    GLTestContext::RGBA a = photoColour(0), b = photoColour(1);
    const float w = 0.5714286f;
    GLTestContext::RGBA mix = {int(a.r * w + b.r * (1 - w)), int(a.g * w + b.g * (1 - w)),
                               int(a.b * w + b.b * (1 - w)), 255};
    expectColour(shown(), mix, 4, "step 3 blends 4/7 outgoing over 3/7 incoming");
}

TEST_F(Slideshow, TheLastPhotographWrapsToTheFirstAsIncomingAndCurrent) {
    layer.showPreviousPhoto();
    EXPECT_EQ(layer.state().currentPhoto, 23u) << "left on the 1st gives the 24th";
    beginTransition();
    for (int step = 1; step <= 6; ++step) frameAfter(60);
    // At step 6 the outgoing shows at 1/7 over the incoming first photograph.
    GLTestContext::RGBA got = shown(), first = photoColour(0);
    EXPECT_NEAR(got.r, first.r, 30);
    EXPECT_NEAR(got.g, first.g, 30);
    frameAfter(60);
    EXPECT_EQ(layer.state().currentPhoto, 0u);
    layer.showNextPhoto();
    EXPECT_EQ(layer.state().currentPhoto, 1u);
    layer.showPreviousPhoto();
    layer.showPreviousPhoto();
    EXPECT_EQ(layer.state().currentPhoto, 23u);
    layer.showNextPhoto();
    EXPECT_EQ(layer.state().currentPhoto, 0u) << "right on the 24th gives the 1st";
}

TEST_F(Slideshow, RightMidTransitionShowsTheIncomingPlainAtOnce) {
    beginTransition();
    for (int step = 1; step <= 3; ++step) frameAfter(60);
    layer.onKey(KeyArrowRight);
    frameAfter(0);
    EXPECT_EQ(layer.state().currentPhoto, 1u);
    EXPECT_EQ(layer.state().fadeStep, 0u);
    EXPECT_EQ(layer.state().fadeAlpha, 1.0f);
    expectColour(shown(), photoColour(1), 3, "the incoming photograph, plain and opaque");
}

TEST_F(Slideshow, LeftMidTransitionShowsThePhotographBeforeTheOutgoing) {
    for (int i = 0; i < 5; ++i) layer.showNextPhoto();
    beginTransition();
    for (int step = 1; step <= 3; ++step) frameAfter(60);
    layer.onKey(KeyArrowLeft);
    frameAfter(0);
    EXPECT_EQ(layer.state().currentPhoto, 4u);
    expectColour(shown(), photoColour(4), 3, "the photograph before the outgoing one");
}

TEST_F(Slideshow, AfterAKeyMidTransitionTheNextTransitionStepsInItsFirstFrame) {
    beginTransition();
    frameAfter(60);
    layer.onKey(KeyArrowRight);
    frameAfter(4001);   // the next transition's first frame
    EXPECT_EQ(layer.state().fadeStep, 1u);
    // Whereas one reached without a key waits 60 ms for its first step.
    for (int step = 2; step <= 7; ++step) frameAfter(60);
    ASSERT_FALSE(layer.state().stepClockStarted);
    frameAfter(4001);
    EXPECT_EQ(layer.state().fadeStep, 0u);
}

TEST_F(Slideshow, UpAndDownChangeNothing) {
    beginTransition();
    frameAfter(60);
    layer.onKey(KeyArrowUp);
    layer.onKey(KeyArrowDown);
    EXPECT_EQ(layer.state().currentPhoto, 0u);
    EXPECT_EQ(layer.state().fadeStep, 1u);
    frameAfter(60);
    EXPECT_EQ(layer.state().fadeStep, 2u);
}

// A source of three of the archive's photographs, in an order of its own.
struct SlideshowOfThree : Slideshow {
    SlideshowOfThree()
        : Slideshow(std::make_unique<ArchivePhotos>(
              std::vector<std::string>{PHOTO_FILES[5], PHOTO_FILES[9], PHOTO_FILES[2]})) {}
};

TEST_F(SlideshowOfThree, ShowsItsSourcesPhotographsAndWrapsAfterTheThird) {
    layer.onKey(KeyArrowLeft);
    frame();
    EXPECT_EQ(layer.state().currentPhoto, 2u);
    expectColour(shown(), photoColour(2), 3, "left on the first gives the source's third");
    layer.onKey(KeyArrowRight);
    frame();
    expectColour(shown(), photoColour(5), 3, "right on the third gives the source's first");
    layer.onKey(KeyArrowRight);
    frame();
    expectColour(shown(), photoColour(9), 3, "then its second");
}

// Writes n flat photographs named p1.jpg .. pN.jpg into folder, photograph
// i in photoColour(i), and p<broken>.jpg as bytes that are no image.
std::shared_ptr<PhotoList> photoFolder(const std::string &folder, int n, int broken) {
    for (int i = 1; i <= n; ++i) {
        const GLTestContext::RGBA c = photoColour(i);
        Bytes rgb;
        for (int p = 0; p < 16 * 16; ++p) rgb.insert(rgb.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)});
        const Bytes bytes = i == broken ? Bytes(100, 'x') : encodeJpeg(16, 16, rgb);
        FILE *file = std::fopen((folder + "/p" + std::to_string(i) + ".jpg").c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return std::make_shared<PhotoList>(std::vector<std::string>{folder});
}

// The viewer's own photographs: p1 .. p12 in a folder, p3 no image.
struct SlideshowOfFiles : ScopedTempDir, Slideshow {
    SlideshowOfFiles() : Slideshow(std::make_unique<FilePhotos>(photoFolder(path(), 12, 3), PhotoFit::Inside)) {}
    int loadedCount() const {
        int loaded = 0;
        for (uint32_t i = 0; i < layer.source().photoCount(); ++i) loaded += layer.source().photoId(i) != 0;
        return loaded;
    }
};

TEST_F(SlideshowOfFiles, StepsInNameOrderOverAnUnreadableOneKeepingAFewLoaded) {
    const int order[] = {2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 4};
    for (int expected : order) {
        layer.onKey(KeyArrowRight);
        frame();   // asks for it; it loads meanwhile, the current one staying
        AssetStore::instance()->finishLoading();
        frame();
        expectColour(shown(), photoColour(expected), 4, "the next readable photograph, never a blank");
        EXPECT_LE(loadedCount(), 6) << "only those around the shown and asked-for ones stay loaded";
    }
    EXPECT_EQ(layer.source().photoCount(), 11u) << "the unreadable one has left the show";
    layer.onKey(KeyArrowLeft);
    layer.onKey(KeyArrowLeft);
    frame();
    AssetStore::instance()->finishLoading();
    frame();
    expectColour(shown(), photoColour(1), 4, "left twice from p4 gives p1");
}

TEST(SlideshowWithoutPhotographs, DrawsNothingForAMissingPhotographAndKeepsItsTiming) {
    ScopedTempDir tmp;
    GLTestContext gl{64, 48};
    FakeClock clock;
    ScopedArchive archive{packArchive({})};
    VirtualScreen::configure(64, 48);
    PhotoLayer layer{std::make_unique<ArchivePhotos>()};
    layer.init();
    AssetStore::instance()->finishLoading();
    ASSERT_EQ(layer.source().photoCount(), uint32_t(PHOTO_COUNT));
    for (int frame = 0; frame < 100; ++frame) {
        clock.advanceMs(100);
        layer.draw();
    }
    EXPECT_GT(layer.state().currentPhoto, 0u) << "the show moves on over missing photographs";
    EXPECT_FALSE(layer.coversItsRectangle());
    EXPECT_LT(layer.state().currentPhoto, uint32_t(PHOTO_COUNT));
}

}  // namespace

namespace {

// The incoming photograph under a flat outgoing one: a left-to-right ramp of
// 64 texels, so each pixelated level shows as steps exactly one block wide.
Bytes mosaicArchive() {
    std::vector<std::pair<std::string, Bytes>> entries;
    entries.push_back({"picture-frame.png", encodePng(592, 592, Bytes(592 * 592 * 4, 0))});
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        Bytes rgb;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const uint8_t ramp = i == 1 ? uint8_t(4 * x) : 128;
                rgb.insert(rgb.end(), {ramp, ramp, ramp});
            }
        }
        entries.push_back({PHOTO_FILES[i], encodeJpeg(64, 64, rgb)});
    }
    return packArchive(entries);
}

TEST(SlideshowMosaic, IncomingPhotographShowsInBlocksOfItsLevel) {
    ScopedTempDir tmp;
    GLTestContext gl{1024, 768};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    ScopedArchive archive{mosaicArchive()};
    VirtualScreen::configure(1024, 768);
    PhotoLayer layer{std::make_unique<ArchivePhotos>()};
    layer.init();
    AssetStore::instance()->finishLoading();
    auto frameAfter = [&](int64_t ms) {
        clock.advanceMs(ms);
        beginLayerTestFrame(1024, 768);
        layer.draw();
        return gl.readPixels();
    };
    frameAfter(0);      // the first frame
    frameAfter(4001);   // the transition begins
    const double texel = 592.0 / 64;   // screen pixels per photograph texel
    for (uint32_t step = 1; step <= 4; ++step) {
        std::vector<uint8_t> frame = frameAfter(60);
        ASSERT_EQ(layer.state().fadeStep, step);
        const int block = 1 << (6 - step);   // texels: 32, 16, 8, 4
        auto at = [&](double texelX) { return gl.pixel(frame, int(44 + texel * texelX), 340).r; };
        // Two points in the first block, then one in the second.
        const int a = at(block * 0.25), b = at(block * 0.75), c = at(block * 1.25);
        EXPECT_NEAR(a, b, 1) << "step " << step << ": one block of " << block << " texels is flat";
        EXPECT_GT(c - b, 3) << "step " << step << ": the next block is a step brighter";
    }
}

}  // namespace
