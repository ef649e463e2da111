// The four skies: towering cumulus, an aurora over a lake, a storm front
// with lightning, and a sunset over the sea.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "noise.h"
#include "photos.h"
#include "sky.h"
#include "terrain.h"

namespace {

// A pinhole camera at `e` looking along `direction`: the ray through image
// point (u, v).
struct Camera {
    Vec3 eye, forward, right, up;
    double tanHalf;

    Camera(const Vec3 &e, const Vec3 &direction, double fovDegrees) : eye(e) {
        forward = normalize(direction);
        right = normalize(cross(forward, Vec3{0, 1, 0}));
        up = cross(right, forward);
        tanHalf = std::tan(fovDegrees * PI / 360.0);
    }
    Vec3 ray(double u, double v) const {
        return normalize(forward + right * ((u * 2 - 1) * tanHalf) + up * ((1 - v * 2) * tanHalf));
    }
};

// Henyey-Greenstein phase: how much light scatters by angle (cosine).
double phase(double cosine, double g) {
    double d = 1 + g * g - 2 * g * cosine;
    return (1 - g * g) / (4 * PI * d * std::sqrt(d));
}

// Heaped cumulus between two altitudes: flat bases, rising cauliflower tops.
struct CumulusField {
    double base = 1300, top = 5200;   // world units
    uint32_t seed = 5;

    // Cheap test: how much cloud this column can hold at all (0 none).
    double coverage(double x, double z) const {
        double c = fbm2(x / 6000.0, z / 6000.0, 3, seed) * 0.5 + 0.5;
        return smoothstep(0.42, 0.75, c);
    }

    double density(const Vec3 &p, int detail) const {
        double h = (p.y - base) / (top - base);
        if (h <= 0 || h >= 1) return 0;
        double cov = coverage(p.x, p.z);
        if (cov <= 0) return 0;
        // Towers narrow with height; the base is flat and sharp.
        double shape = fbm3(p.x / 2600.0, p.y / 2000.0, p.z / 2600.0, detail > 1 ? 4 : 2, seed + 1) * 0.5 + 0.5;
        double profile = smoothstep(0.0, 0.06, h) * (1.0 - smoothstep(0.25, 1.0, h) * 0.9);
        double d = shape * cov * profile - 0.22 - h * 0.12;
        if (d <= 0) return 0;
        if (detail > 1) {
            // Billows: finer noise eats into the edges more than into the core.
            double billow = fbm3(p.x / 500.0, p.y / 420.0, p.z / 500.0, detail, seed + 2) * 0.5 + 0.5;
            d -= (1.0 - billow) * 0.12 * (1.0 - smoothstep(0.0, 0.2, d));
            if (d <= 0) return 0;
        }
        return std::min(d * 4.0, 1.0);
    }
};

}   // namespace

RgbaImage cumulusAfternoon(const PhotoJob &job) {
    auto field = std::make_shared<CumulusField>();
    Camera cam({0, 2, 0}, {0.3, 0.42, 1.0}, 62);
    SkyModel sky;
    sky.sunDirection = normalize(Vec3{-0.55, 0.55, 0.6});
    sky.zenith = {0.05, 0.16, 0.55};
    sky.horizon = {0.5, 0.65, 0.9};
    sky.belowHorizon = {0.3, 0.35, 0.4};
    sky.horizonSharpness = 0.5;
    sky.sunGlow = {0.4, 0.35, 0.25};
    sky.sunHaze = {1.2, 1.0, 0.7};
    sky.sunDisc = {150, 140, 120};
    const Vec3 sunLight{9.0, 8.4, 7.4};
    const Vec3 ambientTop{0.9, 1.05, 1.35}, ambientBase{0.25, 0.3, 0.42};
    Shader shader = [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        // A line of low hills and trees along the horizon.
        double azimuth = std::atan2(rd.x, rd.z);
        double ridge = 0.035 + 0.025 * fbm2(azimuth * 3.0, 0.5, 4, 61) + 0.012 * fbm2(azimuth * 60.0, 1.5, 3, 62);
        if (rd.y < ridge) {
            double shade = 0.5 + 0.5 * fbm2(azimuth * 25.0, rd.y * 40.0, 3, 63);
            Vec3 trees = Vec3{0.02, 0.035, 0.02} * (0.6 + 0.6 * shade);
            double haze = smoothstep(ridge - 0.05, ridge, rd.y) * 0.35;
            return mix(trees, sky.horizon * 0.8, haze);
        }
        Vec3 background = skyRadiance(sky, rd);
        if (rd.y <= 0.01) return background;
        double t0 = (field->base - cam.eye.y) / rd.y, t1 = std::min((field->top - cam.eye.y) / rd.y, 60000.0);
        if (t0 > 60000.0) return background;
        const int steps = 90;
        double dt = (t1 - t0) / steps;
        double t = t0 + dt * hashUnit(int(u * 4096), int(v * 4096), 0, 9);
        double transmittance = 1.0;
        Vec3 light;
        double cosSun = dot(rd, sky.sunDirection);
        double ph = mix(phase(cosSun, 0.55), phase(cosSun, -0.2), 0.35) * 4 * PI;
        for (int i = 0; i < steps && transmittance > 0.02; ++i, t += dt) {
            Vec3 p = cam.eye + rd * t;
            if (field->coverage(p.x, p.z) <= 0) continue;
            double d = field->density(p, 4);
            if (d <= 0) continue;
            // Light reaching this point from the sun through the cloud.
            double optical = 0;
            for (int k = 1; k <= 5; ++k) {
                Vec3 q = p + sky.sunDirection * (k * k * 60.0);
                optical += field->density(q, 1) * (2 * k - 1) * 60.0;
            }
            double sunT = std::exp(-optical * 0.0045);
            double powder = 1.0 - std::exp(-d * 6.0);
            double h = (p.y - field->base) / (field->top - field->base);
            Vec3 ambient = mix(ambientBase, ambientTop, std::sqrt(clamp01(h)));
            Vec3 scatter = sunLight * (sunT * ph * (0.35 + 0.65 * powder)) + ambient;
            double extinction = d * 0.012;
            double stepT = std::exp(-extinction * dt);
            light += scatter * (transmittance * (1.0 - stepT));
            transmittance *= stepT;
        }
        // Far clouds melt into the haze of the horizon.
        double haze = 1.0 - std::exp(-t0 / 26000.0);
        Vec3 cloud = light + background * transmittance;
        return mix(cloud, background, haze * 0.85);
    };
    Finish f;
    f.exposure = 0.55;
    f.seed = 205;
    return renderPhoto(shader, f, job);
}

RgbaImage auroraLake(const PhotoJob &job) {
    Camera cam({0, 4, 0}, {0.1, 0.22, 1.0}, 64);
    const double pixel = 2 * cam.tanHalf / 1024;
    // Aurora: curtains hanging across the sky. Each has a wavy lower edge,
    // glows brightest just above it in green, fades upwards into violet, and
    // is combed into fine vertical rays.
    auto aurora = [](const Vec3 &rd) {
        Vec3 sum;
        if (rd.y <= 0.0) return sum;
        double azimuth = std::atan2(rd.x, rd.z);
        double elevation = std::asin(std::clamp(rd.y, -1.0, 1.0));
        struct Curtain { double base, swing, height, strength; uint32_t seed; };
        static const Curtain curtains[] = {
            {0.22, 0.14, 0.4, 1.0, 301}, {0.5, 0.1, 0.35, 0.35, 302}, {0.12, 0.05, 0.18, 0.4, 303}};
        for (const Curtain &c : curtains) {
            double along = azimuth * 1.4;
            double edge = c.base + c.swing * fbm2(along, 0.5, 4, c.seed) + 0.02 * fbm2(along * 8.0, 1.5, 2, c.seed + 10);
            double above = elevation - edge;
            if (above < -0.03) continue;
            double rise = smoothstep(-0.03, 0.004, above);
            double length = c.height * (0.6 + 0.6 * (fbm2(along * 2.0, 3.0, 3, c.seed + 20) * 0.5 + 0.5));
            double fall = std::exp(-std::max(above, 0.0) / length * 3.0);
            // Rays lean a little, as the field lines do.
            double rays = fbm2((azimuth + above * 0.15) * 90.0, above * 2.0, 3, c.seed + 30) * 0.5 + 0.5;
            rays = 0.35 + 0.9 * rays * rays;
            double brightness = (0.4 + 0.8 * (fbm2(along * 1.3, 7.0, 3, c.seed + 40) * 0.5 + 0.5)) * c.strength;
            double hf = clamp01(std::max(above, 0.0) / length);
            Vec3 colour = mix(Vec3{0.1, 1.0, 0.35}, Vec3{0.5, 0.1, 0.75}, smoothstep(0.2, 0.75, hf));
            colour = mix(Vec3{0.6, 0.25, 0.45}, colour, smoothstep(-0.02, 0.0, above));
            // Curtains come and go along the sky.
            double presence = smoothstep(-0.2, 0.3, fbm2(along * 0.7, 11.0, 3, c.seed + 50));
            sum += colour * (rise * fall * rays * brightness * presence * 0.16);
        }
        return sum;
    };
    SkyModel sky;
    sky.sunDirection = normalize(Vec3{0, -0.3, 1});
    sky.zenith = {0.003, 0.005, 0.014};
    sky.horizon = {0.01, 0.025, 0.035};
    sky.belowHorizon = {0.01, 0.02, 0.03};
    auto nightSky = [=](const Vec3 &rd) {
        Vec3 c = skyRadiance(sky, rd);
        c += starsOnSphere(rd, 0.0045, 0.035, pixel, 0.5, 71) * smoothstep(0.0, 0.1, rd.y);
        return c + aurora(rd);
    };
    // The far shore: a line of dark mountains, and a near shore of spruce.
    auto mountains = [](double azimuth) {
        return 0.02 + 0.06 * (ridged2(azimuth * 2.2, 0.7, 5, 341) - 0.3) + 0.012 * fbm2(azimuth * 30.0, 0.1, 3, 342);
    };
    Shader shader = [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        double azimuth = std::atan2(rd.x, rd.z);
        double ridge = std::max(mountains(azimuth), 0.004);
        if (rd.y >= ridge) return nightSky(rd);
        if (rd.y > 0.0) {
            // The range: black with a faint snow gleam lit by the aurora.
            double snow = smoothstep(0.3, 0.8, fbm2(azimuth * 40.0, rd.y * 120.0, 4, 343) * 0.5 + 0.5) *
                          smoothstep(ridge - 0.03, ridge - 0.005, rd.y);
            return Vec3{0.004, 0.008, 0.01} + Vec3{0.02, 0.07, 0.04} * snow;
        }
        // The lake mirrors the sky; the mountains' mirror image is black.
        double t = -cam.eye.y / rd.y;
        Vec3 p = cam.eye + rd * t;
        double k = 0.06;
        double n0 = fbm2(p.x * k, p.z * k * 3.0, 3, 351);
        double nx = fbm2((p.x + 0.5) * k, p.z * k * 3.0, 3, 351);
        double nz = fbm2(p.x * k, (p.z + 0.5) * k * 3.0, 3, 351);
        double calm = 1.0 / (1.0 + t * 0.01);
        Vec3 n = normalize(Vec3{-(nx - n0) * 0.6 * calm, 1.0, -(nz - n0) * 0.6 * calm});
        Vec3 rr = reflect(rd, n);
        double cosi = std::max(-dot(rd, n), 0.0);
        double fresnel = 0.02 + 0.98 * std::pow(1.0 - cosi, 5.0);
        Vec3 mirrored = rr.y >= std::max(mountains(std::atan2(rr.x, rr.z)), 0.004) ? nightSky(rr) : Vec3{0.003, 0.005, 0.007};
        return mirrored * (0.25 + 0.75 * fresnel) + Vec3{0.001, 0.002, 0.003};
    };
    Finish f;
    f.exposure = 1.7;
    f.grain = 0.014;
    f.seed = 211;
    return renderPhoto(shader, f, job);
}

namespace {

// A branching lightning bolt in image coordinates (pixels of a 1024 image).
struct Bolt {
    std::vector<std::pair<Vec2d, Vec2d>> segments;
    std::vector<double> widths;   // relative brightness of each segment
};

void growBolt(Bolt &bolt, Random &random, Vec2d a, Vec2d b, double brightness, int depth) {
    // Midpoint displacement: each half bends sideways a little.
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len < 5 || depth > 9) {
        bolt.segments.push_back({a, b});
        bolt.widths.push_back(brightness);
        return;
    }
    double offset = random.gaussian() * len * 0.18;
    Vec2d mid{(a.x + b.x) / 2 - dy / len * offset, (a.y + b.y) / 2 + dx / len * offset};
    growBolt(bolt, random, a, mid, brightness, depth + 1);
    growBolt(bolt, random, mid, b, brightness, depth + 1);
    if (depth >= 2 && depth <= 5 && random.unit() < 0.3) {
        double angle = std::atan2(dy, dx) + random.range(-0.9, 0.9);
        double l = len * random.range(0.6, 1.4);
        Vec2d end{mid.x + std::cos(angle) * l, mid.y + std::sin(angle) * l};
        growBolt(bolt, random, mid, end, brightness * 0.45, depth + 2);
    }
}

double segmentDistance(const Vec2d &p, const Vec2d &a, const Vec2d &b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double t = clamp01(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy + 1e-12));
    return std::hypot(p.x - a.x - dx * t, p.y - a.y - dy * t);
}

}   // namespace

RgbaImage stormFront(const PhotoJob &job) {
    Camera cam({0, 1.7, 0}, {0, 0.09, 1}, 60);
    auto bolt = std::make_shared<Bolt>();
    Random random(4242);
    growBolt(*bolt, random, {640, 250}, {560, 640}, 1.0, 0);
    SkyModel sky;
    sky.sunDirection = normalize(Vec3{0.3, 0.12, -1.0});   // low, behind the camera
    sky.zenith = {0.3, 0.3, 0.3};
    sky.horizon = {1.3, 0.95, 0.55};
    sky.belowHorizon = {0.4, 0.35, 0.3};
    CloudLayer clouds;
    clouds.altitude = 1200;
    clouds.scale = 1.0 / 1800;
    clouds.coverage = 0.9;
    clouds.thickness = 5.0;
    clouds.stretch = 2.5;
    clouds.wind = {1, 0, 0.1};
    clouds.litColour = {0.5, 0.55, 0.62};
    clouds.shadowColour = {0.03, 0.04, 0.06};
    clouds.fadeDistance = 30000;
    clouds.seed = 401;
    Shader shader = [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        Vec2d px{u * 1024, v * 1024};
        // The bolt and its glow, which also lights the clouds around it.
        double core = 0, glow = 0;
        for (size_t i = 0; i < bolt->segments.size(); ++i) {
            double d = segmentDistance(px, bolt->segments[i].first, bolt->segments[i].second);
            double w = bolt->widths[i];
            core = std::max(core, w * std::exp(-d * d / (2 * 0.8 * 0.8 * w + 0.2)));
            glow += w * std::exp(-d / 22.0) * 0.02;
        }
        double flash = std::exp(-std::hypot(px.x - 620, px.y - 260) / 260.0);
        Vec3 boltColour{0.85, 0.85, 1.3};
        Vec3 c;
        if (rd.y > 0) {
            // Far away, under the cloud base, a bright band of clear sky.
            Vec3 background = skyRadiance(sky, rd);
            double t = clouds.altitude / std::max(rd.y, 1e-3);
            Vec3 p = cam.eye + rd * t;
            // The base of the storm: heavy rolls and lobes, darkest overhead,
            // ending in a ragged edge far away.
            double lobes = fbm2(p.x / 1600.0, p.z / 700.0, 7, 402);
            double rolls = std::sin(p.z / 260.0 + lobes * 4.0) * 0.5 + 0.5;
            double edge = std::max(smoothstep(-0.25, 0.05, lobes + 0.45 - p.z / 30000.0), smoothstep(0.03, 0.08, rd.y));
            Vec3 cloud = mix(Vec3{0.006, 0.008, 0.013}, Vec3{0.05, 0.055, 0.07}, clamp01(0.45 + lobes * 1.5) * (0.6 + 0.4 * rolls));
            // Sunlight from below catches the far underside.
            cloud += Vec3{0.5, 0.3, 0.12} * (smoothstep(0.12, 0.0, rd.y) * 0.25 * (0.5 + 0.5 * rolls));
            c = mix(background, cloud, edge);
            c += boltColour * (flash * 0.12 * clamp01(0.4 + lobes) + glow * 0.5);
            // Rain falling from the cloud base in grey veils.
            double rain = smoothstep(0.12, 0.0, rd.y) * smoothstep(0.0, 0.5, fbm2(px.x / 90.0, 0.0, 3, 403)) * edge;
            double streaks = 0.5 + 0.5 * fbm2(px.x / 2.0 + px.y / 8.0, px.y / 60.0, 2, 404);
            c = mix(c, Vec3{0.12, 0.13, 0.16} * (0.7 + 0.5 * streaks), rain * 0.6);
        } else {
            // Wheat and grass lit by a low sun breaking in under the storm.
            double t = -cam.eye.y / rd.y;
            Vec3 p = cam.eye + rd * t;
            double footprint = t * 2 * cam.tanHalf / 1024;
            int oct = std::clamp(int(std::log2(4.0 / footprint)), 1, 5);
            double rows = std::sin(p.x * 2.0 + fbm2(p.x * 0.02, p.z * 0.02, 2, 405) * 6.0) * 0.5 + 0.5;
            double fieldNoise = fbm2(p.x * 0.003, p.z * 0.003, 4, 406);
            double grass = fbm2(p.x * 0.7, p.z * 0.7, oct, 407);
            Vec3 wheat = mix(Vec3{0.3, 0.2, 0.06}, Vec3{0.5, 0.36, 0.12}, clamp01(0.5 + grass));
            Vec3 green = mix(Vec3{0.06, 0.1, 0.03}, Vec3{0.12, 0.16, 0.05}, clamp01(0.5 + grass));
            Vec3 albedo = mix(green, wheat, smoothstep(-0.15, -0.05, fieldNoise));
            albedo = albedo * (0.8 + 0.3 * rows * (t < 400 ? 1.0 : 0.0));
            // Patches of sunlight between cloud shadows.
            double sunPatch = smoothstep(0.0, 0.2, fbm2(p.x / 400.0, p.z / 250.0, 3, 408) + 0.1 - t / 5000.0);
            Vec3 light = Vec3{1.1, 0.8, 0.4} * sunPatch + Vec3{0.03, 0.035, 0.05};
            c = albedo * light;
            double fog = 1.0 - std::exp(-t / 4500.0);
            c = mix(c, Vec3{0.14, 0.13, 0.14}, fog);
            c += boltColour * (glow * 0.2 + flash * 0.05);
        }
        c = mix(c, boltColour * 6.0, clamp01(core));
        return c;
    };
    Finish f;
    f.exposure = 0.95;
    f.seed = 217;
    return renderPhoto(shader, f, job);
}

RgbaImage sunsetSea(const PhotoJob &job) {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        // A headland on the left horizon; open sea elsewhere.
        double cx = x + 9000.0, cz = z - 16000.0;
        double r = std::hypot(cx * 0.6, cz);
        double land = 420.0 * std::exp(-std::pow(r / 3500.0, 2.0)) * (0.7 + 0.6 * erodedNoise(x / 1500.0, z / 1500.0, octaves, 91));
        return land - 30.0;
    };
    s.octaves = 10;
    s.maxHeight = 700;
    s.surface = [](const SurfaceSample &) { return SurfaceLook{{0.05, 0.05, 0.04}, 0}; };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.01, 0.018, 0.03};
    s.waveScale = 0.045;
    s.waveStrength = 0.12;
    s.eye = {0, 14, 0};
    s.target = {0, 60, 3000};
    s.fovDegrees = 55;
    s.far = 60000;
    s.sky.sunDirection = normalize(Vec3{0.08, 0.05, 1.0});
    s.sky.zenith = {0.04, 0.04, 0.16};
    s.sky.horizon = {1.4, 0.42, 0.14};
    s.sky.belowHorizon = {0.6, 0.3, 0.2};
    s.sky.horizonSharpness = 0.3;
    s.sky.sunGlow = {1.8, 0.6, 0.15};
    s.sky.glowPower = 5;
    s.sky.sunHaze = {5.0, 2.0, 0.5};
    s.sky.hazePower = 120;
    s.sky.sunDisc = {80, 35, 8};
    s.sky.discRadius = 0.016;
    s.clouds = true;
    s.cloudLayer.altitude = 3000;
    s.cloudLayer.scale = 1.0 / 3500;
    s.cloudLayer.coverage = 0.55;
    s.cloudLayer.thickness = 2.5;
    s.cloudLayer.stretch = 3.5;
    s.cloudLayer.wind = {1, 0, 0.2};
    s.cloudLayer.litColour = {3.2, 1.2, 0.5};
    s.cloudLayer.shadowColour = {0.25, 0.1, 0.18};
    s.cloudLayer.fadeDistance = 90000;
    s.cloudLayer.seed = 93;
    s.sunLight = {1.5, 0.6, 0.2};
    s.skyLight = {0.1, 0.06, 0.1};
    s.fogColour = {0.6, 0.3, 0.25};
    s.fogSunColour = {1.6, 0.7, 0.25};
    s.fogDensity = 0.00002;
    s.fogFalloff = 0.001;
    Finish f;
    f.exposure = 0.7;
    f.saturation = 1.2;
    f.seed = 223;
    return renderPhoto(landscapeShader(s), f, job);
}
