// The frame-rate children: the real loop with the scene, with the scene kept
// in its transitions, with the floor's one quad, or with no layers; and the
// layers' costs one by one.
#include "bench/child_runs.h"

#include <GL/gl.h>  // glGetString, glFinish, the frame's set-up for the split

#include <cxxabi.h>  // layer class names for the report
#include <typeinfo>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "show/display.h"
#include "show/frame_loop.h"
#include "show/scaled_frame.h"
#include "show/scene_setup.h"
#include "assets/asset_store.h"
#include "bench/child_output.h"
#include "bench/floor_quad.h"
#include "bench/program_probes.h"
#include "platform/clock.h"
#include "platform/display_window.h"
#include "platform/message_queue.h"
#include "scene/photo_layer.h"
#include "scene/virtual_screen.h"

namespace {

constexpr double WARM_UP_MS = 1000;   // first frames: shader compiles, caches
constexpr double WINDOW_MS = 500;     // frame rate is also reported per window

double measureMs = 0;
bool warmingUp = false, measuring = false;
BenchClock::time_point firstSwap, measureStart, windowStart, lastSwap;
long frames = 0, windowFrames = 0;
std::vector<double> windowFps;
std::vector<double> frameMs;
bool keepTransitioning = false;

// The transition kind drives the layers' stopwatches at the performance
// counter moved on by counterJump nanoseconds, which jumps to the end of
// each photograph's display, so that nearly every frame is a transition frame.
int64_t counterJump = 0;
void driveJumped() { driveStopwatches(performanceCounter() + counterJump); }

// After a frame shown plainly, the next one begins the transition.
void jumpToTransition() {
    driveJumped();
    const SlideshowState &slideshow = sceneSlideshow()->state();
    const uint32_t shown = slideshow.displayClock.elapsedMs();
    if (slideshow.fadeStep == 0 && shown <= DISPLAY_MS) counterJump += int64_t(DISPLAY_MS + 1 - shown) * 1000000;
    driveJumped();
}

void onFrame() {
    if (keepTransitioning) jumpToTransition();
    const BenchClock::time_point now = BenchClock::now();
    if (!warmingUp && !measuring) {
        warmingUp = true;
        firstSwap = now;
        return;
    }
    if (warmingUp) {
        if (millisecondsBetween(firstSwap, now) < WARM_UP_MS) return;
        warmingUp = false;
        measuring = true;
        measureStart = windowStart = lastSwap = now;
        return;
    }
    ++frames;
    ++windowFrames;
    frameMs.push_back(millisecondsBetween(lastSwap, now));
    lastSwap = now;
    if (millisecondsBetween(windowStart, now) >= WINDOW_MS) {
        windowFps.push_back(windowFrames * 1000.0 / millisecondsBetween(windowStart, now));
        windowStart = now;
        windowFrames = 0;
    }
    if (millisecondsBetween(measureStart, now) >= measureMs) {
        setFrameHook(nullptr);
        postQuitMessage(0);
    }
}

}  // namespace

int runFramesChild(int width, int height, const std::string &kind, double seconds) {
    if (!createDisplay(width, height, false)) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    if (kind == "scaled") {
        // The window keeps its size; the frame, and the scene in it, are 1024 x 768.
        useDisplaySettings({.width = 1024, .height = 768});
        if (!openScaledFrame(1024, 768)) return 1;
        initScene(1024, 768);
        AssetStore::instance()->finishLoading();
    }
    if (kind == "scene" || kind == "transition") {
        initScene(width, height);
        AssetStore::instance()->finishLoading();   // frames once everything is loaded
    }
    if (kind == "quad") setUpFloorQuad(width, height);
    if (kind == "transition") {
        keepTransitioning = true;
        driveJumped();
    }
    std::printf("@ renderer %s\n", reinterpret_cast<const char *>(glGetString(GL_RENDERER)));
    measureMs = seconds * 1000;
    windowFps.reserve(size_t(seconds * 1000 / WINDOW_MS) + 4);
    frameMs.reserve(1 << 20);  // the loop must not allocate while it is measured
    setFrameHook(onFrame);
    runFrameLoop();

    const double elapsed = millisecondsBetween(measureStart, lastSwap);
    report("frames", double(frames));
    report("elapsed_ms", elapsed);
    report("fps", frames * 1000.0 / elapsed);
    std::printf("@ window_fps");
    for (double fps : windowFps) std::printf(" %.2f", fps);
    std::printf("\n");
    std::sort(frameMs.begin(), frameMs.end());
    if (!frameMs.empty()) {
        report("frame_ms_median", frameMs[frameMs.size() / 2]);
        report("frame_ms_p95", frameMs[frameMs.size() * 95 / 100]);
        report("frame_ms_max", frameMs.back());
    }
    return 0;
}

// The class name of a layer, for the report ("PhotoLayer").
static std::string layerName(const Layer &layer) {
    int status = 0;
    char *name = abi::__cxa_demangle(typeid(layer).name(), nullptr, nullptr, &status);
    std::string result = status == 0 && name ? name : typeid(layer).name();
    std::free(name);
    return result;
}

int runLayerCostsChild(int width, int height, double seconds) {
    if (!createDisplay(width, height, false)) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    initScene(width, height);
    LayerStack &stack = LayerStack::instance();
    stack.state = Running;
    const size_t count = stack.layers.size();
    std::vector<double> layerMs(count, 0);
    double clearMs = 0, swapMs = 0;
    long measured = 0;

    // The frame as runFrameLoop draws it, with the work finished after each
    // step so that each is charged with its own rasterisation.
    const BenchClock::time_point start = BenchClock::now();
    for (;;) {
        const BenchClock::time_point frameStart = BenchClock::now();
        const bool counted = millisecondsBetween(start, frameStart) >= WARM_UP_MS;
        if (millisecondsBetween(start, frameStart) >= WARM_UP_MS + seconds * 1000) break;
        Message message;
        while (peekMessage(message)) {}
        setUpFrame();   // the loop's own start of a frame, at the size createDisplay recorded
        glFinish();
        BenchClock::time_point mark = BenchClock::now();
        if (counted) clearMs += millisecondsBetween(frameStart, mark);
        for (size_t i = 0; i < count; ++i) {
            stack.layers[i]->draw();
            glFinish();
            const BenchClock::time_point now = BenchClock::now();
            if (counted) layerMs[i] += millisecondsBetween(mark, now);
            mark = now;
        }
        swapBuffers();
        if (counted) {
            swapMs += millisecondsBetween(mark, BenchClock::now());
            ++measured;
        }
    }
    report("split_frames", double(measured));
    report("split_clear_ms", clearMs / double(measured));
    report("split_swap_ms", swapMs / double(measured));
    for (size_t i = 0; i < count; ++i) {
        std::printf("@ split_layer %s %.4f\n", layerName(*stack.layers[i]).c_str(), layerMs[i] / double(measured));
    }
    shutdown();  // as the loop would end: the music's and the archive's temporary files go
    return 0;
}
