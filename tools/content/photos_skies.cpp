// Three skies: towering cumulus, an aurora over a lake, and a storm front
// with lightning. (The sunset over the sea is drawn as a landscape.)
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "noise.h"
#include "photos.h"
#include "sky.h"

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
        if (d <= -0.1) return 0;
        if (detail > 1) {
            // Billows: finer noise eats into the edges more than into the core.
            double billow = fbm3(p.x / 380.0, p.y / 300.0, p.z / 380.0, detail, seed + 2) * 0.5 + 0.5;
            d -= (1.0 - billow) * 0.25 * (1.0 - smoothstep(0.0, 0.25, d));
            d += (billow - 0.5) * 0.1;
        }
        if (d <= 0) return 0;
        return std::min(d * 9.0, 1.0);
    }
};

Shader cumulusAfternoon() {
    auto field = std::make_shared<CumulusField>();
    Camera cam({0, 2, 0}, {0.3, 0.5, 1.0}, 62);
    const SkyModel sky = {.sunDirection = normalize(Vec3{-0.55, 0.55, 0.6}), .zenith = {0.05, 0.16, 0.55},
                          .horizon = {0.5, 0.65, 0.9}, .belowHorizon = {0.3, 0.35, 0.4}, .sunGlow = {0.4, 0.35, 0.25},
                          .sunHaze = {1.2, 1.0, 0.7}, .sunDisc = {150, 140, 120}, .horizonSharpness = 0.5};
    const Vec3 sunLight{9.0, 8.4, 7.4};
    const Vec3 ambientTop{0.75, 0.9, 1.2}, ambientBase{0.16, 0.19, 0.27};
    return [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        // A line of low hills and trees along the horizon.
        double azimuth = std::atan2(rd.x, rd.z);
        // A low wooded ridge along the horizon: its outline ragged with crowns.
        double ridge = 0.03 + 0.018 * fbm2(azimuth * 3.0, 0.5, 4, 61) + 0.007 * std::fabs(fbm2(azimuth * 40.0, 1.5, 3, 62)) +
                       0.003 * fbm2(azimuth * 180.0, 2.5, 2, 64);
        if (rd.y < ridge) {
            double leaves = fbm2(azimuth * 220.0, rd.y * 220.0, 4, 63) * 0.5 + 0.5;
            double lit = 0.5 + 0.5 * smoothstep(ridge - 0.03, ridge, rd.y);
            Vec3 trees = Vec3{0.035, 0.06, 0.025} * ((0.5 + 0.9 * leaves) * lit);
            double haze = smoothstep(ridge - 0.02, ridge, rd.y) * 0.12;
            return mix(trees, sky.horizon * 0.5, haze);
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
            double sunT = std::exp(-optical * 0.011);
            double powder = 1.0 - std::exp(-d * 6.0);
            double h = (p.y - field->base) / (field->top - field->base);
            Vec3 ambient = mix(ambientBase, ambientTop, std::sqrt(clamp01(h)));
            Vec3 scatter = sunLight * (sunT * ph * (0.35 + 0.65 * powder)) + ambient;
            double extinction = d * 0.03;
            double stepT = std::exp(-extinction * dt);
            light += scatter * (transmittance * (1.0 - stepT));
            transmittance *= stepT;
        }
        // Far clouds melt into the haze of the horizon.
        double haze = 1.0 - std::exp(-t0 / 26000.0);
        Vec3 cloud = light + background * transmittance;
        return mix(cloud, background, haze * 0.85);
    };
}

Shader auroraLake() {
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
        static const Curtain curtains[] = {{0.32, 0.2, 0.35, 1.0, 301}, {0.13, 0.05, 0.12, 0.3, 303}};
        for (const Curtain &c : curtains) {
            double along = azimuth * 1.4;
            // The curtain sweeps across the sky in a long S, folded on a smaller scale.
            double edge = c.base + c.swing * std::sin(azimuth * 1.6 + c.seed) + 0.08 * fbm2(along, 0.5, 4, c.seed) +
                          0.04 * fbm2(along * 4.0, 1.5, 3, c.seed + 10);
            double above = elevation - edge;
            if (above < -0.03) continue;
            double rise = smoothstep(-0.006, 0.002, above);
            double length = c.height * (0.6 + 0.6 * (fbm2(along * 2.0, 3.0, 3, c.seed + 20) * 0.5 + 0.5));
            double up = std::max(above, 0.0);
            double fall = 0.6 * std::exp(-up / 0.02) + 0.6 * std::exp(-up / length * 3.0);
            // Rays lean a little, as the field lines do.
            double rays = fbm2((azimuth + above * 0.15) * 110.0, above * 2.0, 3, c.seed + 30) * 0.5 + 0.5;
            rays = 0.03 + 1.8 * std::pow(rays, 4.0);
            double brightness = (0.4 + 0.8 * (fbm2(along * 1.3, 7.0, 3, c.seed + 40) * 0.5 + 0.5)) * c.strength;
            double hf = clamp01(std::max(above, 0.0) / length);
            Vec3 colour = mix(Vec3{0.1, 1.0, 0.35}, Vec3{0.5, 0.1, 0.75}, smoothstep(0.2, 0.75, hf));
            colour = mix(colour, Vec3{0.6, 1.0, 0.7}, std::exp(-up / 0.01) * 0.5);
            // Curtains come and go along the sky.
            double presence = smoothstep(-0.35, 0.2, fbm2(along * 0.7, 11.0, 3, c.seed + 50));
            sum += colour * (rise * fall * rays * brightness * presence * 0.65);
        }
        return sum;
    };
    const SkyModel sky = {.sunDirection = normalize(Vec3{0, -0.3, 1}), .zenith = {0.003, 0.005, 0.014},
                          .horizon = {0.014, 0.03, 0.04}, .belowHorizon = {0.01, 0.02, 0.03}};
    auto nightSky = [=](const Vec3 &rd) {
        Vec3 c = skyRadiance(sky, rd);
        c += starsOnSphere(rd, 0.004, 0.025, pixel, 0.08, 71) * smoothstep(0.0, 0.1, rd.y);
        return c + aurora(rd);
    };
    // The far shore: a line of dark mountains, and a near shore of spruce.
    auto mountains = [](double azimuth) {
        return 0.02 + 0.06 * (ridged2(azimuth * 2.2, 0.7, 5, 341) - 0.3) + 0.012 * fbm2(azimuth * 30.0, 0.1, 3, 342);
    };
    return [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        double azimuth = std::atan2(rd.x, rd.z);
        double ridge = std::max(mountains(azimuth), 0.004);
        if (rd.y >= ridge) return nightSky(rd);
        if (rd.y > 0.0) {
            // The range: black with a faint snow gleam lit by the aurora.
            double snow = smoothstep(0.45, 0.8, fbm2(azimuth * 40.0, rd.y * 40.0, 4, 343) * 0.5 + 0.5) *
                          smoothstep(ridge - 0.04, ridge - 0.005, rd.y);
            return Vec3{0.002, 0.003, 0.005} + Vec3{0.012, 0.022, 0.022} * snow;
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
}

// A branching lightning bolt in image coordinates (pixels of a 1024 image).
struct Bolt {
    std::vector<std::pair<Vec2d, Vec2d>> segments;
    std::vector<double> widths;   // relative brightness of each segment
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;   // bounds, pixels
};

void growBolt(Bolt &bolt, Random &random, Vec2d a, Vec2d b, double brightness, int depth) {
    // Midpoint displacement: each half bends sideways a little.
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len < 5 || depth > 9) {
        bolt.segments.push_back({a, b});
        bolt.widths.push_back(brightness);
        bolt.left = std::min({bolt.left, a.x, b.x});
        bolt.right = std::max({bolt.right, a.x, b.x});
        bolt.top = std::min({bolt.top, a.y, b.y});
        bolt.bottom = std::max({bolt.bottom, a.y, b.y});
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

Shader stormFront() {
    Camera cam({0, 2.0, 0}, {0, 0.17, 1}, 62);
    // Where the horizon (a level ray) crosses the picture, in pixels.
    const double horizonPx = 512 + 0.17 / cam.tanHalf * 512;
    auto bolt = std::make_shared<Bolt>();
    Random random(4242);
    growBolt(*bolt, random, {600, 250}, {548, horizonPx - 6}, 1.0, 0);
    return [=](double u, double v) {
        Vec3 rd = cam.ray(u, v);
        Vec2d px{u * 1024, v * 1024};
        // The bolt, its glow, and the flash it throws on the clouds. Far from
        // the bolt both are nil: skip the segments there.
        double core = 0, glow = 0;
        bool nearBolt = px.x > bolt->left - 140 && px.x < bolt->right + 140 && px.y > bolt->top - 140 && px.y < bolt->bottom + 140;
        for (size_t i = 0; nearBolt && i < bolt->segments.size(); ++i) {
            double d = segmentDistance(px, bolt->segments[i].first, bolt->segments[i].second);
            double w = bolt->widths[i];
            core = std::max(core, w * std::exp(-d * d / (2 * 0.8 * 0.8 * w + 0.2)));
            glow += w * std::exp(-d / 20.0) * 0.015;
        }
        double flash = std::exp(-std::hypot(px.x - 590, (px.y - 250) * 1.6) / 240.0);
        const Vec3 boltColour{0.8, 0.82, 1.25};
        Vec3 c;
        if (rd.y > 0) {
            // Far off under the storm a band of clear evening sky.
            double e = rd.y;
            Vec3 band = mix(Vec3{1.6, 1.0, 0.45}, Vec3{0.45, 0.35, 0.3}, smoothstep(0.0, 0.05, e));
            // The cloud base: heavy hanging lobes, lit from below by the low sun.
            double t = 1500.0 / e;
            Vec3 p = cam.eye + rd * t;
            double wx = p.x + fbm2(p.x / 900.0, p.z / 900.0, 3, 416) * 500.0;
            double wz = p.z + fbm2(p.x / 900.0 + 4.0, p.z / 900.0, 3, 417) * 500.0;
            Cellular lumps = cellular2(wx / 520.0, wz / 380.0, 411, 1.0);
            Cellular small = cellular2(wx / 170.0, wz / 130.0, 418, 1.0);
            double lobe = (1.0 - smoothstep(0.0, 1.0, lumps.f1)) * 0.7 + (1.0 - smoothstep(0.0, 1.0, small.f1)) * 0.3;
            double broad = fbm2(p.x / 2500.0, p.z / 1600.0, 5, 412);
            double fine = fbm2(p.x / 90.0, p.z / 70.0, 3, 413);
            double shade = clamp01(0.1 + 0.8 * lobe * lobe * (0.6 + 0.6 * broad) + 0.3 * broad + 0.08 * fine);
            Vec3 dark{0.008, 0.01, 0.016}, lit{0.1, 0.095, 0.11};
            Vec3 cloud = mix(dark, lit, shade);
            // Underside warmed by the light coming in under the storm.
            cloud += Vec3{0.45, 0.22, 0.08} * (smoothstep(0.2, 0.0, e) * shade * 0.5);
            // The storm ends far away: the clear band shows beneath its edge.
            double edge = smoothstep(26000.0, 16000.0, p.z + broad * 6000.0);
            c = mix(band, cloud, edge);
            c += boltColour * (flash * 0.12 * (0.3 + shade) + glow * 0.5);
            // A veil of rain on the left, falling from the base to the ground.
            double rain = smoothstep(0.42, 0.2, u) * smoothstep(0.1, 0.35, u) * smoothstep(0.16, 0.0, e);
            double streaks = 0.5 + 0.5 * fbm2(px.x / 3.0 + px.y / 10.0, px.y / 80.0, 2, 414);
            c = mix(c, Vec3{0.09, 0.09, 0.11} * (0.6 + 0.6 * streaks), rain * 0.7);
        } else {
            // Wheat and meadow, dim under the storm, with patches of sun.
            double t = -cam.eye.y / rd.y;
            Vec3 p = cam.eye + rd * t;
            double footprint = t * 2 * cam.tanHalf / 1024;
            int oct = std::clamp(int(std::log2(4.0 / footprint)), 1, 6);
            double fieldNoise = fbm2(p.x * 0.004, p.z * 0.004, 4, 405);
            double grass = fbm2(p.x * 0.8, p.z * 0.8, oct, 407);
            double rows = std::sin(p.x * 1.6 + fbm2(p.x * 0.02, p.z * 0.02, 2, 406) * 5.0) * 0.5 + 0.5;
            Vec3 wheat = mix(Vec3{0.3, 0.2, 0.07}, Vec3{0.55, 0.4, 0.14}, clamp01(0.5 + grass));
            Vec3 meadow = mix(Vec3{0.05, 0.09, 0.03}, Vec3{0.12, 0.17, 0.05}, clamp01(0.5 + grass));
            Vec3 albedo = mix(meadow, wheat, smoothstep(-0.1, 0.05, fieldNoise));
            albedo = albedo * (1.0 - 0.25 * rows * smoothstep(300.0, 60.0, t));
            double sun = smoothstep(0.0, 0.25, fbm2(p.x / 700.0, p.z / 450.0, 3, 408) + 0.2);
            Vec3 light = Vec3{1.6, 1.1, 0.5} * sun + Vec3{0.16, 0.16, 0.19};
            c = albedo * light;
            c += boltColour * (glow * 0.15);
            double haze = 1.0 - std::exp(-t / 3500.0);
            c = mix(c, Vec3{0.3, 0.22, 0.15}, haze);
            // A line of far hills against the bright band.
            double hill = 0.004 + 0.006 * (fbm2(u * 6.0, 0.3, 4, 415) * 0.5 + 0.5);
            if (-rd.y < hill) c = mix(c, Vec3{0.05, 0.04, 0.04}, 0.8);
        }
        c = mix(c, boltColour * 6.0, clamp01(core));
        return c;
    };
}

}   // namespace

std::vector<PhotoScene> skyPhotos() {
    return {
        {"05_cumulus-afternoon.jpg", cumulusAfternoon, {.exposure = 0.55, .seed = 205}},
        {"11_aurora-lake.jpg", auroraLake, {.exposure = 1.7, .grain = 0.014, .seed = 211}},
        {"17-storm-front.jpg", stormFront, {.exposure = 1.0, .seed = 217}},
    };
}
