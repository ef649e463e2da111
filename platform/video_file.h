#pragma once
// A video file with sound, encoded and written through FFmpeg's libraries:
// H.264 (yuv420p, constant quality) with AAC in MP4 or Matroska, or VP9 with
// Opus in WebM. Takes frames as the GL framebuffer gives them (RGBA, bottom
// row first, or B G R A) and sound as 32-bit float stereo, interleaved.
//
// Thread rules: one VideoFile is used by one thread at a time (any thread);
// the encoders run threads of their own inside it. Different files share
// nothing.
//
// Failures are states: every call after a failure does nothing and returns
// false; the reason stays readable. What was written is left for the caller
// to remove (it chose the path).
#include <cstddef>
#include <cstdint>
#include <string>

enum class VideoContainer {
    None,       // not a name this module can write
    Mp4,        // ".mp4": H.264 and AAC
    Matroska,   // ".mkv": H.264 and AAC
    WebM,       // ".webm": VP9 and Opus
};

// The container a file name asks for by its extension (case does not matter).
VideoContainer videoContainerForName(const std::string &path);

struct VideoFileFormat {
    VideoContainer container = VideoContainer::Mp4;
    int32_t width = 0;          // pixels, even, 2..16384
    int32_t height = 0;         // pixels, even, 2..16384
    int32_t fps = 0;            // frames per second, 1..1000; frame i lasts from i / fps
    int32_t sampleRate = 48000; // sound frames per second, both channels
    bool bgra = false;          // frames come B G R A rather than R G B A
};

// Seconds spent inside the calls of one file, on the calling thread.
struct VideoFileTimes {
    double convert = 0;   // RGBA to the codec's colour format (libswscale)
    double encode = 0;    // handing frames and sound to the encoders, muxing, writing
};

struct VideoFile;

// Creates (or truncates) the file at path and prepares the encoders. Null,
// with the reason in error, when the format is out of range, a codec is
// missing from this FFmpeg, or the file cannot be created.
VideoFile *videoFileOpen(const std::string &path, const VideoFileFormat &format, std::string &error);

// Encodes the next frame: width x height x 4 bytes, R G B A (or B G R A, as
// the format says), bottom row first.
bool videoFileWriteFrame(VideoFile *file, const uint8_t *pixels);

// Encodes the next frames of sound: frames x 2 floats, left then right, -1..1.
bool videoFileWriteSound(VideoFile *file, const float *stereo, size_t frames);

// Flushes both encoders and completes the file; false, with the reason in
// error, when something could not be written. The file stays open until
// videoFileClose.
bool videoFileFinish(VideoFile *file, std::string &error);

// Closes the file (incomplete if not finished) and frees everything; takes null.
void videoFileClose(VideoFile *file);

// The times spent so far.
VideoFileTimes videoFileTimes(const VideoFile *file);
