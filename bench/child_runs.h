#pragma once
// The measurements, each in a process of its own (so every start-up starts
// cold, as a viewer's does). Each prints its results as "@ key value" lines
// on stdout for the parent (bench_main.cpp) to gather. All but the floor
// need an X display (DISPLAY) and open the program's real window.
#include <string>

// Run pressed to the first frame presented, at width x height pixels in a
// window: createDisplay, initScene and runFrameLoop as dorirovaMain calls
// them, timed stage by stage through the probes (program_probes.h). After
// the first frame the loop is asked to quit and ends through shutdown.
// Also reports resident memory at the first frame and the bytes the loaded
// textures hold by design.
int runStartupChild(int width, int height);

// Frames per second of the real frame loop at width x height over
// seconds (after a second of warm-up), by kind: "scene" (initScene first),
// "transition" (the scene with its clock moved on so that a transition runs
// in nearly every frame), "quad" (the frame floor: the loop's clear, one
// full-screen linear-filtered quad of a 1024 x 1024 R G B texture without
// blending, the swap), "clear" (no layers: clear and swap) and "scaled" (the
// scene drawn at 1024 x 768 into a frame of its own and scaled onto the
// width x height window, as full screen without a mode switch does; not
// part of the default runs: `dorirova_bench child frames W H scaled S`).
int runFramesChild(int width, int height, const std::string &kind, double seconds);

// Where the frame's time goes: the frame as the loop draws it, but with
// glFinish after the clear and after each layer, each timed, over seconds
// after a second of warm-up. Changes how llvmpipe overlaps the work, so the
// parts add up to a little more than a frame of the real loop. Ends through
// shutdown, as the loop does.
int runLayerCostsChild(int width, int height, double seconds);

// count frames of the real loop at width x height, everything loaded, on a
// driven clock (16 ms a frame; kind "transition": 61 ms, jumping into each
// transition; kind "quad": the frame floor alone), after 30 frames of warm-up; under callgrind the counts are
// zeroed before them and dumped after them (bench/frame_instructions.sh).
int runFrameWorkChild(int width, int height, const std::string &kind, int count);

// The viewer's own photographs from folder, live at width x height: Run to
// the first frame, seconds of plain running (frame lengths; each
// transition's start after its due time), then presses of Right three
// frames apart, until the last asked-for photograph shows. Reports the peak
// resident memory of the whole run.
int runOwnShowChild(const std::string &folder, int width, int height, double seconds, int presses);

// The floor: the 24 photographs the photo layer loads, decoded alone with
// libjpeg-turbo from the archive's bytes in memory (default parameters, one
// new buffer each, kept, as the program keeps them), then the same into the
// buffers again, now resident; and what a first touch of fresh memory costs
// on this machine. No display needed.
int runFloorChild();
