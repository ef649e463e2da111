#include "recording/recording.h"

#include <sys/stat.h>   // the finished file's size

#include <cctype>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "recording/bounded_queue.h"
#include "recording/recording_session.h"
#include "recording/progress_line.h"
#include "recording/soundtrack.h"
#include "scene/archive_photos.h"
#include "scene/photo_layer.h"
#include "show/show_content.h"
#include "assets/png_encoding.h"
#include "platform/message_queue.h"
#include "platform/partial_file.h"
#include "platform/printable_text.h"
#include "platform/video_file.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t NS_PER_SECOND = 1000000000;
// Frames between drawing and encoding: enough to keep both threads busy,
// few enough that memory stays flat (each is width x height x 4 bytes).
constexpr size_t FRAMES_IN_FLIGHT = 3;

// One frame on its way to the encoder, with the sound that plays during it.
struct FrameSlot {
    std::vector<uint8_t> bgra;
    std::vector<float> sound;   // interleaved stereo
    size_t soundFrames = 0;
};
using SlotQueue = BoundedQueue<std::unique_ptr<FrameSlot>>;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

int fail(const std::string &file, const std::string &reason) {
    std::fprintf(stderr, "dorirova: %s: %s\n", printableText(file).c_str(), reason.c_str());
    return EXIT_STATUS_FAILED;
}

bool hasPngExtension(const std::string &path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() < 5) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char &c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".png";
}

// Sound frames from time 0 to the start of video frame i.
int64_t soundFramesBefore(int64_t frame, int32_t fps) { return frame * SOUNDTRACK_RATE / fps; }

// The encoding thread: takes drawn frames, encodes them and hands the slots
// back. On a failure it closes both queues, which stops the drawing.
void encodeFrames(VideoFile *video, SlotQueue &drawn, SlotQueue &empty) {
    std::unique_ptr<FrameSlot> slot;
    while (drawn.take(slot)) {
        if (!videoFileWriteFrame(video, slot->bgra.data()) ||
            !videoFileWriteSound(video, slot->sound.data(), slot->soundFrames)) {
            drawn.close();
            empty.close();
            return;
        }
        empty.put(slot);
    }
}

uint64_t fileSize(const std::string &path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? uint64_t(status.st_size) : 0;
}

}  // namespace

int64_t frameTimeNs(int64_t frame, int32_t fps) { return frame * NS_PER_SECOND / fps; }

// The output in its unfinished state and the display-less scene with all it
// needs (the music too, withMusic); false, with the reason in error and no
// file left, when any of it cannot be had.
static bool openOutputAndScene(const RecordingSettings &settings, bool withMusic, PartialFile &output,
                               std::string &error) {
    if (!openPartialFile(settings.file, output, error)) {
        error = "cannot write: " + error;
        return false;
    }
    if (!openRecordingSession(settings.width, settings.height, settings.keys, error, settings.keepAspect)) {
        discardPartialFile(output);
        error = "cannot draw without a display: " + error;
        return false;
    }
    error = recordingSceneShortfall(withMusic);
    if (!error.empty()) {
        closeRecordingSession();
        discardPartialFile(output);
        return false;
    }
    return true;
}

int64_t frameShownAt(int64_t atNs, int32_t fps) {
    int64_t frame = atNs * fps / NS_PER_SECOND;
    // Frame times are rounded down to whole nanoseconds: the next one's may be atNs itself.
    if (frameTimeNs(frame + 1, fps) <= atNs) ++frame;
    return frame;
}

int64_t frameCountFor(int64_t lengthNs, int32_t fps) {
    return (lengthNs * fps + NS_PER_SECOND - 1) / NS_PER_SECOND;
}

namespace {

// The slots frames travel in from the drawing to the encoder, all empty.
void fillEmptySlots(SlotQueue &empty, const RecordingSettings &settings) {
    for (size_t i = 0; i < FRAMES_IN_FLIGHT; ++i) {
        auto slot = std::make_unique<FrameSlot>();
        slot->bgra.resize(size_t(settings.width) * size_t(settings.height) * 4);
        slot->sound.resize(size_t(SOUNDTRACK_RATE / settings.fps + 1) * 2);
        empty.put(slot);
    }
}

// Draws the frames into empty slots, with the sound that plays during each,
// and hands them to the encoder: until total are done, the encoder takes no
// more (it failed), or a quit comes (interrupted). Returns how many were done.
int64_t drawVideoFrames(const RecordingSettings &settings, int64_t total, SlotQueue &drawn, SlotQueue &empty,
                        RecordingTimes &spent, RecordingReport &report, bool &interrupted) {
    int64_t done = 0;
    std::unique_ptr<FrameSlot> slot;
    for (; done < total && empty.take(slot); ++done) {
        Clock::time_point step = Clock::now();
        if (!drawRecordingFrame(frameTimeNs(done, settings.fps))) {
            interrupted = true;
            break;
        }
        readRecordingFrame(slot->bgra.data(), PixelOrder::Bgra);
        spent.render += secondsSince(step);
        step = Clock::now();
        slot->soundFrames = size_t(soundFramesBefore(done + 1, settings.fps) - soundFramesBefore(done, settings.fps));
        renderSoundtrack(slot->sound.data(), slot->soundFrames);
        spent.sound += secondsSince(step);
        if (!drawn.put(slot)) break;
        report.frameDone(done + 1);
    }
    return done;
}

// The video's end once its frames are drawn and the encoder has stopped: the
// file finished and put in place, or nothing left of it. The exit status.
int finishVideo(const RecordingSettings &settings, PartialFile &output, VideoFile *video, bool complete,
                bool interrupted, RecordingReport &report, RecordingTimes &spent) {
    std::string error;
    // A failed encoder stopped the drawing early; finishing then says why.
    const bool written = !interrupted && videoFileFinish(video, error) && complete;
    const VideoFileTimes encoding = videoFileTimes(video);
    videoFileClose(video);
    interrupted = interrupted || recordingQuitRequested();
    if (interrupted || !written) {
        discardPartialFile(output);
        if (interrupted) {
            report.interrupted(settings.file);
            return EXIT_STATUS_INTERRUPTED;
        }
        report.clear();
        return fail(settings.file, error);
    }
    if (!completePartialFile(output, error)) {
        report.clear();
        return fail(settings.file, "cannot write: " + error);
    }
    spent.convert = encoding.convert;
    spent.encode = encoding.encode;
    return EXIT_STATUS_OK;
}

}  // namespace

int64_t defaultVideoLengthNs() {
    if (musicSeconds() > 0) return int64_t(musicSeconds() * double(NS_PER_SECOND) + 0.5);
    // Without music, each photograph once: its four seconds and its transition.
    const ShowContent &content = showContent();
    const int64_t photos = content.photoList ? content.photoList->count() : PHOTO_COUNT;
    constexpr int64_t PHOTO_SHOW_NS = (DISPLAY_MS + FADE_STEPS * STEP_MS) * int64_t(1000000);   // 4.42 s
    return photos * PHOTO_SHOW_NS;
}

int recordVideo(const RecordingSettings &settings, RecordingTimes *times) {
    const Clock::time_point started = Clock::now();
    installQuitSignals();   // from the start: a Ctrl+C while loading counts too
    RecordingTimes spent;
    const VideoContainer container = videoContainerForName(settings.file);
    if (container == VideoContainer::None) return fail(settings.file, "unknown extension (.mp4, .mkv or .webm)");
    PartialFile output;
    std::string error;
    if (!openOutputAndScene(settings, true, output, error)) return fail(settings.file, error);
    spent.load = secondsSince(started);
    startSoundtrack();
    const int64_t lengthNs = settings.lengthNs >= 0 ? settings.lengthNs : defaultVideoLengthNs();
    const int64_t total = std::max<int64_t>(1, frameCountFor(lengthNs, settings.fps));

    const VideoFileFormat format = {container, settings.width, settings.height, settings.fps, SOUNDTRACK_RATE, true};
    VideoFile *video = videoFileOpen(output.writePath, format, error);
    if (!video) {
        closeRecordingSession();
        discardPartialFile(output);
        return fail(settings.file, "cannot record: " + error);
    }

    SlotQueue drawn(FRAMES_IN_FLIGHT), empty(FRAMES_IN_FLIGHT);
    fillEmptySlots(empty, settings);
    std::thread encoder(encodeFrames, video, std::ref(drawn), std::ref(empty));
    RecordingReport report(total);
    bool interrupted = false;
    const int64_t done = drawVideoFrames(settings, total, drawn, empty, spent, report, interrupted);
    drawn.close();
    encoder.join();
    closeRecordingSession();

    const int status = finishVideo(settings, output, video, done == total, interrupted, report, spent);
    if (status != EXIT_STATUS_OK) return status;
    spent.frames = done;
    spent.total = secondsSince(started);
    if (times) *times = spent;
    report.finished(summaryLine(printableText(settings.file), fileSize(settings.file), double(total) / settings.fps,
                                spent.total));
    return EXIT_STATUS_OK;
}

int recordStill(const RecordingSettings &settings) {
    const Clock::time_point started = Clock::now();
    installQuitSignals();
    if (!hasPngExtension(settings.file)) return fail(settings.file, "unknown extension (a still is .png)");
    PartialFile output;
    std::string error;
    if (!openOutputAndScene(settings, false, output, error)) return fail(settings.file, error);
    // The frame a video shows at the moment, the last to begin by then, and
    // every frame before it, as the video draws them.
    const int64_t shown = frameShownAt(settings.stillNs, settings.fps);
    RecordingReport report(shown + 1);
    bool drawnAll = true;
    for (int64_t i = 0; i <= shown && drawnAll; ++i) {
        drawnAll = drawRecordingFrame(frameTimeNs(i, settings.fps));
        report.frameDone(i + 1);
    }
    std::vector<uint8_t> frame(size_t(settings.width) * size_t(settings.height) * 4);
    if (drawnAll) readRecordingFrame(frame.data());
    closeRecordingSession();
    if (!drawnAll || recordingQuitRequested()) {
        discardPartialFile(output);
        report.interrupted(settings.file);
        return EXIT_STATUS_INTERRUPTED;
    }
    if (!savePngFrame(output.writePath, frame.data(), settings.width, settings.height, error) ||
        !completePartialFile(output, error)) {
        discardPartialFile(output);
        report.clear();
        return fail(settings.file, "cannot write: " + error);
    }
    report.finished(printableText(settings.file) + ": " + sizeText(fileSize(settings.file)) + ", " +
                    std::to_string(settings.width) + " x " + std::to_string(settings.height) + ", recorded in " +
                    clockText(secondsSince(started)));
    return EXIT_STATUS_OK;
}
