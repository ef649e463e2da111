#include "sky.h"

#include <cmath>

#include "noise.h"

Vec3 skyRadiance(const SkyModel &sky, const Vec3 &d) {
    double up = d.y;
    Vec3 base;
    if (up >= 0) {
        base = mix(sky.horizon, sky.zenith, std::pow(up, sky.horizonSharpness));
    } else {
        base = mix(sky.horizon, sky.belowHorizon, smoothstep(0.0, 0.12, -up));
    }
    double c = std::max(dot(d, sky.sunDirection), 0.0);
    Vec3 result = base + sky.sunGlow * std::pow(c, sky.glowPower) + sky.sunHaze * std::pow(c, sky.hazePower);
    double angle = std::acos(std::min(1.0, dot(d, sky.sunDirection)));
    double edge = smoothstep(sky.discRadius * 1.15, sky.discRadius * 0.85, angle);
    if (edge > 0 && up > -0.01) {
        // Limb darkening makes the disc read as a ball.
        double limb = 1.0 - 0.45 * std::pow(clamp01(angle / sky.discRadius), 2.0);
        if (sky.moon) {
            // Coordinates on the disc from the offset to its centre.
            Vec3 side = normalize(cross(sky.sunDirection, Vec3{0, 1, 0}));
            Vec3 upOnDisc = cross(side, sky.sunDirection);
            double mx = dot(d, side) / sky.discRadius, my = dot(d, upOnDisc) / sky.discRadius;
            double seas = fbm2(mx * 1.6 + 4.0, my * 1.6 - 2.0, 5, 404);
            limb = 0.55 + 0.45 * smoothstep(0.1, -0.25, seas) - 0.08 * fbm2(mx * 6, my * 6, 3, 405);
        }
        result += sky.sunDisc * (edge * limb * smoothstep(-0.01, 0.005, up));
    }
    return result;
}

static double cloudDensity(const CloudLayer &clouds, double x, double z) {
    double wx = clouds.wind.x, wz = clouds.wind.z, wl = std::hypot(wx, wz);
    wx /= wl;
    wz /= wl;
    // Coordinates along and across the wind: clouds stretch with it.
    double a = (x * wx + z * wz) * clouds.scale / clouds.stretch;
    double b = (-x * wz + z * wx) * clouds.scale;
    double warp = fbm2(a * 0.5 + 3.1, b * 0.5 - 1.7, 3, clouds.seed + 7) * 0.6;
    double n = fbm2(a + warp, b - warp, 7, clouds.seed, 0.52) * 0.5 + 0.5;
    return clamp01((n - (1.0 - clouds.coverage)) / std::max(clouds.coverage, 0.05) * 1.6);
}

Vec3 applyClouds(const CloudLayer &clouds, const SkyModel &sky, const Vec3 &origin, const Vec3 &d, const Vec3 &behind) {
    if (d.y <= 0.003) return behind;
    double t = (clouds.altitude - origin.y) / d.y;
    if (t <= 0) return behind;
    double x = origin.x + d.x * t, z = origin.z + d.z * t;
    double density = cloudDensity(clouds, x, z);
    if (density <= 0) return behind;
    // Self-shadowing: look up the density a little way towards the sun.
    Vec3 s = sky.sunDirection;
    double sl = std::hypot(s.x, s.z) + 1e-6;
    double reach = 900.0 / clouds.scale / 3000.0;
    double towards = cloudDensity(clouds, x + s.x / sl * reach, z + s.z / sl * reach);
    double towards2 = cloudDensity(clouds, x + s.x / sl * reach * 2.5, z + s.z / sl * reach * 2.5);
    double lit = std::exp(-clouds.thickness * (towards * 0.7 + towards2 * 0.3) * 1.2);
    double alpha = 1.0 - std::exp(-clouds.thickness * density);
    Vec3 colour = mix(clouds.shadowColour, clouds.litColour, lit * 0.85 + 0.15 * (1 - density));
    // Thin edges light up when the sun is behind them.
    double forward = std::pow(std::max(dot(d, sky.sunDirection), 0.0), 12.0);
    colour += clouds.litColour * (forward * (1.0 - alpha) * 2.5);
    double fade = std::exp(-t / clouds.fadeDistance);
    fade *= smoothstep(0.0, 0.06, d.y);
    alpha *= fade;
    colour = mix(sky.horizon, colour, 0.35 + 0.65 * fade);
    return mix(behind, colour, alpha);
}

// Magnitudes follow a steep power law: many faint stars, a few bright ones.
static double starBrightness(double u) { return std::pow(u, 12.0) * 6.0 + std::pow(u, 4.0) * 0.5 + 0.04; }

Vec3 starsOnSphere(const Vec3 &d, double cellRadians, double density, double pixelRadians, double brightness,
                   uint32_t seed) {
    double k = 1.0 / cellRadians;
    Vec3 p = d * k;
    int cx = int(std::floor(p.x)), cy = int(std::floor(p.y)), cz = int(std::floor(p.z));
    Vec3 sum;
    double sigma = pixelRadians * 0.5 * k;   // star size in cell units
    for (int i = -1; i <= 1; ++i) {
        for (int j = -1; j <= 1; ++j) {
            for (int l = -1; l <= 1; ++l) {
                int x = cx + i, y = cy + j, z = cz + l;
                if (hashUnit(x, y, z, seed) > density) continue;
                Vec3 star{x + hashUnit(x, y, z, seed + 1), y + hashUnit(x, y, z, seed + 2), z + hashUnit(x, y, z, seed + 3)};
                // Project the star onto the sphere of radius k.
                star = normalize(star) * k;
                Vec3 diff = star - p;
                double r2 = dot(diff, diff);
                double b = starBrightness(hashUnit(x, y, z, seed + 4));
                double w = std::exp(-r2 / (2 * sigma * sigma * (1.0 + b * 0.4)));
                if (w < 1e-4) continue;
                Vec3 tint = blackbody(mix(3200.0, 11000.0, hashUnit(x, y, z, seed + 5)));
                sum += tint * (w * b * brightness);
            }
        }
    }
    return sum;
}

Vec3 starsOnPlane(double x, double y, double cellPixels, double density, double brightness, uint32_t seed) {
    double fx = x / cellPixels, fy = y / cellPixels;
    int cx = int(std::floor(fx)), cy = int(std::floor(fy));
    // Halos need room: only stars in cells of 12 pixels or more get one, and
    // it fades out within the neighbouring cells searched here.
    const bool halos = cellPixels >= 12;
    const double reach = cellPixels * 1.4;
    Vec3 sum;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            int gx = cx + i, gy = cy + j;
            if (hashUnit(gx, gy, 0, seed) > density) continue;
            double sx = (gx + 0.15 + 0.7 * hashUnit(gx, gy, 1, seed)) * cellPixels;
            double sy = (gy + 0.15 + 0.7 * hashUnit(gx, gy, 2, seed)) * cellPixels;
            double b = starBrightness(hashUnit(gx, gy, 3, seed));
            double r2 = (sx - x) * (sx - x) + (sy - y) * (sy - y);
            // A sharp core about a pixel wide, a little wider for bright stars.
            double core = std::exp(-r2 / (2 * 0.42 * 0.42 * (1 + std::min(b, 3.0) * 0.35)));
            double halo = 0;
            if (halos && b > 0.8) {
                double r = std::sqrt(r2);
                halo = 0.03 * b * std::exp(-r / (1.0 + b * 0.5)) * smoothstep(reach, reach * 0.6, r);
            }
            if (core + halo < 1e-5) continue;
            Vec3 tint = blackbody(mix(3000.0, 12000.0, std::pow(hashUnit(gx, gy, 4, seed), 0.8)));
            sum += tint * ((core + halo) * b * brightness);
        }
    }
    return sum;
}
