// The start-up child: Run pressed to the first frame presented, stage by stage.
#include "bench/child_runs.h"

#include <GL/gl.h>  // glFinish, texture size queries

#include <cstdio>

#include "app/display.h"
#include "app/frame_loop.h"
#include "app/startup.h"
#include "assets/asset_store.h"
#include "bench/child_output.h"
#include "bench/program_probes.h"
#include "bench/stage_clock.h"
#include "platform/message_queue.h"
#include "scene/photo_layer.h"

namespace {

BenchClock::time_point runPressed;
double startupMs = 0;

// What the loaded textures hold by design, in bytes: the decoded pixels each
// Texture keeps, and the GL textures (full ones and pixelated levels) at the
// bytes per texel the program hands over (3 for R G B, 4 for R G B A).
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
        held.keptPixels += t->pixels ? double(t->textureWidth) * t->textureHeight * bytesPerTexel : 0;
        held.fullTextures += glTextureBytes(t->glName, bytesPerTexel);
        for (GLuint level : t->pixelatedLevels) held.levels += glTextureBytes(level, bytesPerTexel);
    }
    return held;
}

void onFirstFrame() {
    glFinish();  // the frame is on the screen, not only queued
    endStage();  // Stage::FirstFrame
    startupMs = millisecondsBetween(runPressed, BenchClock::now());
    setFrameHook(nullptr);
    report("rss_first_frame_kb", double(procStatusKb("VmRSS")));
    report("hwm_first_frame_kb", double(procStatusKb("VmHWM")));
    const HeldBytes held = heldByTextures();
    report("textures", held.textures);
    report("held_pixels_bytes", held.keptPixels);
    report("held_full_textures_bytes", held.fullTextures);
    report("held_levels_bytes", held.levels);
    postQuitMessage(0);
}

}  // namespace

int runStartupChild(int width, int height) {
    report("rss_process_start_kb", double(procStatusKb("VmRSS")));
    const long faultsAtStart = minorPageFaults();
    runPressed = BenchClock::now();

    beginStage(Stage::Display);
    const bool displayed = createDisplay(width, height, false);
    endStage();
    if (!displayed) {
        std::fprintf(stderr, "dorirova_bench: no %d x %d window (is DISPLAY set?)\n", width, height);
        return 1;
    }
    report("rss_after_display_kb", double(procStatusKb("VmRSS")));

    beginStage(Stage::SceneRest);
    initScene(width, height);
    endStage();

    setFrameHook(onFirstFrame);
    beginStage(Stage::FirstFrame);
    runFrameLoop();  // one frame, then the quit the hook posted, then shutdown

    for (int s = 0; s < int(Stage::Count); ++s) {
        const StageCost &cost = stageCost(Stage(s));
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
    report("photos_loaded", double(slideshow.photoIds.size()));
    return 0;
}

