#pragma once
// Skies shared by the landscapes and the sky photographs: an analytic
// daylight or twilight dome with a sun, a flat layer of clouds lit by the sun,
// and star fields, both on the sphere (for views into the sky) and on the
// image plane (for the space pictures and the backdrop).
#include <cstdint>

#include "maths.h"

struct SkyModel {
    Vec3 sunDirection{0, 1, 0};   // unit vector towards the sun (or moon)
    Vec3 zenith{};                // radiance straight up
    Vec3 horizon{};               // radiance at the horizon
    Vec3 belowHorizon{};          // radiance of the haze under the horizon
    Vec3 sunGlow{};               // radiance of the wide halo around the sun
    double glowPower = 6;         // how tight the wide halo is
    Vec3 sunHaze{};               // radiance of the narrow halo
    double hazePower = 60;
    Vec3 sunDisc{};               // radiance of the disc itself
    double discRadius = 0.0095;   // radians
    double horizonSharpness = 0.45;   // exponent of the zenith blend
    bool moon = false;            // the disc shows a moon's darker seas, no limb darkening
};

// Radiance of the clear sky in direction d (unit vector), sun included.
Vec3 skyRadiance(const SkyModel &sky, const Vec3 &d);

// A layer of clouds at a fixed altitude, seen from below.
struct CloudLayer {
    double altitude = 2000;       // world units above 0
    double scale = 1.0 / 3000;    // noise frequency per world unit
    double coverage = 0.5;        // 0 clear .. 1 overcast
    double thickness = 3.0;       // optical thickness of full cover
    Vec3 wind{1, 0, 0.3};         // stretch direction of the cloud shapes (xz)
    double stretch = 1.6;
    Vec3 litColour;               // radiance of a fully sunlit cloud
    Vec3 shadowColour;            // radiance of its shaded side
    double fadeDistance = 60000;  // world units where clouds melt into the horizon
    uint32_t seed = 3;
};

// Composites the cloud layer over `behind` for a ray from origin along d.
Vec3 applyClouds(const CloudLayer &clouds, const SkyModel &sky, const Vec3 &origin, const Vec3 &d, const Vec3 &behind);

// Stars on the celestial sphere: radiance towards unit direction d. density is
// the chance of a star per cell of `cellRadians`; pixelRadians sets their
// apparent size so they stay one pixel wide and smooth.
Vec3 starsOnSphere(const Vec3 &d, double cellRadians, double density, double pixelRadians, double brightness,
                   uint32_t seed);

// Stars on the image plane, positions in pixels; cellPixels is the cell
// holding at most one star, density the chance of a star per cell.
Vec3 starsOnPlane(double x, double y, double cellPixels, double density, double brightness, uint32_t seed);
