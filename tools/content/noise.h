#pragma once
// Deterministic noise: integer hashes, a small random generator, gradient and
// value noise with fractal sums, and cellular (Voronoi) noise. Every function
// is pure and thread-safe; the same seed always gives the same picture.
#include <cstdint>

#include "maths.h"

// 32-bit hash of up to three lattice coordinates and a seed.
uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed);
// The hash mapped to 0..1.
double hashUnit(int32_t x, int32_t y, int32_t z, uint32_t seed);

// A seeded stream of uniform numbers (splitmix64): scattering stars, leaves.
class Random {
public:
    explicit Random(uint64_t seed) : state(seed) {}
    uint64_t next();
    double unit();                          // 0..1
    double range(double lo, double hi);     // lo..hi
    double gaussian();                      // mean 0, deviation 1

private:
    uint64_t state;
};

// Gradient noise, about -1..1.
double gradientNoise2(double x, double y, uint32_t seed);
double gradientNoise3(double x, double y, double z, uint32_t seed);

// Value noise, 0..1, with its partial derivatives (dx, dy): eroded terrain.
struct NoiseWithDerivative {
    double value, dx, dy;
};
NoiseWithDerivative valueNoise2d(double x, double y, uint32_t seed);

// Fractal sums of gradient noise (octaves of doubling frequency, gain per
// octave), about -1..1. The 2-D sums rotate each octave to hide the lattice.
double fbm2(double x, double y, int octaves, uint32_t seed, double gain = 0.5);
double fbm3(double x, double y, double z, int octaves, uint32_t seed, double gain = 0.5);
// Ridged sum: sharp crests where the noise crosses zero, 0..about 1.
double ridged2(double x, double y, int octaves, uint32_t seed);
// Turbulence: the sum of absolute octaves, 0..about 1 (veins of marble).
double turbulence3(double x, double y, double z, int octaves, uint32_t seed);

// Cellular noise: distances to the nearest and second-nearest feature points
// (one per unit cell, jittered by `jitter` 0..1) and the nearest one's cell.
struct Cellular {
    double f1, f2;
    int32_t cellX, cellY;
    Vec2d nearest;       // the nearest feature point
};
Cellular cellular2(double x, double y, uint32_t seed, double jitter = 1.0);
