// Stage spans: a small fixed stack, so measuring allocates nothing.
#include "bench/stage_clock.h"

#include <sys/resource.h>  // getrusage: minor page faults

#include <chrono>

using Clock = std::chrono::steady_clock;

namespace {

struct OpenSpan {
    Stage stage = Stage::Count;
    Clock::time_point start;
    long startFaults = 0;
    double innerMs = 0;    // what nested spans took, not this stage's
    long innerFaults = 0;
};

constexpr int MAX_DEPTH = 16;
OpenSpan openSpans[MAX_DEPTH];
int depth = 0;
StageCost costs[int(Stage::Count)];

const char *const KEYS[int(Stage::Count)] = {
    "display", "archive_copy", "extraction", "temp_removal", "decode_jpeg", "decode_png", "levels",
    "upload_image", "upload_levels", "music", "scene_rest", "first_frame",
};

}  // namespace

long minorPageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void beginStage(Stage stage) {
    if (depth == MAX_DEPTH) return;
    openSpans[depth++] = {stage, Clock::now(), minorPageFaults(), 0, 0};
}

void endStage() {
    if (depth == 0) return;
    const OpenSpan &span = openSpans[--depth];
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - span.start).count();
    const long faults = minorPageFaults() - span.startFaults;
    StageCost &cost = costs[int(span.stage)];
    cost.ms += ms - span.innerMs;
    cost.faults += faults - span.innerFaults;
    cost.spans += 1;
    if (depth > 0) {
        openSpans[depth - 1].innerMs += ms;
        openSpans[depth - 1].innerFaults += faults;
    }
}

Stage currentStage() { return depth > 0 ? openSpans[depth - 1].stage : Stage::Count; }

const StageCost &stageCost(Stage stage) { return costs[int(stage)]; }

const char *stageKey(Stage stage) { return KEYS[int(stage)]; }
