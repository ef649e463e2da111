#pragma once
// The photograph renderer: calls a scene's shader once per pixel, then many
// more times wherever a pixel differs from its neighbours (adaptive
// supersampling: edges and fine detail come out smooth, flat areas cost one
// sample), on two threads; then tone-maps, adds vignette and film grain, and
// dithers down to 8 bits.
#include <cstdint>
#include <functional>

#include "image.h"

// Radiance seen through image point (u, v): u 0..1 left to right, v 0..1 top
// to bottom. Linear light, any non-negative value. Called from two threads at
// once: it must only read shared data.
using Shader = std::function<Vec3(double u, double v)>;

// First one sample at every pixel's centre; then every pixel that differs
// from a neighbour by more than `contrast` is sampled again on a jittered
// grid of refineGrid x refineGrid points, which replace its first sample.
struct RenderOptions {
    int width = 1024, height = 1024;   // pixels
    int refineGrid = 4;                // 4: 16 samples on edges and fine detail
    double contrast = 0.03;            // perceived brightness difference 0..1 that triggers refinement
    uint32_t seed = 1;                 // jitter of the sample positions
};

FloatImage renderShader(const Shader &shader, const RenderOptions &options);

// How linear light becomes a displayable picture.
struct Finish {
    double exposure = 1.0;     // multiplies the radiance before the tone curve
    bool filmic = true;        // filmic shoulder; off: plain clamp (fractals, materials)
    double vignette = 0.18;    // darkening of the corners, 0..1
    double grain = 0.012;      // film grain, deviation in display units
    double saturation = 1.0;   // 1 keeps the colours
    uint32_t seed = 7;
};

RgbaImage finishPhoto(const FloatImage &image, const Finish &finish);

// Runs body(row) for rows 0..count-1 on two threads.
void parallelRows(int count, const std::function<void(int)> &body);
