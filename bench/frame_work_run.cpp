// The frame-work child: a fixed number of frames of the real loop on a driven
// clock, everything loaded, for counting their instructions under callgrind
// (bench/frame_instructions.sh): a figure that other work on a shared machine
// does not move, for comparing two builds.
#include "bench/child_runs.h"

#include <valgrind/callgrind.h>  // zeroing and dumping the counts around the measured frames

#include <cstdio>

#include "show/display.h"
#include "show/frame_loop.h"
#include "show/scene_setup.h"
#include "assets/asset_store.h"
#include "bench/floor_quad.h"
#include "bench/program_probes.h"
#include "platform/clock.h"
#include "platform/message_queue.h"
#include "scene/photo_layer.h"
#include "scene/virtual_screen.h"

namespace {

constexpr int WARM_UP_FRAMES = 30;   // every kind of frame once: llvmpipe compiles its shaders

int64_t drivenTicks = 0;             // what the layers' stopwatches read, nanoseconds

int frames = 0, measuredFrames = 0;
int64_t frameStepNs = 0;
bool keepTransitioning = false;

// Moves the clock on a frame: 16 ms, or in the transition kind 61 ms (a step
// every frame), jumping to the end of each photograph's display.
void onFrame() {
    driveStopwatches(drivenTicks += frameStepNs);
    if (keepTransitioning) {
        const SlideshowState &slideshow = sceneSlideshow()->state();
        const uint32_t shown = slideshow.displayClock.elapsedMs();
        if (slideshow.fadeStep == 0 && shown <= DISPLAY_MS) drivenTicks += int64_t(DISPLAY_MS + 1 - shown) * 1000000;
        driveStopwatches(drivenTicks);
    }
    ++frames;
    if (frames == WARM_UP_FRAMES) CALLGRIND_ZERO_STATS;
    if (frames == WARM_UP_FRAMES + measuredFrames) {
        CALLGRIND_DUMP_STATS_AT("measured frames");
        setFrameHook(nullptr);
        postQuitMessage(0);
    }
}

}  // namespace

int runFrameWorkChild(int width, int height, const std::string &kind, int count) {
    if (!createDisplay(width, height, false)) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    drivenTicks = performanceCounter();
    driveStopwatches(drivenTicks);
    if (kind == "quad") {
        setUpFloorQuad(width, height);
    } else {
        initScene(width, height);
        AssetStore::instance()->finishLoading();
    }
    keepTransitioning = kind == "transition";
    frameStepNs = (keepTransitioning ? 61 : 16) * int64_t(1000000);
    measuredFrames = count;
    setFrameHook(onFrame);
    runFrameLoop();
    std::printf("@ work_frames %d\n", measuredFrames);
    return 0;
}
