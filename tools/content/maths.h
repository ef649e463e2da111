#pragma once
// Small vector and scalar helpers shared by every generator: three-component
// vectors (points, directions and linear RGB alike), mixing and easing curves.
#include <algorithm>
#include <cmath>

constexpr double PI = 3.14159265358979323846;

struct Vec2d {
    double x = 0, y = 0;
};

struct Vec3 {
    double x = 0, y = 0, z = 0;

    Vec3 operator+(const Vec3 &o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3 &o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(const Vec3 &o) const { return {x * o.x, y * o.y, z * o.z}; }
    Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
    Vec3 operator/(double s) const { return {x / s, y / s, z / s}; }
    Vec3 operator-() const { return {-x, -y, -z}; }
    Vec3 &operator+=(const Vec3 &o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vec3 &operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
};

inline Vec3 operator*(double s, const Vec3 &v) { return v * s; }
inline double dot(const Vec3 &a, const Vec3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3 &a, const Vec3 &b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(const Vec3 &v) { return std::sqrt(dot(v, v)); }
inline Vec3 normalize(const Vec3 &v) { return v / std::max(length(v), 1e-300); }
inline Vec3 reflect(const Vec3 &d, const Vec3 &n) { return d - n * (2.0 * dot(d, n)); }
inline Vec3 vmax(const Vec3 &a, double m) { return {std::max(a.x, m), std::max(a.y, m), std::max(a.z, m)}; }
inline Vec3 vexp(const Vec3 &v) { return {std::exp(v.x), std::exp(v.y), std::exp(v.z)}; }

inline double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
inline double mix(double a, double b, double t) { return a + (b - a) * t; }
inline Vec3 mix(const Vec3 &a, const Vec3 &b, double t) { return a + (b - a) * t; }
inline double smoothstep(double e0, double e1, double x) {
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}
inline double luminance(const Vec3 &c) { return 0.2126 * c.x + 0.7152 * c.y + 0.0722 * c.z; }

// A colour from 0..255 sRGB components, returned as linear RGB.
inline double srgbToLinear(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
inline double linearToSrgb(double v) {
    v = clamp01(v);
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}
inline Vec3 rgb8(int r, int g, int b) {
    return {srgbToLinear(r / 255.0), srgbToLinear(g / 255.0), srgbToLinear(b / 255.0)};
}

// The colour of a black body at kelvin degrees, roughly, as linear RGB with
// its brightest component near 1: star and fire tints.
inline Vec3 blackbody(double kelvin) {
    double t = kelvin / 100.0;
    double r, g, b;
    if (t <= 66) {
        r = 255;
        g = 99.4708025861 * std::log(t) - 161.1195681661;
        b = t <= 19 ? 0 : 138.5177312231 * std::log(t - 10) - 305.0447927307;
    } else {
        r = 329.698727446 * std::pow(t - 60, -0.1332047592);
        g = 288.1221695283 * std::pow(t - 60, -0.0755148492);
        b = 255;
    }
    return rgb8(int(std::clamp(r, 0.0, 255.0)), int(std::clamp(g, 0.0, 255.0)), int(std::clamp(b, 0.0, 255.0)));
}

// A cosine palette a + b cos(2 pi (c t + d)), per channel, in display space.
inline Vec3 cosinePalette(double t, const Vec3 &a, const Vec3 &b, const Vec3 &c, const Vec3 &d) {
    return {a.x + b.x * std::cos(2 * PI * (c.x * t + d.x)),
            a.y + b.y * std::cos(2 * PI * (c.y * t + d.y)),
            a.z + b.z * std::cos(2 * PI * (c.z * t + d.z))};
}
