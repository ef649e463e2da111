// Once the frames run, nothing allocates on the frame loop's thread: every
// layer and the loop draw a few hundred frames, while the later photographs
// arrive and are uploaded between them, without a single call of operator
// new there. (The loader's threads allocate as they decode; they are not
// counted.)
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <new>

#include "show/display.h"
#include "assets/archive_format.h"
#include "show/frame_loop.h"
#include "assets/asset_store.h"
#include "scene/archive_photos.h"
#include "scene/background_layer.h"
#include "scene/logo_layer.h"
#include "scene/photo_layer.h"
#include "show/scene_setup.h"
#include "scroller/charset_text.h"
#include "scroller/scroller_layer.h"
#include "tests/scroller/scroller_fixture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/temp_dir.h"

// Every allocation of this test program passes through here; those of the
// thread that runs the frames are counted.
static std::atomic<long> allocations{0};
static thread_local bool countedThread = false;

// Outside the operators, and never inlined into them, so the compiler does
// not pair free with new.
[[gnu::noinline]] static void release(void *p) { std::free(p); }

static void *allocate(std::size_t size, std::size_t alignment = 0) {
    if (countedThread) ++allocations;
    if (alignment > alignof(std::max_align_t)) {
        void *p = nullptr;
        return posix_memalign(&p, alignment, size ? size : 1) == 0 ? p : nullptr;
    }
    return std::malloc(size ? size : 1);
}

// Every form of the operators, so that each pair matches.
void *operator new(std::size_t size) {
    if (void *p = allocate(size)) return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return allocate(size); }
void *operator new(std::size_t size, std::align_val_t a) {
    if (void *p = allocate(size, std::size_t(a))) return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size, std::align_val_t a) { return operator new(size, a); }
void operator delete(void *p) noexcept { release(p); }
void operator delete[](void *p) noexcept { release(p); }
void operator delete(void *p, std::size_t) noexcept { release(p); }
void operator delete[](void *p, std::size_t) noexcept { release(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { release(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { release(p); }
void operator delete(void *p, std::align_val_t) noexcept { release(p); }
void operator delete[](void *p, std::align_val_t) noexcept { release(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { release(p); }
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { release(p); }

namespace {

constexpr int WARM_UP_FRAMES = 200;

// Counts the allocations from its first draw to its last, and moves the
// clock on by 16 ms each frame so transitions and scrolling happen. With
// loading held back, it lets the later photographs load at its first draw.
class AllocationProbe : public Layer {
public:
    explicit AllocationProbe(FakeClock &clock) : clock(clock) {}
    bool init() override { return true; }
    void draw() override {
        if (++frames == 1) {
            atFirstFrame = allocations.load();
            photosAtFirstFrame = photosReady();
            AssetStore::instance()->resumeLoading();
        }
        lastFrame = allocations.load();
        photosAtLastFrame = photosReady();
        clock.advanceMs(frames % 50 == 0 ? 4100 : 16);   // now and then a jump into a transition
    }
    void onKey(int) override {}
    int photosReady() const {
        int ready = 0;
        const PhotoSource &photos = sceneSlideshow()->source();
            for (uint32_t i = 0; i < photos.photoCount(); ++i) ready += AssetStore::instance()->texture(photos.photoId(i)) ? 1 : 0;
        return ready;
    }
    int frames = 0, photosAtFirstFrame = 0, photosAtLastFrame = 0;
    long atFirstFrame = 0, lastFrame = 0;

private:
    FakeClock &clock;
};

Bytes wholeArchive() {
    std::vector<std::pair<std::string, Bytes>> entries;
    const GLTestContext::RGBA grey = {90, 90, 90, 255};
    entries.push_back({"background-star.png", flatImage(64, 64, grey)});
    entries.push_back({"krv-logo.png", flatImage(64, 32, grey)});
    entries.push_back({"picture-frame.png", flatImage(37, 37, grey)});
    Bytes photo(64 * 64 * 3, 128);
    for (int i = 0; i < PHOTO_COUNT; ++i) entries.push_back({PHOTO_FILES[i], encodeJpeg(64, 64, photo)});
    // The scroller's images: unpack the fixture's archive entries again.
    const Bytes scroller = scrollerArchive();
    std::vector<ResourceArchiveEntry> table;
    parseArchiveTable(scroller.data(), scroller.size(), scroller.size(), table);
    for (const ResourceArchiveEntry &entry : table) {
        entries.push_back({entry.name, Bytes(&scroller[entry.offset], &scroller[entry.offset] + entry.size)});
    }
    return packArchive(entries);
}

// A scene from scratch (the layers' state, a new store) whose first frame's
// images are loaded; the later photographs too, or, with holdBack, none of them.
void setUpScene(AllocationProbe &probe, bool holdBack) {
    resetCharset();
    AssetStore::destroyInstance();
    if (holdBack) AssetStore::instance()->pauseLoading();
    LayerStack &stack = LayerStack::instance();
    // The last scene's layers until the next: each made anew, in place.
    static std::optional<PhotoLayer> slideshow;
    static std::optional<BackgroundLayer> background;
    static std::optional<ScrollerLayer> scroller;
    static std::optional<LogoLayer> logo;
    slideshow.emplace(std::make_unique<ArchivePhotos>());
    background.emplace(&*slideshow);
    scroller.emplace();
    logo.emplace();
    stack.layers = {&*background, &*slideshow, &*scroller, &*logo};
    stack.layers.push_back(&probe);
    stack.state = Created;
    stack.initAll();
    if (holdBack) AssetStore::instance()->waitForFirstFrame();
    else AssetStore::instance()->finishLoading();
}

// Runs frames, a key now and then, until the run ends.
void runFrames(int frames) {
    clearMessages();
    const int keys[] = {KeyArrowLeft, KeyArrowRight, KeyArrowUp, KeyArrowDown};
    for (int i = 0; i < frames; ++i) {
        if (i % 37 == 0) postMessage({MessageKind::KeyUp, keys[(i / 37) % 4], 0});
        else postMessage({MessageKind::Other, KeyOther, 0});
    }
    postQuitMessage(0);
    runFrameLoop();
}

TEST(FrameAllocations, RunningFramesAllocatesNothingWhilePhotographsArrive) {
    ScopedTempDir tmp;
    GLTestContext gl{320, 240};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    ScopedArchive archive{wholeArchive()};
    useDisplaySettings({.width = 320, .height = 240});
    VirtualScreen::configure(320, 240);
    countedThread = true;

    // Every kind of frame once, so that Mesa has compiled what it needs for
    // each (its shader compiler allocates, on its own account).
    AllocationProbe warmUp(clock);
    setUpScene(warmUp, false);
    runFrames(WARM_UP_FRAMES);

    // Then afresh, the later photographs arriving while the frames run.
    AllocationProbe probe(clock);
    setUpScene(probe, true);
    runFrames(400);
    EXPECT_EQ(probe.frames, 400);
    EXPECT_EQ(probe.photosAtFirstFrame, 1);
    EXPECT_EQ(probe.photosAtLastFrame, PHOTO_COUNT) << "every photograph arrived while the frames ran";
    EXPECT_EQ(probe.lastFrame - probe.atFirstFrame, 0) << "allocations while the frames ran";
    countedThread = false;
}

}  // namespace
