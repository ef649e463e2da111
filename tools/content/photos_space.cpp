// The four space pictures: a ringed planet, an emission nebula, a spiral
// galaxy and a total eclipse of the sun.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "photos.h"
#include "sky.h"

namespace {

// Stars behind everything, in pixels of a 1024-pixel picture: a dense layer
// of faint ones and a sparse layer of bright ones.
Vec3 backgroundStars(double u, double v, double brightness, uint32_t seed) {
    double x = u * 1024, y = v * 1024;
    return starsOnPlane(x, y, 5.0, 0.35, 0.35 * brightness, seed) + starsOnPlane(x, y, 19.0, 0.3, 1.1 * brightness, seed + 1);
}

// Ray and sphere at the origin: the nearer hit distance, or -1.
double hitSphere(const Vec3 &ro, const Vec3 &rd, double radius) {
    double b = dot(ro, rd), c = dot(ro, ro) - radius * radius;
    double h = b * b - c;
    if (h < 0) return -1;
    double t = -b - std::sqrt(h);
    return t > 0 ? t : -1;
}

// Four diffraction spikes around a bright star, pixel units.
double spikes(double dx, double dy, double length) {
    double a = std::fabs(dx), b = std::fabs(dy);
    double s = std::exp(-b * b / 0.8) * std::exp(-a / length) + std::exp(-a * a / 0.8) * std::exp(-b / length);
    return s;
}

Shader ringedPlanet() {
    // The planet sits at the origin, radius 1, its equator tilted; the rings lie in the equator's plane.
    const Vec3 pole = normalize(Vec3{0.25, 1.0, -0.35});
    const Vec3 sun = normalize(Vec3{-0.75, 0.3, 0.55});
    const Vec3 eye{1.2, 0.75, 4.6};
    const Vec3 forward = normalize(Vec3{-0.15, -0.05, 0} - eye);
    const Vec3 right = normalize(cross(forward, Vec3{0, 1, 0}));
    const Vec3 up = cross(right, forward);
    const double tanHalf = std::tan(42.0 * PI / 360.0);
    const Vec3 east = normalize(cross(pole, Vec3{0, 0, 1}));
    const Vec3 north = cross(east, pole);
    const double ringInner = 1.35, ringOuter = 2.45;

    // Rings: many ringlets of varying density, with a clear dark gap.
    auto ringDensity = [=](double r) {
        if (r < ringInner || r > ringOuter) return 0.0;
        double x = (r - ringInner) / (ringOuter - ringInner);
        double d = 0.55 + 0.35 * fbm2(x * 40.0, 0.5, 4, 501) + 0.15 * fbm2(x * 300.0, 1.5, 2, 502);
        d *= smoothstep(0.0, 0.04, x) * smoothstep(1.0, 0.93, x);
        d *= 1.0 - 0.95 * smoothstep(0.015, 0.0, std::fabs(x - 0.66));   // the great gap
        d *= 1.0 - 0.6 * smoothstep(0.3, 0.0, x);                         // the faint inner ring
        return clamp01(d);
    };
    // The planet's banded clouds, by latitude, stirred by turbulence.
    auto planetColour = [=](const Vec3 &n) {
        double lat = dot(n, pole);
        double lon = std::atan2(dot(n, north), dot(n, east));
        double warp = fbm2(lon * 3.0, lat * 12.0, 5, 503) * 0.05;
        double l = lat + warp;
        double bands = std::sin(l * 26.0) * 0.5 + 0.5;
        double fine = fbm2(lon * 2.0, l * 90.0, 3, 504);
        Vec3 light{0.85, 0.72, 0.52}, dark{0.55, 0.38, 0.24}, pale{0.9, 0.86, 0.76};
        Vec3 c = mix(dark, light, bands);
        c = mix(c, pale, smoothstep(0.6, 0.9, std::sin(l * 9.0 + 1.0) * 0.5 + 0.5) * 0.5);
        c = c * (0.9 + 0.15 * fine);
        // A great storm oval in the southern belt.
        double sx = (lon - 0.6) / 0.22, sy = (lat + 0.32) / 0.07;
        double oval = std::exp(-(sx * sx + sy * sy));
        c = mix(c, Vec3{0.8, 0.45, 0.3}, oval * 0.8);
        // Polar haze, bluish.
        c = mix(c, Vec3{0.45, 0.52, 0.6}, smoothstep(0.75, 0.95, std::fabs(lat)) * 0.6);
        return c;
    };
    return [=](double u, double v) {
        Vec3 rd = normalize(forward + right * ((u * 2 - 1) * tanHalf) + up * ((1 - v * 2) * tanHalf));
        Vec3 c = backgroundStars(u, v, 0.45, 505);
        // A faint band of the galaxy behind.
        c += Vec3{0.012, 0.01, 0.016} * (0.5 + 0.5 * fbm2(u * 4, v * 4 + u, 5, 506)) * smoothstep(0.5, 0.0, std::fabs(v - u * 0.6 - 0.1));
        double tp = hitSphere(eye, rd, 1.0);
        double denom = dot(rd, pole);
        double tr = std::fabs(denom) > 1e-9 ? -dot(eye, pole) / denom : -1;
        // Atmosphere glow just outside the limb.
        double closest = length(eye - rd * dot(eye, rd));
        if (tp < 0 && closest < 1.06) {
            double rim = smoothstep(1.06, 1.0, closest);
            Vec3 p = rd * dot(-eye, -rd) + eye;
            double lit = clamp01(dot(normalize(p), sun) * 2.0);
            c += Vec3{0.25, 0.3, 0.45} * (rim * rim * lit * 0.12);
        }
        if (tp > 0) {
            Vec3 p = eye + rd * tp;
            Vec3 n = normalize(p);
            double diffuse = std::max(dot(n, sun), 0.0);
            // The rings' shadow on the clouds.
            double shade = 1.0;
            double sd = dot(sun, pole);
            if (std::fabs(sd) > 1e-6) {
                double ts = -dot(p, pole) / sd;
                if (ts > 0) shade = 1.0 - 0.85 * ringDensity(length(p + sun * ts));
            }
            double terminator = smoothstep(-0.05, 0.25, dot(n, sun));
            Vec3 surface = planetColour(n) * (diffuse * shade * 1.5) * (0.85 + 0.15 * terminator);
            // Limb darkening and a thin haze at the edge.
            double mu = std::max(-dot(n, rd), 0.0);
            surface = surface * (0.55 + 0.45 * std::pow(mu, 0.4));
            surface += Vec3{0.1, 0.12, 0.2} * (std::pow(1.0 - mu, 4.0) * diffuse * 0.4);
            // Ringshine: the rings' light on the night side.
            surface += planetColour(n) * (0.015 * clamp01(std::fabs(dot(n, pole)) * 2.0));
            c = surface;
        }
        if (tr > 0 && (tp < 0 || tr < tp)) {
            Vec3 p = eye + rd * tr;
            double r = length(p);
            double density = ringDensity(r);
            if (density > 0) {
                // Is the ring point in the planet's shadow?
                double inShadow = hitSphere(p, sun, 1.0) > 0 ? 0.04 : 1.0;
                double x = (r - ringInner) / (ringOuter - ringInner);
                Vec3 tint = mix(Vec3{0.62, 0.52, 0.4}, Vec3{0.85, 0.78, 0.66}, smoothstep(0.2, 0.8, x));
                tint = tint * (0.85 + 0.2 * fbm2(x * 120.0, 3.0, 2, 507));
                double lit = std::fabs(dot(sun, pole)) * 2.4 + 0.05;
                Vec3 ring = tint * (lit * inShadow);
                c = mix(c, ring, density * 0.92);
            }
        }
        return c;
    };
}

Shader emissionNebula() {
    return [](double u, double v) {
        double x = u * 2.6, y = v * 2.6;
        // Domain warping twice over gives the torn, flowing look of gas.
        double qx = fbm2(x, y, 5, 601), qy = fbm2(x + 5.2, y + 1.3, 5, 602);
        double rx = fbm2(x + 2.5 * qx + 1.7, y + 2.5 * qy + 9.2, 6, 603);
        double ry = fbm2(x + 2.5 * qx + 8.3, y + 2.5 * qy + 2.8, 6, 604);
        double gas = fbm2(x + 2.0 * rx, y + 2.0 * ry, 8, 605) * 0.5 + 0.5;
        // Glowing most around a cluster of hot young stars right of centre,
        // thinning to dark space at the edges.
        double cx = u - 0.58, cy = v - 0.42;
        double d2 = cx * cx + cy * cy;
        double envelope = std::exp(-d2 / 0.09);
        double hydrogen = std::pow(clamp01(gas * 1.7 - 0.55), 2.0) * (0.1 + 1.1 * envelope);
        double oxygen = std::pow(clamp01(gas * 1.2 - 0.25), 1.4) * std::exp(-d2 / 0.018) * 0.9;
        double sulphur = std::pow(clamp01(std::fabs(rx) * 2.0 - 0.2), 2.0) * 0.6 * envelope;
        Vec3 c = Vec3{1.0, 0.12, 0.2} * hydrogen + Vec3{0.15, 0.8, 0.85} * oxygen + Vec3{1.0, 0.55, 0.1} * sulphur * hydrogen * 2.0;
        // Dark dust in lanes and knots, its edges lit where they face the stars.
        double dust = fbm2(x * 1.7 + qx, y * 1.7 + qy, 7, 606) * 0.5 + 0.5;
        double opacity = smoothstep(0.5, 0.72, dust);
        double rim = smoothstep(0.42, 0.5, dust) * smoothstep(0.56, 0.5, dust) * envelope;
        Vec3 behind = backgroundStars(u, v, 0.8, 608);
        c = (c + behind) * (1.0 - opacity * 0.95) + Vec3{0.012, 0.005, 0.004} * opacity;
        c += Vec3{1.0, 0.45, 0.3} * (rim * 0.35);
        // The young cluster: bright blue-white stars with spikes.
        static const double stars[][3] = {{0.6, 0.41, 1.0}, {0.55, 0.44, 0.7}, {0.63, 0.46, 0.55}, {0.57, 0.38, 0.45},
                                          {0.22, 0.2, 0.6}, {0.83, 0.72, 0.5}, {0.12, 0.62, 0.35}};
        for (const auto &s : stars) {
            double dx = (u - s[0]) * 1024, dy = (v - s[1]) * 1024;
            double r2 = dx * dx + dy * dy;
            double glow = std::exp(-r2 / (2 * 1.2 * 1.2)) * 4.0 + std::exp(-std::sqrt(r2) / 6.0) * 0.25 + spikes(dx, dy, 40.0 * s[2]) * 0.5;
            c += Vec3{0.8, 0.9, 1.2} * (glow * s[2]);
        }
        return c;
    };
}

Shader spiralGalaxy() {
    return [](double u, double v) {
        // The galaxy's own plane: rotated, then stretched for its tilt.
        double x = u - 0.5, y = v - 0.5;
        double angle = 0.5;
        double gx = x * std::cos(angle) - y * std::sin(angle);
        double gy = (x * std::sin(angle) + y * std::cos(angle)) / 0.55;
        double r = std::hypot(gx, gy);
        double theta = std::atan2(gy, gx);
        // Two logarithmic arms.
        double pitch = 0.28;
        double armPhase = 2.0 * (theta - std::log(std::max(r, 1e-4)) / std::tan(pitch));
        double arm = std::pow(std::cos(armPhase) * 0.5 + 0.5, 3.0);
        double clumps = fbm2(gx * 30.0, gy * 30.0, 6, 701) * 0.5 + 0.5;
        double disc = std::exp(-r / 0.13);
        double armLight = arm * disc * (0.5 + clumps) * smoothstep(0.03, 0.09, r);
        double bulge = std::exp(-std::pow(r / 0.045, 0.9));
        Vec3 c = Vec3{1.0, 0.82, 0.55} * (bulge * 2.5 + disc * 0.35) + Vec3{0.55, 0.7, 1.1} * (armLight * 1.6);
        // Pink star-forming knots along the arms.
        Cellular cell = cellular2(gx * 90.0, gy * 90.0, 702);
        double knot = std::exp(-cell.f1 * cell.f1 / 0.02) * (hashUnit(cell.cellX, cell.cellY, 0, 703) > 0.8 ? 1.0 : 0.0);
        c += Vec3{1.0, 0.3, 0.5} * (knot * arm * disc * 1.4 * smoothstep(0.05, 0.1, r));
        // Dust lanes on the inner edges of the arms.
        double lane = std::pow(std::cos(armPhase - 0.9) * 0.5 + 0.5, 6.0);
        double dust = lane * smoothstep(0.02, 0.08, r) * std::exp(-r / 0.2) * (0.5 + 0.8 * (fbm2(gx * 40.0, gy * 40.0, 5, 704) * 0.5 + 0.5));
        c = c * (1.0 - clamp01(dust * 1.6));
        // A halo of faint light.
        c += Vec3{0.04, 0.035, 0.03} * std::exp(-r / 0.3);
        c += backgroundStars(u, v, 0.9, 705);
        // Two small far galaxies.
        auto smudge = [&](double cx, double cy, double size, double tilt) {
            double dx = (u - cx) / size, dy = (v - cy) / size;
            double a = dx * std::cos(tilt) - dy * std::sin(tilt), b = (dx * std::sin(tilt) + dy * std::cos(tilt)) * 3.0;
            return std::exp(-(a * a + b * b));
        };
        c += Vec3{0.9, 0.75, 0.55} * (smudge(0.15, 0.2, 0.012, 0.4) * 0.5 + smudge(0.86, 0.83, 0.008, 1.9) * 0.4);
        return c;
    };
}

Shader solarEclipse() {
    return [](double u, double v) {
        // The moon's disc at the centre, in pixels of a 1024 image.
        double px = u * 1024 - 512, py = v * 1024 - 430;
        double r = std::hypot(px, py);
        double angle = std::atan2(py, px);
        const double moon = 118;
        Vec3 c{0.004, 0.008, 0.025};
        // The darkened sky brightens towards the horizon, orange all round.
        double horizon = v;
        c += Vec3{0.6, 0.25, 0.08} * std::pow(smoothstep(0.55, 0.9, horizon), 2.0);
        c += Vec3{0.02, 0.05, 0.12} * smoothstep(0.2, 0.8, horizon);
        c += backgroundStars(u, v, 0.35, 801) * smoothstep(0.8, 0.4, horizon);
        // A bright planet.
        double dx = u * 1024 - 190, dy = v * 1024 - 250;
        c += Vec3{1.2, 1.15, 1.0} * (std::exp(-(dx * dx + dy * dy) / 3.0) * 3.0);
        if (r > moon) {
            double h = (r - moon) / moon;
            // The corona: streamers along the magnetic field, fading as a power of distance.
            double streamer = fbm2(angle * 3.0, 0.5, 5, 802) * 0.5 + 0.5;
            double fine = fbm2(angle * 40.0, h * 2.0, 3, 803) * 0.5 + 0.5;
            double polar = 0.45 + 0.55 * std::pow(std::fabs(std::cos(angle - 0.3)), 2.0);
            double corona = std::pow(1.0 + h * 3.0, -2.6) * (0.5 + 1.5 * std::pow(streamer, 2.0) * polar) * (0.75 + 0.5 * fine);
            corona += std::exp(-h * 14.0) * 1.5;
            c += Vec3{0.9, 0.93, 1.0} * (corona * 1.6);
            // Prominences: small red flames at the limb.
            double prom = std::pow(clamp01(fbm2(angle * 14.0, 2.0, 4, 804) * 1.5 - 0.35), 2.0);
            c += Vec3{1.4, 0.15, 0.25} * (prom * std::exp(-(r - moon) / 5.0) * 2.5);
        } else {
            // The moon's night side, faintly lit by the earth.
            c = Vec3{0.003, 0.003, 0.004} * (1.0 + 0.3 * fbm2(px / 30.0, py / 30.0, 4, 805));
        }
        // The diamond ring: the last bead of sunlight at the limb.
        double bx = 512 + std::cos(-2.3) * (moon + 1) - u * 1024, by = 430 + std::sin(-2.3) * (moon + 1) - v * 1024;
        double br = std::hypot(bx, by);
        c += Vec3{1.0, 0.95, 0.85} * (std::exp(-br * br / 30.0) * 40.0 + std::exp(-br / 25.0) * 1.6 + spikes(bx, by, 30.0) * 0.8);
        // The land below: a dark line of hills against the glow.
        double hill = 0.86 + 0.025 * fbm2(u * 5.0, 0.2, 4, 806) + 0.006 * fbm2(u * 80.0, 0.7, 2, 807);
        if (v > hill) c = Vec3{0.006, 0.005, 0.006} + Vec3{0.05, 0.02, 0.005} * smoothstep(hill + 0.02, hill, v);
        return c;
    };
}

}   // namespace

std::vector<PhotoScene> spacePhotos() {
    return {
        {"08_ringed-planet.jpg", ringedPlanet, {.exposure = 1.25, .vignette = 0.1, .seed = 301}},
        {"03_emission-nebula.jpg", emissionNebula, {.exposure = 1.0, .vignette = 0.15, .seed = 302}},
        {"14_spiral-galaxy.jpg", spiralGalaxy, {.exposure = 1.0, .vignette = 0.12, .seed = 303}},
        {"20-solar-eclipse.jpg", solarEclipse, {.exposure = 1.0, .vignette = 0.1, .seed = 304}},
    };
}
