#include "noise.h"

#include <cmath>

uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u;
    h ^= uint32_t(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= uint32_t(y) * 0xC2B2AE3Du;
    h = (h << 13) | (h >> 19);
    h ^= uint32_t(z) * 0x27D4EB2Fu;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

double hashUnit(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return hash3(x, y, z, seed) * (1.0 / 4294967296.0);
}

uint64_t Random::next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Random::unit() { return (next() >> 11) * (1.0 / 9007199254740992.0); }

double Random::range(double lo, double hi) { return lo + (hi - lo) * unit(); }

double Random::gaussian() {
    double u1 = std::max(unit(), 1e-12), u2 = unit();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * PI * u2);
}

// The lattice values of the 2-D noises come from one 256 x 256 table of
// random numbers (a few cycles per octave instead of a full hash per corner);
// each seed reads it at its own offset. The octaves of a sum are rotated
// against each other, so the table's period never shows.
namespace {
struct Lattice {
    float value[256 * 256];
    uint8_t direction[256 * 256];
    Lattice() {
        for (int i = 0; i < 256 * 256; ++i) {
            value[i] = float(hashUnit(i & 255, i >> 8, 0, 0x5EED));
            direction[i] = uint8_t(hash3(i & 255, i >> 8, 1, 0x5EED) & 7);
        }
    }
};
const Lattice LATTICE;

struct LatticeOffset {
    int32_t x, y;
    explicit LatticeOffset(uint32_t seed) {
        uint32_t h = hash3(int32_t(seed), 0, 0, 0xC0FFEE);
        x = int32_t(h & 255);
        y = int32_t((h >> 8) & 255);
    }
};
inline int latticeIndex(int32_t ix, int32_t iy, const LatticeOffset &o) {
    return ((iy + o.y) & 255) * 256 + ((ix + o.x) & 255);
}
}   // namespace

// floor without a library call: the hot loops call it millions of times.
static inline double fastFloor(double x) {
    double i = double(int64_t(x));
    return x < i ? i - 1.0 : i;
}

// Quintic fade: continuous second derivative, so no creases in lit surfaces.
static double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
static double fadeDerivative(double t) { return 30 * t * t * (t * (t - 2) + 1); }

static double gradient2(int32_t ix, int32_t iy, const LatticeOffset &o, double fx, double fy) {
    // Eight directions of even spread: enough, and cheap.
    static const double G[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1},
                                   {0.7071, 0.7071}, {-0.7071, 0.7071}, {0.7071, -0.7071}, {-0.7071, -0.7071}};
    const double *g = G[LATTICE.direction[latticeIndex(ix, iy, o)]];
    return g[0] * fx + g[1] * fy;
}

double gradientNoise2(double x, double y, uint32_t seed) {
    double fx0 = fastFloor(x), fy0 = fastFloor(y);
    int32_t ix = int32_t(fx0), iy = int32_t(fy0);
    double fx = x - fx0, fy = y - fy0;
    double u = fade(fx), v = fade(fy);
    LatticeOffset o(seed);
    double a = gradient2(ix, iy, o, fx, fy);
    double b = gradient2(ix + 1, iy, o, fx - 1, fy);
    double c = gradient2(ix, iy + 1, o, fx, fy - 1);
    double d = gradient2(ix + 1, iy + 1, o, fx - 1, fy - 1);
    return 1.4 * mix(mix(a, b, u), mix(c, d, u), v);
}

static double gradient3(int32_t ix, int32_t iy, int32_t iz, uint32_t seed, double fx, double fy, double fz) {
    // The twelve cube-edge directions.
    switch (hash3(ix, iy, iz, seed) % 12) {
    case 0: return fx + fy;
    case 1: return -fx + fy;
    case 2: return fx - fy;
    case 3: return -fx - fy;
    case 4: return fx + fz;
    case 5: return -fx + fz;
    case 6: return fx - fz;
    case 7: return -fx - fz;
    case 8: return fy + fz;
    case 9: return -fy + fz;
    case 10: return fy - fz;
    default: return -fy - fz;
    }
}

double gradientNoise3(double x, double y, double z, uint32_t seed) {
    double fx0 = fastFloor(x), fy0 = fastFloor(y), fz0 = fastFloor(z);
    int32_t ix = int32_t(fx0), iy = int32_t(fy0), iz = int32_t(fz0);
    double fx = x - fx0, fy = y - fy0, fz = z - fz0;
    double u = fade(fx), v = fade(fy), w = fade(fz);
    double n000 = gradient3(ix, iy, iz, seed, fx, fy, fz);
    double n100 = gradient3(ix + 1, iy, iz, seed, fx - 1, fy, fz);
    double n010 = gradient3(ix, iy + 1, iz, seed, fx, fy - 1, fz);
    double n110 = gradient3(ix + 1, iy + 1, iz, seed, fx - 1, fy - 1, fz);
    double n001 = gradient3(ix, iy, iz + 1, seed, fx, fy, fz - 1);
    double n101 = gradient3(ix + 1, iy, iz + 1, seed, fx - 1, fy, fz - 1);
    double n011 = gradient3(ix, iy + 1, iz + 1, seed, fx, fy - 1, fz - 1);
    double n111 = gradient3(ix + 1, iy + 1, iz + 1, seed, fx - 1, fy - 1, fz - 1);
    double x00 = mix(n000, n100, u), x10 = mix(n010, n110, u);
    double x01 = mix(n001, n101, u), x11 = mix(n011, n111, u);
    return 0.9 * mix(mix(x00, x10, v), mix(x01, x11, v), w);
}

NoiseWithDerivative valueNoise2d(double x, double y, uint32_t seed) {
    double fx0 = fastFloor(x), fy0 = fastFloor(y);
    int32_t ix = int32_t(fx0), iy = int32_t(fy0);
    double fx = x - fx0, fy = y - fy0;
    double u = fade(fx), v = fade(fy);
    double du = fadeDerivative(fx), dv = fadeDerivative(fy);
    LatticeOffset o(seed);
    double a = LATTICE.value[latticeIndex(ix, iy, o)], b = LATTICE.value[latticeIndex(ix + 1, iy, o)];
    double c = LATTICE.value[latticeIndex(ix, iy + 1, o)], d = LATTICE.value[latticeIndex(ix + 1, iy + 1, o)];
    double k1 = b - a, k2 = c - a, k4 = a - b - c + d;
    return {a + k1 * u + k2 * v + k4 * u * v, du * (k1 + k4 * v), dv * (k2 + k4 * u)};
}

// Each octave turns by about 37 degrees so the lattices of the octaves never line up.
static void rotateOctave(double &x, double &y) {
    const double c = 0.8, s = 0.6;
    double nx = c * x - s * y, ny = s * x + c * y;
    x = nx * 2.0 + 17.13;
    y = ny * 2.0 - 9.71;
}

double fbm2(double x, double y, int octaves, uint32_t seed, double gain) {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * gradientNoise2(x, y, seed + uint32_t(i) * 101u);
        norm += amp;
        amp *= gain;
        rotateOctave(x, y);
    }
    return sum / norm;
}

double fbm3(double x, double y, double z, int octaves, uint32_t seed, double gain) {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * gradientNoise3(x, y, z, seed + uint32_t(i) * 101u);
        norm += amp;
        amp *= gain;
        x = x * 2.01 + 5.3;
        y = y * 2.02 - 3.1;
        z = z * 1.99 + 7.7;
    }
    return sum / norm;
}

double ridged2(double x, double y, int octaves, uint32_t seed) {
    double sum = 0, amp = 0.5, weight = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        double n = 1.0 - std::fabs(gradientNoise2(x, y, seed + uint32_t(i) * 131u));
        n = n * n * weight;
        weight = clamp01(n * 2.0);
        sum += n * amp;
        norm += amp;
        amp *= 0.5;
        rotateOctave(x, y);
    }
    return sum / norm;
}

double turbulence3(double x, double y, double z, int octaves, uint32_t seed) {
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * std::fabs(gradientNoise3(x, y, z, seed + uint32_t(i) * 77u));
        norm += amp;
        amp *= 0.5;
        x = x * 2.03 + 1.7;
        y = y * 1.97 - 4.2;
        z = z * 2.01 + 3.3;
    }
    return sum / norm;
}

Cellular cellular2(double x, double y, uint32_t seed, double jitter) {
    double fx0 = fastFloor(x), fy0 = fastFloor(y);
    int32_t ix = int32_t(fx0), iy = int32_t(fy0);
    Cellular c{1e9, 1e9, 0, 0, {}};
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            int32_t cx = ix + i, cy = iy + j;
            double px = cx + 0.5 + jitter * (hashUnit(cx, cy, 1, seed) - 0.5);
            double py = cy + 0.5 + jitter * (hashUnit(cx, cy, 2, seed) - 0.5);
            double d = std::hypot(px - x, py - y);
            if (d < c.f1) {
                c.f2 = c.f1;
                c.f1 = d;
                c.cellX = cx;
                c.cellY = cy;
                c.nearest = {px, py};
            } else if (d < c.f2) {
                c.f2 = d;
            }
        }
    }
    return c;
}
