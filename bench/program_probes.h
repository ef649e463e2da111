#pragma once
// Probes in the program's own code paths, put there by the linker (--wrap in
// bench/CMakeLists.txt), not by the program: each wrapped call opens a stage
// span (stage_clock.h) around the real function. The program's code is the
// same code `dorirova` runs; only the calls between its object files are
// routed through here.
//
// Wrapped: ResourceArchive::writeResourceToTempFile and ::open (archive copy),
// ResourceArchive::extractEntry and ::readEntry (extraction: the images are
// read into memory), removeTempFile (deleting temporary files),
// decodeJpegBytes and decodePngBytes (decoding),
// Image::pixelatedTexels (levels), uploadPixelatedTexture and glTexImage2D
// (upload), loadMusic (music), createDisplay (display), and swapBuffers, where the frame hook below
// runs. On the main thread a call is a stage span (while start-up is timed);
// on the asset store's loader threads its time adds to the stage's loader
// total instead.
#include <atomic>
#include <cstdint>

#include "bench/stage_clock.h"

// Called after every buffer swap of the frame loop, with the frame presented.
using FrameHook = void (*)();
void setFrameHook(FrameHook hook);

// How many times each wrapped function ran, to tell a probe that the linker
// no longer routes (a function moved into its caller's file) from a stage
// that really took no time.
// Counted on every thread.
struct ProbeCalls {
    std::atomic<int> archiveCopy = 0;
    std::atomic<int> extraction = 0;
    std::atomic<int> tempRemovals = 0;
    std::atomic<int> decodeJpeg = 0;
    std::atomic<int> decodePng = 0;
    std::atomic<int> levels = 0;
    std::atomic<int> uploads = 0;
    std::atomic<int> music = 0;
    std::atomic<int> swaps = 0;
};
const ProbeCalls &probeCalls();

// Texels handed to glTexImage2D so far, in bytes as the program sends them
// (3 per texel for R G B, 4 for R G B A).
uint64_t uploadedBytes();

// Milliseconds the loader's threads spent in stage, all together.
double loaderMs(Stage stage);

// Milliseconds the main thread spent in glTexImage2D after start-up: the
// uploads between frames.
double uploadMsBetweenFrames();

// What createDisplay added to the resident memory, in kB.
long displayResidentKb();
