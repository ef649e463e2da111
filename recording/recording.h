#pragma once
// Recordings: the presentation as a video file with its music, or as one
// still, drawn without a display and exactly: frame i shows presentation
// time i / fps, drawn by the same scene set-up and frame code as the window
// with the clock set to that time (no sleeping, no wall clock), and the
// soundtrack is the music as the sound system plays it from the first
// frame. Time 0 is the end of loading: the first frame.
//
// A still at T is the frame a video with the same size, rate and keys shows
// at T (the last to begin by then), drawn after every frame before it as the
// video draws them, because the slideshow's transition moves at most one
// step a frame.
//
// Main thread only, one at a time; each sets the scene up afresh, so several
// may run one after another in a process.
#include <cstdint>
#include <string>
#include <vector>

#include "recording/key_script.h"
#include "show/exit_status.h"

struct RecordingSettings {
    std::string file;                // a video (.mp4, .mkv, .webm) or a still (.png)
    int32_t width = 1920;            // pixels, even
    int32_t height = 1080;           // pixels, even
    int32_t fps = 60;                // frames per second
    int64_t lengthNs = -1;           // a video's length in nanoseconds; -1: until the music ends
    int64_t stillNs = -1;            // a still's moment in nanoseconds: the frame shown then is saved
    std::vector<ScriptedKey> keys;   // released at their times, as a viewer would
    bool keepAspect = false;         // the 4:3 picture on black bars, as the window shows it
};

// Where a recording's time went: wall-clock seconds.
struct RecordingTimes {
    int64_t frames = 0;    // frames drawn
    double load = 0;       // scene set-up: images, textures, music
    double render = 0;     // drawing the frames and reading them back
    double sound = 0;      // rendering the soundtrack
    double convert = 0;    // RGBA to yuv420p, on the encoding thread
    double encode = 0;     // encoders and muxer, on the encoding thread
    double total = 0;      // from the start to the file in place
};

// Both return an exit status: EXIT_STATUS_OK; EXIT_STATUS_FAILED after one
// line on stderr saying why; EXIT_STATUS_INTERRUPTED on SIGINT or SIGTERM.
// Neither leaves anything behind when it fails.

// Records settings.file as a video. On a terminal, a progress line on
// stderr, then one line with the file, its size and duration and the time
// taken; silent otherwise. times, when given, receives where the time went.
int recordVideo(const RecordingSettings &settings, RecordingTimes *times = nullptr);

// Writes the frame shown at settings.stillNs to settings.file as a PNG.
int recordStill(const RecordingSettings &settings);

// The presentation time of frame i at fps, in nanoseconds: i x 10^9 / fps,
// rounded down.
int64_t frameTimeNs(int64_t frame, int32_t fps);

// The frame a video at fps shows at atNs: the last whose time is not later.
int64_t frameShownAt(int64_t atNs, int32_t fps);

// A video's length when none is asked for, in nanoseconds: the music's;
// without music, each photograph's plain time and transition once over.
int64_t defaultVideoLengthNs();

// How many frames a video of lengthNs has at fps: enough to cover it.
int64_t frameCountFor(int64_t lengthNs, int32_t fps);
