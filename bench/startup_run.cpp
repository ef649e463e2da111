// The start-up child: Run pressed to the first frame presented, stage by stage.
#include "bench/child_runs.h"

#include <GL/gl.h>  // glFinish, texture size queries

#include <cstdio>
#include <string>

#include "show/display.h"
#include "show/frame_loop.h"
#include "app/startup.h"
#include "show/scene_setup.h"
#include "assets/asset_store.h"
#include "bench/child_output.h"
#include "bench/program_probes.h"
#include "bench/stage_clock.h"
#include "platform/message_queue.h"
#include "scene/archive_photos.h"
#include "scene/photo_layer.h"

namespace {

BenchClock::time_point runPressed;
double startupMs = 0;

// What the loaded textures hold, in bytes: decoded pixels (none: a Texture
// keeps only GL names, and its Image is freed once uploaded), and the GL textures (full ones and pixelated levels other than the
// texture itself) at the bytes per texel the program hands over (3 for
// R G B, 4 for R G B A).
struct HeldBytes {
    double keptPixels = 0;
    double fullTextures = 0;
    double levels = 0;
    int textures = 0;
};

double glTextureBytes(GLuint name, int bytesPerTexel) {
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    return double(width) * height * bytesPerTexel;
}

HeldBytes heldByTextures() {
    HeldBytes held;
    AssetStore *store = AssetStore::instance();
    // Ids run from 1 without gaps; well past the 45 loads start-up makes.
    for (int id = 1; id < 4096; ++id) {
        const Texture *t = store->texture(id);
        if (!t) continue;
        const int bytesPerTexel = t->hasAlpha ? 4 : 3;
        ++held.textures;
        held.fullTextures += glTextureBytes(t->glName, bytesPerTexel);
        for (GLuint level : t->pixelatedLevels) {
            if (level != t->glName) held.levels += glTextureBytes(level, bytesPerTexel);   // not the texture itself again
        }
    }
    return held;
}

// The time line after the first frame: each frame's end (ms after Run) and
// length, and how many photographs were ready by then. Fixed arrays: the
// frames while they are recorded must not allocate.
constexpr int MAX_TIMELINE_FRAMES = 4096;
constexpr double LOADING_TIMEOUT_MS = 20000;   // a photograph that never comes ends the wait
constexpr int FRAMES_AFTER_LOADING = 30;       // frames recorded after the last photograph came
struct TimelineFrame {
    double endMs;
    double lengthMs;
    double uploadMs;   // of which uploading between frames
    int photosReady;
    long residentKb;   // VmRSS at its end
};
TimelineFrame timeline[MAX_TIMELINE_FRAMES];
int timelineFrames = 0;
double photoReadyMs[PHOTO_COUNT];
double allReadyMs = -1;
int framesSinceAllReady = 0;

// Photographs whose texture the photo layer can draw now.
int photosReady(double nowMs) {
    int ready = 0;
    AssetStore *store = AssetStore::instance();
    const PhotoSource &photos = sceneSlideshow()->source();
    for (uint32_t i = 0; i < photos.photoCount() && i < uint32_t(PHOTO_COUNT); ++i) {
        if (!store->texture(photos.photoId(i))) continue;
        ++ready;
        if (photoReadyMs[i] < 0) photoReadyMs[i] = nowMs;
    }
    return ready;
}

void reportMemory(const char *when) {
    report((std::string("rss_") + when + "_kb").c_str(), double(procStatusKb("VmRSS")));
    report((std::string("hwm_") + when + "_kb").c_str(), double(procStatusKb("VmHWM")));
}

// What the run reports once the photographs have come: when each came, the
// frames meanwhile, memory, and what the textures hold.
void reportLoading() {
    report("all_ready_ms", allReadyMs);
    for (int i = 0; i < PHOTO_COUNT; ++i) std::printf("@ photo_ready_ms %.3f\n", photoReadyMs[i]);
    for (int i = 0; i < timelineFrames; ++i) {
        std::printf("@ timeline %.3f %.3f %.3f %d %ld\n", timeline[i].endMs, timeline[i].lengthMs,
                    timeline[i].uploadMs, timeline[i].photosReady, timeline[i].residentKb);
    }
    reportMemory("loaded");
    const HeldBytes held = heldByTextures();
    report("textures", held.textures);
    report("held_pixels_bytes", held.keptPixels);
    report("held_full_textures_bytes", held.fullTextures);
    report("held_levels_bytes", held.levels);
}


// Every frame after the first, until the photographs have all come and a
// few frames more have been drawn.
void onLaterFrame() {
    const double now = millisecondsBetween(runPressed, BenchClock::now());
    const int ready = photosReady(now);
    if (timelineFrames < MAX_TIMELINE_FRAMES) {
        const double previous = timelineFrames > 0 ? timeline[timelineFrames - 1].endMs : startupMs;
        static double uploadedBefore = 0;
        const double uploaded = uploadMsBetweenFrames();
        timeline[timelineFrames++] = {now, now - previous, uploaded - uploadedBefore, ready, procStatusKb("VmRSS")};
        uploadedBefore = uploaded;
    }
    if (ready == PHOTO_COUNT && allReadyMs < 0) allReadyMs = now;
    if (allReadyMs >= 0) ++framesSinceAllReady;
    if (framesSinceAllReady < FRAMES_AFTER_LOADING && now < LOADING_TIMEOUT_MS &&
        timelineFrames < MAX_TIMELINE_FRAMES) {
        return;
    }
    setFrameHook(nullptr);
    reportLoading();   // while the store still holds the textures
    postQuitMessage(0);
}

void onFirstFrame() {
    glFinish();  // the frame is on the screen, not only queued
    endStage();  // Stage::FirstFrame
    startupMs = millisecondsBetween(runPressed, BenchClock::now());
    reportMemory("first_frame");
    const int ready = photosReady(startupMs);
    report("photos_ready_first_frame", ready);
    if (ready == PHOTO_COUNT) allReadyMs = startupMs;
    setFrameHook(onLaterFrame);
}

}  // namespace

int runStartupChild(int width, int height) {
    for (double &ready : photoReadyMs) ready = -1;
    report("rss_process_start_kb", double(procStatusKb("VmRSS")));
    const long faultsAtStart = minorPageFaults();
    runPressed = BenchClock::now();

    // As dorirovaMain after Run; the display's opening is its own stage.
    beginStage(Stage::SceneRest);
    const bool displayed = startPresentation({.width = width, .height = height});
    endStage();
    if (!displayed) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    report("rss_display_kb", double(displayResidentKb()));

    setFrameHook(onFirstFrame);
    beginStage(Stage::FirstFrame);
    runFrameLoop();  // frames until every photograph has come, then the quit the hook posted

    for (int s = 0; s < int(Stage::Count); ++s) {
        const StageCost &cost = stageCost(Stage(s));
        std::printf("@ loader_ms_%s %.4f\n", stageKey(Stage(s)), loaderMs(Stage(s)));
        std::printf("@ ms_%s %.4f\n@ faults_%s %ld\n", stageKey(Stage(s)), cost.ms, stageKey(Stage(s)),
                    cost.faults);
    }
    report("startup_ms", startupMs);
    report("startup_faults", double(minorPageFaults() - faultsAtStart));
    report("uploaded_bytes", double(uploadedBytes()));
    const ProbeCalls &calls = probeCalls();
    report("calls_archive_copy", calls.archiveCopy);
    report("calls_extraction", calls.extraction);
    report("calls_temp_removal", calls.tempRemovals);
    report("calls_decode_jpeg", calls.decodeJpeg);
    report("calls_decode_png", calls.decodePng);
    report("calls_levels", calls.levels);
    report("calls_uploads", calls.uploads);
    report("calls_music", calls.music);
    report("calls_swaps", calls.swaps);
    report("photos_loaded", double(sceneSlideshow()->source().photoCount()));
    return 0;
}

