// The own-show child: the viewer's photographs from a folder, live in the
// real window on the real clock, from Run to the first frame, through a few
// transitions, then through a run of Right presses faster than photographs
// decode; when each transition began against its due time, the frames'
// lengths, and the peak resident memory of it all.
#include "bench/child_runs.h"

#include <GL/gl.h>  // glFinish

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/child_output.h"
#include "bench/program_probes.h"
#include "platform/key_codes.h"
#include "platform/message_queue.h"
#include "scene/photo_layer.h"
#include "show/frame_loop.h"
#include "show/scene_setup.h"
#include "show/show_content.h"

namespace {

constexpr int FRAMES_BETWEEN_PRESSES = 3;
constexpr int MAX_FRAMES = 20000;

struct OwnShowRun {
    BenchClock::time_point runPressed, plainUntil;
    double startupMs = 0;
    bool firstFrame = true;
    BenchClock::time_point lastFrame;
    std::vector<double> frameMs;        // plain running, after the first frame
    std::vector<double> lateMs;         // each transition's start after its due time
    bool inTransition = false;
    int pressesLeft = 0, framesToPress = 0;
    int frames = 0;
};
OwnShowRun run;

void onFrame() {
    const BenchClock::time_point now = BenchClock::now();
    const SlideshowState &slideshow = sceneSlideshow()->state();
    if (run.firstFrame) {
        glFinish();   // on the screen, not only queued
        run.startupMs = millisecondsBetween(run.runPressed, BenchClock::now());
        run.firstFrame = false;
        run.lastFrame = now;
        return;
    }
    ++run.frames;
    if (now < run.plainUntil) {
        run.frameMs.push_back(millisecondsBetween(run.lastFrame, now));
        // A transition begins in the first frame past the photograph's time,
        // once the next one is here: how far past, this frame tells.
        if (slideshow.stepClockStarted && !run.inTransition) {
            run.lateMs.push_back(double(slideshow.displayClock.elapsedMs()) - DISPLAY_MS);
        }
        run.inTransition = slideshow.stepClockStarted;
    } else if (run.pressesLeft > 0) {
        if (--run.framesToPress <= 0) {
            postMessage({MessageKind::KeyUp, KeyArrowRight, 0});
            --run.pressesLeft;
            run.framesToPress = FRAMES_BETWEEN_PRESSES;
        }
    } else if (!slideshow.awaitingPhoto || run.frames > MAX_FRAMES) {
        setFrameHook(nullptr);
        postQuitMessage(0);
    }
    run.lastFrame = now;
}

double median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int runOwnShowChild(const std::string &folder, int width, int height, double seconds, int presses) {
    run.runPressed = BenchClock::now();
    ShowContent &content = showContent();
    content.photoPaths = {folder};
    const std::string fault = checkShowPhotos(content);
    if (!fault.empty()) {
        std::fprintf(stderr, "dorirova_bench: %s\n", fault.c_str());
        return 1;
    }
    if (!startPresentation({.width = width, .height = height})) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    run.plainUntil = BenchClock::now() + std::chrono::milliseconds(int64_t(seconds * 1000));
    run.pressesLeft = presses;
    setFrameHook(onFrame);
    runFrameLoop();
    report("photos", content.photoList->count());
    report("startup_ms", run.startupMs);
    report("frame_ms", median(run.frameMs));
    report("transitions", double(run.lateMs.size()));
    report("late_ms", run.lateMs.empty() ? -1 : *std::max_element(run.lateMs.begin(), run.lateMs.end()));
    report("hwm_kb", double(procStatusKb("VmHWM")));
    return 0;
}
