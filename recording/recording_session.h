#pragma once
// The drawing side of a recording: a display-less GL context of the
// recording's size, the presentation's scene set up on it, and a clock that
// the recording sets to each frame's presentation time. Also what a
// recording tells a person at a terminal. Main thread only; one at a time.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "recording/key_script.h"
#include "platform/offscreen_context.h"

// Opens the context, drives the layers' stopwatches from here on and sets up the
// scene at width x height, the picture's shape kept with keepAspect.
// False, with the reason in error, when no context can be made.
bool openRecordingSession(int32_t width, int32_t height, const std::vector<ScriptedKey> &keys, std::string &error,
                        bool keepAspect = false);

// What the scene set up lacks that a recording needs: "" when every image
// loaded and, withMusic, the music too (a video's length is the music's);
// else one phrase saying what is missing.
std::string recordingSceneShortfall(bool withMusic);

// Releases every scripted key due by atNs (one reaches the layers per frame,
// as in the window), sets the clock to atNs after the end of loading and
// draws the frame, waiting until it is drawn. False when a quit (a signal)
// ended the run instead.
bool drawRecordingFrame(int64_t atNs);

// Copies the frame just drawn: width x height x 4 bytes in the given order,
// bottom row first.
void readRecordingFrame(uint8_t *pixels, PixelOrder order = PixelOrder::Rgba);

// Ends the run as the window's does (temporary files deleted), gives the
// stopwatches back to the performance counter and releases the context.
void closeRecordingSession();

// Whether a quit (a signal) has come since the last frame was drawn.
bool recordingQuitRequested();

// The progress line and the last line on stderr, only when it is a terminal.
class RecordingReport {
public:
    explicit RecordingReport(int64_t totalFrames);
    void frameDone(int64_t done);                    // redraws the line at most 4 times a second
    void finished(const std::string &summary);       // the line makes way for the summary
    void interrupted(const std::string &file);
    void clear();                                    // before an error line
    double elapsedSeconds() const;

private:
    bool terminal;
    int64_t total;
    std::chrono::steady_clock::time_point start, lastDrawn;
    bool drawn = false;
};
