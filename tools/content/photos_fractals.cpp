// The four fractals: Mandelbrot and Julia sets, the burning ship, and a deep
// zoom into a spiral, all with smooth (continuous) colouring and embossed
// lighting taken from the escape potential's gradient.
#include <cmath>

#include "noise.h"
#include "photos.h"

namespace {

// One escape-time orbit: the smooth iteration count (negative when the point
// never escaped) and the direction of the potential's gradient, which serves
// as a surface normal for lighting.
struct Escape {
    double smooth = -1;
    double nx = 0, ny = 0;
    double trap = 1e9;   // the orbit's closest approach to the unit circle's rim
};

// z -> z^2 + c, starting from z0, tracking dz/d(start) for the normal.
// derivativeOne: 1 for the Mandelbrot set (d/dc), 0 for Julia sets (d/dz0).
Escape escape(double zr, double zi, double cr, double ci, int maxIterations, double derivativeOne) {
    double dr = derivativeOne > 0 ? 0 : 1, di = 0;
    Escape e;
    const double bailout = 1e6;
    for (int i = 0; i < maxIterations; ++i) {
        double nr = 2 * (zr * dr - zi * di) + derivativeOne, ni = 2 * (zr * di + zi * dr);
        dr = nr;
        di = ni;
        double r2 = zr * zr - zi * zi + cr;
        zi = 2 * zr * zi + ci;
        zr = r2;
        double m = zr * zr + zi * zi;
        e.trap = std::min(e.trap, std::fabs(std::sqrt(m) - 0.5));
        if (m > bailout) {
            e.smooth = i + 1 - std::log2(std::log(m) / std::log(bailout)) ;
            // u = z / dz points across the level lines of the potential.
            double den = dr * dr + di * di;
            double ur = (zr * dr + zi * di) / den, ui = (zi * dr - zr * di) / den;
            double l = std::hypot(ur, ui);
            e.nx = ur / l;
            e.ny = ui / l;
            return e;
        }
    }
    return e;
}

// Main cardioid and period-2 bulb: certainly inside, no need to iterate.
bool insideMainBody(double cr, double ci) {
    double q = (cr - 0.25) * (cr - 0.25) + ci * ci;
    if (q * (q + (cr - 0.25)) <= 0.25 * ci * ci) return true;
    return (cr + 1) * (cr + 1) + ci * ci <= 0.0625;
}

// Colour of an escaped point: palette by smooth count, lit from the upper left.
Vec3 shadeEscape(const Escape &e, double paletteScale, double paletteShift, const Vec3 &a, const Vec3 &b, const Vec3 &c,
                 const Vec3 &d) {
    double t = std::log(e.smooth + 1.0) * paletteScale + paletteShift;
    Vec3 colour = cosinePalette(t, a, b, c, d);
    colour = {clamp01(colour.x), clamp01(colour.y), clamp01(colour.z)};
    // Emboss: the normal (nx, ny, height 1.5) against a light from the upper left.
    Vec3 n = normalize(Vec3{e.nx, e.ny, 1.2});
    Vec3 l = normalize(Vec3{-0.6, 0.6, 0.8});
    double diffuse = std::max(dot(n, l), 0.0);
    double gloss = std::pow(std::max(dot(n, normalize(l + Vec3{0, 0, 1})), 0.0), 30.0);
    Vec3 lin{srgbToLinear(colour.x), srgbToLinear(colour.y), srgbToLinear(colour.z)};
    return lin * (0.25 + 0.95 * diffuse) + Vec3{1, 1, 1} * (gloss * 0.35);
}

// A view into the Mandelbrot set: the picture's square in the complex plane
// and the colours of its escape-time bands.
struct MandelbrotView {
    Vec2d centre;              // complex plane; up in the picture is +imaginary
    double width = 1;          // of the picture, complex plane units
    int iterations = 1000;     // after which a point counts as inside
    Vec3 inside;               // linear radiance of the points that never escape
    double paletteScale = 1, paletteShift = 0;   // of log(smooth count + 1) into the palette
    Vec3 a, b, c, d;           // the cosine palette, see cosinePalette
};

// The shader maker for a view into the Mandelbrot set.
std::function<Shader()> mandelbrotZoom(const MandelbrotView &view) {
    return [view] {
        return Shader([view](double u, double v) {
            double cr = view.centre.x + (u - 0.5) * view.width, ci = view.centre.y - (v - 0.5) * view.width;
            if (insideMainBody(cr, ci)) return view.inside;
            Escape e = escape(0, 0, cr, ci, view.iterations, 1);
            if (e.smooth < 0) return view.inside;
            return shadeEscape(e, view.paletteScale, view.paletteShift, view.a, view.b, view.c, view.d);
        });
    };
}

Shader juliaFiligree() {
    const double cr = -0.7269, ci = 0.1889;
    return [=](double u, double v) {
        double zr = (u - 0.5) * 3.0 + 0.0, zi = -(v - 0.5) * 3.0;
        // Rotate the set a little so it fills the square.
        double a = 0.55;
        double rr = zr * std::cos(a) - zi * std::sin(a), ri = zr * std::sin(a) + zi * std::cos(a);
        Escape e = escape(rr * 0.78, ri * 0.78, cr, ci, 1500, 0);
        if (e.smooth < 0) {
            // Inside: a deep glow shaded by how near the orbit kept to the trap.
            return Vec3{0.02, 0.005, 0.04} + Vec3{0.25, 0.05, 0.3} * std::exp(-e.trap * 12.0);
        }
        // Far from the set the plane fades to night; near it the filaments glow.
        double nearness = 1.0 - std::exp(-e.smooth / 18.0);
        Vec3 c = shadeEscape(e, 0.9, 0.55, {0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}, {1.0, 0.8, 0.6}, {0.0, 0.15, 0.3});
        return c * (nearness * nearness * nearness) + Vec3{0.004, 0.006, 0.02};
    };
}

Shader burningShip() {
    // The small ship in the antenna, upright, with its rigging.
    const double cx = -1.755, cy = -0.018, width = 0.06;
    return [=](double u, double v) {
        double cr = cx + (u - 0.5) * width, ci = cy + (v - 0.5) * width;
        double zr = 0, zi = 0;
        const int maxIterations = 1500;
        for (int i = 0; i < maxIterations; ++i) {
            double ar = std::fabs(zr), ai = std::fabs(zi);
            double nr = ar * ar - ai * ai + cr;
            zi = 2 * ar * ai + ci;
            zr = nr;
            double m = zr * zr + zi * zi;
            if (m > 1e6) {
                double smooth = i + 1 - std::log2(std::log(m) / std::log(1e6));
                // Fire: the far plane smoulders dark red; the closer to the
                // set, the hotter, through orange to white.
                double heat = 1.0 - std::exp(-smooth / 22.0);
                heat = heat * heat;
                double flicker = 0.5 + 0.5 * std::sin(std::log(smooth + 1.0) * 5.0);
                Vec3 fire = mix(Vec3{0.02, 0.0, 0.0}, Vec3{0.5, 0.04, 0.01}, smoothstep(0.0, 0.3, heat));
                fire = mix(fire, Vec3{1.0, 0.35, 0.03}, smoothstep(0.25, 0.6, heat));
                fire = mix(fire, Vec3{1.0, 0.8, 0.3}, smoothstep(0.55, 0.85, heat));
                fire = mix(fire, Vec3{1.0, 0.97, 0.85}, smoothstep(0.85, 1.0, heat) * flicker);
                return fire * (0.8 + 0.2 * flicker);
            }
        }
        return Vec3{0.0, 0.0, 0.0};
    };
}

}   // namespace

std::vector<PhotoScene> fractalPhotos() {
    return {
        // Elephant valley: trunks curling in rows between the main cardioid and its buds.
        {"02_mandelbrot-valley.jpg",
         mandelbrotZoom({.centre = {0.2855, 0.0112}, .width = 0.007, .iterations = 3000,
                         .inside = {0.005, 0.004, 0.012}, .paletteScale = 1.6, .paletteShift = 0.1,
                         .a = {0.5, 0.5, 0.5}, .b = {0.5, 0.5, 0.5}, .c = {1.0, 1.0, 1.0}, .d = {0.0, 0.1, 0.2}}),
         {.filmic = false, .vignette = 0.12, .grain = 0.0, .seed = 401}, 0.06},
        {"07_julia-filigree.jpg", juliaFiligree, {.filmic = false, .vignette = 0.15, .grain = 0.0, .seed = 402}, 0.06},
        {"13_burning-ship.jpg", burningShip, {.filmic = false, .vignette = 0.15, .grain = 0.0, .seed = 403}, 0.06},
        // Deep in a valley off the main cardioid: a double spiral a hundred
        // thousandth of the set's size, winding into its centre.
        {"19-deep-spiral.jpg",
         mandelbrotZoom({.centre = {-0.7746806106269039, -0.1374168856037867}, .width = 0.000015, .iterations = 5000,
                         .inside = {0.0, 0.0, 0.01}, .paletteScale = 1.3, .paletteShift = 0.3, .a = {0.55, 0.45, 0.5},
                         .b = {0.45, 0.45, 0.5}, .c = {1.0, 1.0, 1.0}, .d = {0.3, 0.2, 0.2}}),
         {.filmic = false, .vignette = 0.12, .grain = 0.0, .seed = 404}, 0.06},
    };
}
