#pragma once
// The video writer lives in a module of its own (dorirova-video.so), loaded
// the first time a recording opens a file: FFmpeg's libraries and the ninety
// libraries they bring are then mapped only into a process that records, not
// into every presentation. The module hands out this table of the functions
// of platform/video_file.h; the program's own video_file functions forward
// to it.
#include "platform/video_file.h"

// Changes whenever the table or the types it passes change: a module built
// from other sources is refused rather than called wrongly.
constexpr int VIDEO_MODULE_VERSION = 1;

struct VideoModule {
    int version;
    VideoFile *(*open)(const std::string &path, const VideoFileFormat &format, std::string &error);
    bool (*writeFrame)(VideoFile *file, const uint8_t *pixels);
    bool (*writeSound)(VideoFile *file, const float *stereo, size_t frames);
    bool (*finish)(VideoFile *file, std::string &error);
    void (*close)(VideoFile *file);
    VideoFileTimes (*times)(const VideoFile *file);
};

// The module's one exported symbol.
#define VIDEO_MODULE_ENTRY "dorirovaVideoModule"
extern "C" const VideoModule *dorirovaVideoModule();
