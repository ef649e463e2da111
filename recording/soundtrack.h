#pragma once
// The soundtrack of a recording: the music exactly as the sound system plays
// it from the first frame (same module settings, rate and block size), but
// rendered without a device, then silence for as long as the picture runs.
// Main thread only, and only while nothing plays the music on a device.
#include <cstddef>

constexpr int SOUNDTRACK_RATE = 48000;   // frames per second, stereo

// Sets the soundtrack to the music's start. Needs loadMusic to have run;
// without music the whole soundtrack is silence.
void startSoundtrack();

// The next frames of the soundtrack into stereo: frames x 2 floats,
// interleaved left and right, -1..1.
void renderSoundtrack(float *stereo, size_t frames);

// How long the music plays, in seconds; 0 without music.
double musicSeconds();
