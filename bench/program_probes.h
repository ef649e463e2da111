#pragma once
// Probes in the program's own code paths, put there by the linker (--wrap in
// bench/CMakeLists.txt), not by the program: each wrapped call opens a stage
// span (stage_clock.h) around the real function. The program's code is the
// same code `dorirova` runs; only the calls between its object files are
// routed through here.
//
// Wrapped: ResourceArchive::writeResourceToTempFile and ::open (archive copy),
// ResourceArchive::extractEntry (extraction), removeTempFile (deleting the
// extracted files), loadJpeg and loadPng (decoding),
// Texture::addPixelatedLevel (levels), glTexImage2D (upload), loadMusic
// (music), and swapBuffers, where the frame hook below runs.
#include <cstdint>

// Called after every buffer swap of the frame loop, with the frame presented.
using FrameHook = void (*)();
void setFrameHook(FrameHook hook);

// How many times each wrapped function ran, to tell a probe that the linker
// no longer routes (a function moved into its caller's file) from a stage
// that really took no time.
struct ProbeCalls {
    int archiveCopy = 0;
    int extraction = 0;
    int tempRemovals = 0;
    int decodeJpeg = 0;
    int decodePng = 0;
    int levels = 0;
    int uploads = 0;
    int music = 0;
    int swaps = 0;
};
const ProbeCalls &probeCalls();

// Texels handed to glTexImage2D so far, in bytes as the program sends them
// (3 per texel for R G B, 4 for R G B A).
uint64_t uploadedBytes();
