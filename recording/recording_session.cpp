#include "recording/recording_session.h"

#include <unistd.h>   // isatty

#include <cstdio>

#include "assets/asset_store.h"
#include "platform/message_queue.h"
#include "platform/offscreen_context.h"
#include "platform/printable_text.h"
#include "recording/progress_line.h"
#include "recording/soundtrack.h"
#include "scene/virtual_screen.h"
#include "show/display.h"
#include "show/frame_loop.h"
#include "show/music.h"
#include "show/scene_setup.h"

namespace {

// The ticks the layers' stopwatches read at time 0 while recording: the
// recording drives them, moving them only when a frame is due. Away from 0,
// like a real counter; nanoseconds, performanceFrequency's unit.
constexpr int64_t COUNTER_AT_TIME_ZERO = 1000000000;

struct RecordingSession {
    std::vector<ScriptedKey> keys;
    size_t nextKey = 0;                       // the first key not yet released
};
// Made by the first session and kept to the process end: nothing of it is
// built before main.
RecordingSession *current = nullptr;

RecordingSession &sessionRecord() {
    if (!current) current = new RecordingSession;
    return *current;
}

}  // namespace

bool openRecordingSession(int32_t width, int32_t height, const std::vector<ScriptedKey> &keys, std::string &error,
                        bool keepAspect) {
    RecordingSession &session = sessionRecord();
    session = RecordingSession{};
    session.keys = keys;
    if (!createOffscreenContext(width, height)) {
        error = offscreenFailureReason();
        return false;
    }
    // The clock stands still while everything loads: the layers' clocks
    // start with the first frame, at time 0.
    driveStopwatches(COUNTER_AT_TIME_ZERO);
    resetScene();   // a session before this one in the process left its scene
    useDisplaySettings({.width = width, .height = height, .keepAspect = keepAspect});
    initScene(width, height);
    // A recording starts from the complete picture: every photograph is
    // here before the first frame, so no frame depends on the loading's pace.
    AssetStore::instance()->finishLoading();
    startRunning();
    return true;
}

std::string recordingSceneShortfall(bool withMusic) {
    const AssetStore *store = AssetStore::instance();
    const int failedImages = store->failedLoads();
    // A silent show has no music to miss: its soundtrack is silence.
    const bool musicMissing =
        withMusic && !musicState().silentShow && (!musicState().musicSound || musicSeconds() <= 0);
    if (failedImages == 0 && !musicMissing) return "";
    const std::string cause = store->extractionFailure();
    if (!cause.empty()) return cause;
    return failedImages > 0 ? std::to_string(failedImages) + " of the presentation's images did not load"
                            : "the music did not load";
}

bool drawRecordingFrame(int64_t atNs) {
    RecordingSession &session = sessionRecord();
    for (; session.nextKey < session.keys.size() && session.keys[session.nextKey].atNs <= atNs; ++session.nextKey) {
        postMessage({MessageKind::KeyUp, session.keys[session.nextKey].key, 0});
    }
    driveStopwatches(COUNTER_AT_TIME_ZERO + atNs);
    // What the last frame asked for (the viewer's own photographs load a few
    // at a time) is here before this one: no frame depends on the loading's pace.
    AssetStore::instance()->finishLoading();
    int endStatus = 0;   // any end is an interruption here
    if (!drawFrame(endStatus)) return false;
    // Each frame is waited for, read back or not: a still's frames before its
    // moment would otherwise queue up, and their memory with them.
    finishOffscreenFrame();
    return true;
}

void readRecordingFrame(uint8_t *pixels, PixelOrder order) { readOffscreenFrame(pixels, order); }

void closeRecordingSession() {
    shutdown();
    releaseStopwatches();
    destroyOffscreenContext();
}

bool recordingQuitRequested() {
    Message message;
    while (peekMessage(message)) {
        if (message.kind == MessageKind::Quit) return true;
    }
    return false;
}

RecordingReport::RecordingReport(int64_t totalFrames)
    : terminal(isatty(STDERR_FILENO) == 1), total(totalFrames), start(std::chrono::steady_clock::now()) {}

double RecordingReport::elapsedSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RecordingReport::frameDone(int64_t done) {
    if (!terminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn && done < total && now - lastDrawn < std::chrono::milliseconds(250)) return;
    lastDrawn = now;
    drawn = true;
    std::fprintf(stderr, "\r%s\033[K", progressLine(done, total, elapsedSeconds()).c_str());
    std::fflush(stderr);
}

void RecordingReport::clear() {
    if (terminal && drawn) std::fprintf(stderr, "\r\033[K");
    drawn = false;
}

void RecordingReport::finished(const std::string &summary) {
    clear();
    if (terminal) std::fprintf(stderr, "%s\n", summary.c_str());
}

void RecordingReport::interrupted(const std::string &file) {
    clear();
    if (terminal) std::fprintf(stderr, "interrupted: %s not written\n", printableText(file).c_str());
}
