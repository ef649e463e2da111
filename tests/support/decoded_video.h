#pragma once
// A video file decoded back with FFmpeg's libraries, the way a player would,
// for tests that check what was written: streams, sizes, counts, durations,
// the sound's level and one chosen frame.
#include <cstdint>
#include <string>
#include <vector>

struct DecodedVideo {
    bool ok = false;               // the file opened and both streams decoded
    std::string error;             // why not
    std::string videoCodec;        // FFmpeg's codec name: "h264", "vp9"
    std::string audioCodec;        // "aac", "opus"
    int width = 0, height = 0;     // pixels
    double fps = 0;                // the stream's average frame rate
    int64_t frames = 0;            // video frames decoded
    // Where each stream ends, as the container times its packets (a
    // player's clock; the codecs' own padding and priming not counted).
    double videoSeconds = 0;
    int sampleRate = 0;            // Hz
    int channels = 0;
    double soundSeconds = 0;
    float soundPeak = 0;           // largest magnitude of any sample, 0..1
    std::vector<uint8_t> frame;    // the chosen frame as RGBA, bottom row first (empty: none)
    std::vector<uint8_t> frameYuv; // the chosen frame as decoded: its Y, U and V planes, packed
};

// Decodes the whole file at path; keeps the frame whose index is keepFrame
// (-1: none), converted back to full-range RGB.
DecodedVideo decodeVideo(const std::string &path, int64_t keepFrame = -1);

// A frame (RGBA, bottom row first) as an encoder is given it: yuv420p
// planes, packed, BT.709 in the limited range.
std::vector<uint8_t> toYuv420(const std::vector<uint8_t> &rgba, int width, int height);

// Peak signal-to-noise ratio in dB over every byte of two buffers of the
// same size (1000 for identical ones, 0 for different sizes). Over yuv420p
// planes it is the measure FFmpeg's psnr filter reports as "average".
double psnr(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b);
