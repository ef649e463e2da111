// Golden frames: the whole presentation (the real scene set-up, the real
// archive, the real frame loop) rendered on software Mesa with a driven
// clock, at three sizes and sixteen moments, each frame's bytes hashed and
// compared with the hashes recorded in golden_hashes.txt. Any change to
// loading, textures, layers or the loop that moves one pixel fails here.
//
// One more case keeps the picture's shape (--keep-aspect) at 1920 x 1080:
// the 4:3 picture in the middle, black bars left and right.
//
// Each size is its own test, so ctest runs it in a process of its own: the
// layers' state is program-wide and set up once per process. So are the
// checks that a photograph held back leaves the current picture on screen,
// and that loading held for the first frame goes on after it.
//
// Recording (a new Mesa, or an intended change of the picture):
// tests/golden_frames/record.sh rewrites golden_hashes.txt and the PNGs.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "show/display.h"
#include "show/frame_loop.h"
#include "show/scene_setup.h"
#include "assets/asset_store.h"
#include "platform/message_queue.h"
#include "scene/photo_layer.h"
#include "tests/support/fake_clock.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string HASH_FILE = DORIROVA_SOURCE_DIR "/tests/golden_frames/golden_hashes.txt";

// One frame to look at: its presentation time in ms after the scene set-up
// ended, and the key released just before it is drawn (KeyOther: none).
struct Moment {
    const char *name;
    int64_t ms;
    int key;
};

// The photograph is shown plainly for 4000 ms; the transition's first frame
// comes after that, and its steps at least 60 ms apart, seven in all; the
// eighth hands over to the next photograph.
const Moment MOMENTS[] = {
    {"first-frame", 0, KeyOther},
    {"display-middle", 2000, KeyOther},
    {"step-0", 4001, KeyOther},
    {"step-1", 4061, KeyOther},
    {"step-2", 4121, KeyOther},
    {"step-3", 4181, KeyOther},
    {"step-4", 4241, KeyOther},
    {"step-5", 4301, KeyOther},
    {"step-6", 4361, KeyOther},
    {"after-handover", 4421, KeyOther},
    {"after-right", 5000, KeyArrowRight},
    {"after-left", 5500, KeyArrowLeft},
    {"after-down", 6000, KeyArrowDown},
    {"scroller-later", 9000, KeyOther},
    {"next-transition", 10061, KeyOther},
    {"after-up", 10500, KeyArrowUp},
};
constexpr int MOMENT_COUNT = sizeof MOMENTS / sizeof MOMENTS[0];

// Frames a person can open to see what the hashes stand for (size, moment).
const std::pair<const char *, const char *> KEPT_PICTURES[] = {
    {"800x600", "first-frame"}, {"800x600", "step-3"}, {"800x600", "after-down"},
    {"1920x1080-keep-aspect", "step-3"}};

uint64_t fnv1a(const std::vector<uint8_t> &bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

// The last layer of the stack: after everything else has drawn, it reads
// the frame back, then sets the clock and queues the key for the next one.
class FrameRecorder : public Layer {
public:
    FrameRecorder(GLTestContext &gl, FakeClock &clock, int64_t startMs, const Moment *moments, size_t count)
        : gl(gl), clock(clock), startMs(startMs), moments(moments), count(count) {}
    bool init() override { return true; }
    void draw() override {
        frames.push_back(gl.readPixels());
        if (afterFrame) afterFrame(frames.size() - 1);
        const size_t next = frames.size();
        if (next == count) {
            postQuitMessage(0);
            return;
        }
        clock.setMs(startMs + moments[next].ms);
        if (moments[next].key != KeyOther) postMessage({MessageKind::KeyUp, moments[next].key, 0});
    }
    std::vector<std::vector<uint8_t>> frames;
    std::function<void(size_t frame)> afterFrame;   // runs after each frame is read back

private:
    GLTestContext &gl;
    FakeClock &clock;
    int64_t startMs;
    const Moment *moments;
    size_t count;
};

// "WxH moment hash" lines and the "mesa ..." line of the recorded file.
struct Recorded {
    std::string mesa;
    std::map<std::string, std::string> hashes;   // "WxH moment" -> hash
};

Recorded readRecorded() {
    Recorded recorded;
    std::ifstream in(HASH_FILE);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("mesa ", 0) == 0) {
            recorded.mesa = line.substr(5);
            continue;
        }
        std::istringstream fields(line);
        std::string size, moment, hash;
        if (fields >> size >> moment >> hash) recorded.hashes[size + " " + moment] = hash;
    }
    return recorded;
}

// Half the size in each direction, each pixel the mean of four: small
// enough to keep in the repository, plain enough to see what a frame shows.
std::vector<uint8_t> halve(const std::vector<uint8_t> &frame, int width, int height) {
    std::vector<uint8_t> half(size_t(width / 2) * (height / 2) * 4);
    for (int y = 0; y < height / 2; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            for (int c = 0; c < 4; ++c) {
                auto at = [&](int dx, int dy) { return frame[(size_t(2 * y + dy) * width + 2 * x + dx) * 4 + c]; };
                half[(size_t(y) * (width / 2) + x) * 4 + c] = uint8_t((at(0, 0) + at(1, 0) + at(0, 1) + at(1, 1)) / 4);
            }
        }
    }
    return half;
}

// The window path's set-up, with the display's size and the current context;
// with holdBack the later photographs begin loading only once resumed.
void setUpScene(int width, int height, bool holdBack = false, bool keepAspect = false) {
    useDisplaySettings({.width = width, .height = height, .keepAspect = keepAspect});
    clearMessages();
    if (holdBack) AssetStore::instance()->pauseLoading();
    initScene(width, height);
}

void checkSize(int width, int height, bool keepAspect = false) {
    ScopedTempDir tmp;
    GLTestContext gl{width, height};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    const std::string mesa = reinterpret_cast<const char *>(glGetString(GL_VERSION));

    setUpScene(width, height, false, keepAspect);
    // The clock is driven, so the photographs must all be here before the
    // first frame, or the frames would depend on when they came.
    AssetStore::instance()->finishLoading();
    FrameRecorder recorder(gl, clock, clock.nowMs(), MOMENTS, MOMENT_COUNT);
    LayerStack::instance().add(&recorder);
    runFrameLoop();
    ASSERT_EQ(recorder.frames.size(), size_t(MOMENT_COUNT));
    EXPECT_TRUE(tmp.files().empty()) << "temporary files left after shutdown";

    const std::string size = std::to_string(width) + "x" + std::to_string(height) + (keepAspect ? "-keep-aspect" : "");
    if (const char *out = std::getenv("DORIROVA_GOLDEN_RECORD")) {
        // Recording: append this size's hashes; keep the chosen pictures.
        std::ofstream record(out, std::ios::app);
        for (int i = 0; i < MOMENT_COUNT; ++i) {
            record << size << " " << MOMENTS[i].name << " " << hex(fnv1a(recorder.frames[size_t(i)])) << "\n";
            for (const auto &[keptSize, moment] : KEPT_PICTURES) {
                if (size != keptSize || std::string(moment) != MOMENTS[i].name) continue;
                const std::string path = DORIROVA_SOURCE_DIR "/tests/golden_frames/" + size + "-" + moment + ".png";
                saveRgbaPng(halve(recorder.frames[size_t(i)], width, height), width / 2, height / 2, path.c_str());
            }
        }
        std::ofstream(std::string(out) + ".mesa") << mesa << "\n";
        return;
    }

    const Recorded recorded = readRecorded();
    int differing = 0;
    std::string report;
    for (int i = 0; i < MOMENT_COUNT; ++i) {
        const std::string key = size + " " + MOMENTS[i].name;
        const std::string actual = hex(fnv1a(recorder.frames[size_t(i)]));
        auto found = recorded.hashes.find(key);
        if (found != recorded.hashes.end() && found->second == actual) continue;
        ++differing;
        report += "  " + key + ": " + actual + ", recorded " +
                  (found == recorded.hashes.end() ? std::string("nothing") : found->second) + "\n";
        const std::string path = std::string(DORIROVA_BINARY_DIR) + "/golden-" + size + "-" + MOMENTS[i].name + ".png";
        gl.savePng(recorder.frames[size_t(i)], path.c_str());
    }
    if (differing > 0 && recorded.mesa != mesa) {
        GTEST_SKIP() << "the golden frames were recorded with \"" << recorded.mesa << "\", this is \"" << mesa
                     << "\": " << differing << " frames differ; run tests/golden_frames/record.sh on a known-good "
                     << "tree to record them for this Mesa";
    }
    EXPECT_EQ(differing, 0) << "frames that differ from the recorded ones (saved as PNGs in the build folder):\n"
                            << report;
}

TEST(GoldenFrames, At1024x768) { checkSize(1024, 768); }

// The photograph's middle, clear of the scroller, the menu and the logo, in
// 1024 x 768 pixels: what shows of the photograph alone.
std::vector<uint8_t> photographArea(const std::vector<uint8_t> &frame) {
    std::vector<uint8_t> area;
    for (int y = 160; y < 530; ++y) {
        const auto row = frame.begin() + (ptrdiff_t(y) * 1024 + 60) * 4;
        area.insert(area.end(), row, row + 480 * 4);
    }
    return area;
}

// The later photographs held back: the frames show the first photograph, as
// recorded, until the second has come, whatever is due or asked for meanwhile;
// then the second, plainly. The first frame is drawn as the next one at the
// same moment is: no GL state is missing from it.
TEST(GoldenFrames, APhotographHeldBackKeepsTheCurrentPictureUntilItComes) {
    ScopedTempDir tmp;
    GLTestContext gl{1024, 768};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    setUpScene(1024, 768, true);
    const Moment moments[] = {
        {"first-frame", 0, KeyOther},       {"first-frame-again", 0, KeyOther},
        {"display-middle", 2000, KeyOther}, {"transition-due", 4001, KeyOther},
        {"right-awaited", 5000, KeyArrowRight}, {"arrived", 5100, KeyOther},
        {"arrived-later", 5200, KeyOther},
    };
    FrameRecorder recorder(gl, clock, clock.nowMs(), moments, std::size(moments));
    recorder.afterFrame = [](size_t frame) {
        if (frame != 4) return;
        AssetStore::instance()->resumeLoading();
        AssetStore::instance()->finishLoading();
    };
    LayerStack::instance().add(&recorder);
    runFrameLoop();
    ASSERT_EQ(recorder.frames.size(), std::size(moments));
    EXPECT_TRUE(recorder.frames[0] == recorder.frames[1]) << "the first frame differs from the next at its moment";

    const Recorded recorded = readRecorded();
    if (recorded.mesa != reinterpret_cast<const char *>(glGetString(GL_VERSION))) GTEST_SKIP() << "another Mesa";
    EXPECT_EQ(hex(fnv1a(recorder.frames[0])), recorded.hashes.at("1024x768 first-frame"));
    EXPECT_EQ(hex(fnv1a(recorder.frames[2])), recorded.hashes.at("1024x768 display-middle"));
    const std::vector<uint8_t> first = photographArea(recorder.frames[2]);
    EXPECT_TRUE(photographArea(recorder.frames[3]) == first) << "the transition waits for its photograph";
    EXPECT_TRUE(photographArea(recorder.frames[4]) == first) << "Right waits for its photograph";
    const std::vector<uint8_t> second = photographArea(recorder.frames[5]);
    EXPECT_FALSE(second == first) << "the second photograph, once it has come";
    EXPECT_TRUE(photographArea(recorder.frames[6]) == second) << "shown plainly from its arrival";
}
TEST(GoldenFrames, At800x600) { checkSize(800, 600); }
TEST(GoldenFrames, At1920x1080) { checkSize(1920, 1080); }
TEST(GoldenFrames, At1920x1080KeepingTheShape) { checkSize(1920, 1080, true); }

}  // namespace

// Loading held for the first frame goes on after it: the later photographs
// all arrive while the frames run.
TEST(GoldenFrames, LoadingHeldForTheFirstFrameGoesOnAfterIt) {
    ScopedTempDir tmp;
    GLTestContext gl{320, 240};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    setUpScene(320, 240);
    holdLoadingUntilFirstFrame();
    struct ArrivalWatch : Layer {
        int frames = 0, framesUntilAllReady = -1;
        bool init() override { return true; }
        void onKey(int) override {}
        void draw() override {
            int ready = 0;
            const PhotoSource &photos = sceneSlideshow()->source();
            for (uint32_t i = 0; i < photos.photoCount(); ++i) ready += AssetStore::instance()->texture(photos.photoId(i)) ? 1 : 0;
            ++frames;
            if (ready == int(photos.photoCount())) framesUntilAllReady = frames;
            if (framesUntilAllReady > 0 || frames == 20000) postQuitMessage(0);
        }
    } watch;
    LayerStack::instance().add(&watch);
    runFrameLoop();
    EXPECT_GT(watch.framesUntilAllReady, 1) << "the later photographs never came";
}
