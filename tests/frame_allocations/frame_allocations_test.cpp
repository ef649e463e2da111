// Once the frames run, nothing allocates: every layer and the loop draw a few
// hundred frames without a single call of operator new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "app/display.h"
#include "assets/archive_format.h"
#include "app/frame_loop.h"
#include "scene/background_layer.h"
#include "scene/logo_layer.h"
#include "scene/photo_layer.h"
#include "scroller/scroller_layer.h"
#include "tests/scroller/scroller_fixture.h"
#include "tests/support/fake_clock.h"
#include "tests/support/temp_dir.h"

// Every allocation of this test program passes through here.
static std::atomic<long> allocations{0};

// Outside the operators, so the compiler does not pair free with new.
static void release(void *p) { std::free(p); }

static void *allocate(std::size_t size, std::size_t alignment = 0) {
    ++allocations;
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

// Counts the allocations between its 200th draw and its last, and moves the
// clock on by 16 ms each frame so transitions and scrolling happen. The first
// 200 frames go through every kind of frame once, so that Mesa has compiled
// what it needs for each (its shader compiler allocates, on its own account).
class AllocationProbe : public Layer {
public:
    explicit AllocationProbe(FakeClock &clock) : clock(clock) {}
    bool init() override { return true; }
    void draw(int) override {
        ++frames;
        if (frames == WARM_UP_FRAMES) atWarmUp = allocations.load();
        lastFrame = allocations.load();
        clock.advanceMs(frames % 50 == 0 ? 4100 : 16);   // now and then a jump into a transition
    }
    void onKey(int) override {}
    int frames = 0;
    long atWarmUp = 0, lastFrame = 0;

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

TEST(FrameAllocations, RunningFramesAllocatesNothing) {
    ScopedTempDir tmp;
    GLTestContext gl{320, 240};
    ASSERT_TRUE(gl.ok());
    FakeClock clock;
    ScopedArchive archive{wholeArchive()};
    display.displayWidth = 320;
    display.displayHeight = 240;
    VirtualScreen::configure(320, 240);
    AllocationProbe probe(clock);
    LayerStack &stack = LayerStack::instance();
    stack.layers = {new BackgroundLayer, new PhotoLayer, new ScrollerLayer, new LogoLayer, &probe};
    stack.state = Created;
    stack.initAll();
    clearMessages();
    const int keys[] = {KeyArrowLeft, KeyArrowRight, KeyArrowUp, KeyArrowDown};
    for (int i = 0; i < 400; ++i) {
        if (i % 37 == 0) postMessage({MessageKind::KeyUp, keys[(i / 37) % 4], 0});
        else postMessage({MessageKind::Other, KeyOther, 0});
    }
    postQuitMessage(0);
    runFrameLoop();
    EXPECT_EQ(probe.frames, 400);
    EXPECT_EQ(probe.lastFrame - probe.atWarmUp, 0) << "allocations while the frames ran";
}

}  // namespace
