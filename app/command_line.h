#pragma once
// The command line: GNU-style long options (getopt_long), read into one
// record before anything else runs. Reading prints nothing and opens
// nothing; the start-up sequence decides what each outcome does.
#include <cstdint>
#include <string>
#include <vector>

#include "recording/key_script.h"
#include "show/exit_status.h"

// The sizes --size accepts, in pixels, inclusive.
constexpr int32_t MIN_WIDTH = 320, MIN_HEIGHT = 240;
constexpr int32_t MAX_WIDTH = 7680, MAX_HEIGHT = 4320;
// A recording's sizes (even, inclusive), frame rates and lengths.
constexpr int32_t MAX_RECORDING_WIDTH = 3840, MAX_RECORDING_HEIGHT = 2160;
constexpr int32_t DEFAULT_RECORDING_WIDTH = 1920, DEFAULT_RECORDING_HEIGHT = 1080;
constexpr int32_t MIN_FPS = 1, MAX_FPS = 240, DEFAULT_FPS = 60;
constexpr int64_t MAX_RECORDING_NS = 3600000000000;   // an hour

struct CommandLine {
    enum class Action {
        Present,       // the presentation, after the dialog unless skipDialog
        RecordVideo,   // --capture FILE: record a video, without a display
        Still,         // --still SECONDS FILE.png: save one frame, without a display
        ShowHelp,      // --help
        ShowVersion,   // --version
        UsageError,    // something malformed; `error` says what
    };
    Action action = Action::Present;
    bool skipDialog = false;    // --size or --fullscreen: start at once
    bool sizeGiven = false;     // --size; without it full screen takes the desktop's size
    int32_t width = 0;          // pixels, MIN_WIDTH..MAX_WIDTH when sizeGiven
    int32_t height = 0;         // pixels, MIN_HEIGHT..MAX_HEIGHT when sizeGiven
    bool fullscreen = false;    // --fullscreen
    bool keepAspect = false;    // --keep-aspect: the 4:3 picture on black bars, not stretched
    // RecordVideo and Still: the size is always set (the default when not given).
    std::string outputFile;            // the video or the PNG
    int32_t fps = DEFAULT_FPS;         // --fps, MIN_FPS..MAX_FPS
    int64_t lengthNs = -1;             // --seconds in nanoseconds; -1: until the music ends
    int64_t stillNs = -1;              // Still: the moment, 0..MAX_RECORDING_NS
    std::vector<ScriptedKey> keys;     // --keys
    // Your own show, with any action: empty for the group's own.
    std::vector<std::string> photoPaths;   // --photos PATH...: folders and files, as given
    bool crop = false;                     // --crop: photographs fill the square
    std::string musicFile;                 // --music FILE
    std::string textFile;                  // --text FILE
    std::string logoFile;                  // --logo FILE.png
    std::string error;          // UsageError only: one line, without the program's name
};

// Reads argv[1..argc-1]. The first --help, --version or fault decides the
// action; later arguments are not looked at. A repeated --size: the last
// counts. May reorder argv, as getopt_long does.
CommandLine parseCommandLine(int argc, char *argv[]);

// "Usage: dorirova [--size WxH] ...": one line for each way to start, the
// last without a newline.
std::string usageLine();

// What --help prints: usage, options, keys, exit statuses.
std::string helpText();

// What --version prints: "dorirova X.Y.Z" and a newline.
std::string versionText();
