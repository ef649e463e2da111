#include "terrain.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "noise.h"
#include <vector>

double erodedNoise(double x, double z, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 0.5, dx = 0, dz = 0;
    for (int i = 0; i < octaves; ++i) {
        NoiseWithDerivative n = valueNoise2d(x, z, seed + uint32_t(i) * 53u);
        dx += n.dx;
        dz += n.dy;
        sum += amplitude * n.value / (1.0 + dx * dx + dz * dz);
        amplitude *= 0.5;
        double nx = 1.6 * x - 1.2 * z, nz = 1.2 * x + 1.6 * z;
        x = nx + 3.7;
        z = nz - 1.9;
    }
    return sum;
}

namespace {

// The coarse heights on a regular grid, read with bilinear interpolation.
struct HeightGrid {
    static constexpr int N = 2048;   // samples per side
    double x0 = 0, z0 = 0, cell = 1;  // world units
    std::vector<float> heights;
    double margin = 0;                // the most the true ground rises above the grid, world units

    bool empty() const { return heights.empty(); }
    bool inside(double x, double z) const {
        return x > x0 && z > z0 && x < x0 + cell * (N - 1) && z < z0 + cell * (N - 1);
    }
    double sample(double x, double z) const {
        double fx = (x - x0) / cell, fz = (z - z0) / cell;
        int ix = int(fx), iz = int(fz);
        double tx = fx - ix, tz = fz - iz;
        const float *row = &heights[size_t(iz) * N + ix];
        double a = mix(row[0], row[1], tx), b = mix(row[N], row[N + 1], tx);
        return mix(a, b, tz);
    }
};

HeightGrid buildGrid(const Landscape &s) {
    HeightGrid g;
    if (s.gridSize <= 0) return g;
    g.cell = s.gridSize / (HeightGrid::N - 1);
    g.x0 = s.gridCentre.x - s.gridSize / 2;
    g.z0 = s.gridCentre.y - s.gridSize / 2;
    g.heights.resize(size_t(HeightGrid::N) * HeightGrid::N);
    parallelRows(HeightGrid::N, [&](int z) {
        for (int x = 0; x < HeightGrid::N; ++x)
            g.heights[size_t(z) * HeightGrid::N + x] = float(s.height(g.x0 + x * g.cell, g.z0 + z * g.cell, s.gridOctaves));
    });
    // Measure how far the full-detail ground strays above the grid, at
    // random points, and keep a safety factor over the worst seen.
    Random random(77);
    double worst = 0;
    for (int i = 0; i < 120000; ++i) {
        double x = g.x0 + g.cell * random.range(1, HeightGrid::N - 2);
        double z = g.z0 + g.cell * random.range(1, HeightGrid::N - 2);
        worst = std::max(worst, s.height(x, z, s.octaves) - g.sample(x, z));
    }
    g.margin = worst * 2.0 + 1.0;
    return g;
}

// The state of one picture: the settings plus the camera's frame.
struct LandscapeRenderer {
    Landscape s;
    HeightGrid grid;
    Vec3 forward, right, up;
    double tanHalf;
    double pixelAngle;   // radians per pixel of a 1024-pixel picture

    int octavesAt(double t) const {
        double drop = std::log2(std::max(t, 1.0) / s.lodDistance);
        return std::clamp(int(s.octaves - std::max(drop, 0.0) + 0.5), 3, s.octaves);
    }

    double heightAt(double x, double z, double t) const { return s.height(x, z, octavesAt(t)); }
    // The march skips the finest octaves (their heights are a small fraction
    // of the tolerance); the hit is then refined at full detail.
    double coarseHeightAt(double x, double z, double t) const {
        return s.height(x, z, std::max(3, octavesAt(t) - 3));
    }

    // Distance along the ray to the ground, or -1 when it misses.
    double march(const Vec3 &ro, const Vec3 &rd, double tMax) const {
        double t = 0.5;
        if (rd.y > 0 && ro.y > s.maxHeight) return -1;
        if (ro.y > s.maxHeight && rd.y < 0) t = std::max(t, (ro.y - s.maxHeight) / -rd.y);
        double lastT = t, lastClearance = 1e9;
        for (int i = 0; i < 600 && t < tMax; ++i) {
            Vec3 p = ro + rd * t;
            if (p.y > s.maxHeight && rd.y >= 0) return -1;
            if (!grid.empty() && grid.inside(p.x, p.z)) {
                // Well above the grid's ground plus its margin: stride on cheaply.
                double clearance = p.y - grid.sample(p.x, p.z) - grid.margin;
                if (clearance > 0.002 * t + 0.3) {
                    lastT = t;
                    lastClearance = clearance + grid.margin;
                    t += std::max(0.45 * clearance, 0.002 * t);
                    continue;
                }
            }
            double diff = p.y - coarseHeightAt(p.x, p.z, t);
            if (diff < 0.002 * t + 0.3) {
                if (i == 0) return t;
                // Close to the coarse ground: step on at full detail until
                // below the surface, then bisect between the last point
                // above and the first below. A ray that only grazes a crest
                // climbs clear of it again and the march goes on from there.
                double a = lastT, b = t;
                bool below = false;
                for (int k = 0; k < 64 && b < tMax; ++k) {
                    Vec3 q = ro + rd * b;
                    double d = q.y - heightAt(q.x, q.z, b);
                    if (d <= 0) {
                        below = true;
                        break;
                    }
                    a = b;
                    b += std::max(0.5 * d, 0.001 * b);
                    if (d > 4.0 * (0.002 * b + 0.3)) break;
                }
                if (below) {
                    for (int k = 0; k < 8; ++k) {
                        double m = 0.5 * (a + b);
                        Vec3 q = ro + rd * m;
                        if (q.y - heightAt(q.x, q.z, m) > 0) a = m; else b = m;
                    }
                    return 0.5 * (a + b);
                }
                lastT = a;
                lastClearance = diff;
                t = b;
                continue;
            }
            lastT = t;
            lastClearance = diff;
            t += std::max(0.45 * diff, 0.002 * t);
        }
        // A ray that skims the ground for the whole march is taken to meet
        // it where the march gave up, rather than showing the sky through it.
        if (t < tMax && lastClearance < 0.01 * t) return lastT;
        return -1;
    }

    Vec3 normalAt(const Vec3 &p, double t) const {
        double e = std::max(0.02, 0.0012 * t);
        int oct = octavesAt(t * 0.5);
        double hx1 = s.height(p.x + e, p.z, oct), hx0 = s.height(p.x - e, p.z, oct);
        double hz1 = s.height(p.x, p.z + e, oct), hz0 = s.height(p.x, p.z - e, oct);
        return normalize(Vec3{hx0 - hx1, 2 * e, hz0 - hz1});
    }

    // Soft shadow: 0 in full shade, 1 in full light.
    double shadow(const Vec3 &p, const Vec3 &l) const {
        double result = 1.0, t = 1.0;
        for (int i = 0; i < 48; ++i) {
            Vec3 q = p + l * t;
            if (q.y > s.maxHeight) break;
            // Near the point the true ground; further out the grid will do.
            bool far = t > 150 && !grid.empty() && grid.inside(q.x, q.z);
            double h = q.y - (far ? grid.sample(q.x, q.z) : s.height(q.x, q.z, 6));
            result = std::min(result, s.shadowSoftness * h / t);
            if (result < 0.001) return 0.0;
            t += std::clamp(h * 0.7, 1.5 + t * 0.04, 600.0);
        }
        return smoothstep(0.0, 1.0, result);
    }

    Vec3 fog(const Vec3 &colour, const Vec3 &ro, const Vec3 &rd, double t) const {
        // Exponential height fog integrated along the ray.
        double b = s.fogFalloff;
        double oy = ro.y - s.fogBaseHeight;
        double amount;
        if (std::fabs(rd.y) < 1e-5) {
            amount = s.fogDensity * std::exp(-oy * b) * t;
        } else {
            amount = s.fogDensity * std::exp(-oy * b) * (1.0 - std::exp(-t * rd.y * b)) / (rd.y * b);
        }
        amount = std::max(amount, 0.0) + s.hazeDensity * t;
        double f = 1.0 - std::exp(-amount);
        double sunAmount = std::pow(std::max(dot(rd, s.sky.sunDirection), 0.0), 8.0);
        Vec3 fogCol = mix(s.fogColour, s.fogSunColour, sunAmount);
        return mix(colour, fogCol, f);
    }

    Vec3 skyAndClouds(const Vec3 &ro, const Vec3 &rd) const {
        Vec3 c = skyRadiance(s.sky, rd);
        if (s.stars && rd.y > 0) {
            c += starsOnSphere(rd, 0.004, s.starDensity, pixelAngle, s.starBrightness, 91) * smoothstep(0.0, 0.15, rd.y);
        }
        if (s.clouds) c = applyClouds(s.cloudLayer, s.sky, ro, rd, c);
        return c;
    }

    Vec3 shadeGround(const Vec3 &p, const Vec3 &rd, double t) const {
        Vec3 n = normalAt(p, t);
        SurfaceLook look = s.surface({p, n, t, t * pixelAngle});
        Vec3 l = s.sky.sunDirection;
        double diffuse = std::max(dot(n, l), 0.0);
        double sh = diffuse > 0 ? shadow(p + n * 0.5, l) : 0.0;
        double skyAmount = 0.5 + 0.5 * n.y;
        Vec3 back = normalize(Vec3{-l.x, 0, -l.z});
        double bounce = clamp01(dot(n, back)) * clamp01(1.0 - p.y / s.maxHeight);
        Vec3 light = s.sunLight * (diffuse * sh) + s.skyLight * skyAmount + s.bounceLight * (bounce + 0.2);
        Vec3 c = look.albedo * light;
        if (look.specular > 0) {
            Vec3 h = normalize(l - rd);
            c += s.sunLight * (look.specular * std::pow(std::max(dot(n, h), 0.0), 24.0) * sh * diffuse);
        }
        return c;
    }

    Vec3 trace(const Vec3 &ro, const Vec3 &rd, int depth) const {
        double tw = -1;
        if (s.water && rd.y < 0 && ro.y > s.waterLevel) tw = (s.waterLevel - ro.y) / rd.y;
        // Ground behind the water's surface is never seen: stop the march there.
        double t = march(ro, rd, tw > 0 ? std::min(tw, s.far) : s.far);
        if (tw > 0 && (t < 0 || tw < t)) {
            Vec3 p = ro + rd * tw;
            // Waves: the slope of octaves of noise, as many as stay coarser
            // than two pixels at this distance, calmer far away.
            double k = s.waveScale;
            double calm = 1.0 / (1.0 + tw * 0.0004);
            double footprint = tw * pixelAngle / std::max(-rd.y, 0.02);
            int oct = std::clamp(int(std::log2(1.0 / k / (2.0 * footprint))) + 1, 1, 7);
            const double e = 0.02;
            double n0 = fbm2(p.x * k, p.z * k * 2.2, oct, 17, 0.42);
            double nx = fbm2(p.x * k + e, p.z * k * 2.2, oct, 17, 0.42);
            double nz = fbm2(p.x * k, p.z * k * 2.2 + e * 2.2, oct, 17, 0.42);
            double slope = s.waveStrength * calm / e;
            Vec3 n = normalize(Vec3{-(nx - n0) * slope, 1.0, -(nz - n0) * slope});
            Vec3 rr = reflect(rd, n);
            if (rr.y < 0.002) rr = normalize(Vec3{rr.x, 0.002, rr.z});
            double cosi = std::max(-dot(rd, n), 0.0);
            double fresnel = 0.02 + 0.98 * std::pow(1.0 - cosi, 5.0);
            Vec3 reflected = depth < 1 ? trace(p + Vec3{0, 0.05, 0}, rr, depth + 1) : skyAndClouds(p, rr);
            // Shallow water shows the ground beneath, tinted.
            double depthBelow = s.waterLevel - s.height(p.x, p.z, 6);
            Vec3 body = s.waterColour * (s.sunLight.y * 0.15 + s.skyLight.y * 1.0);
            if (depthBelow < 4) {
                // The bottom shows through near the shore, dimmed by the water.
                Vec3 ground = s.surface({p, {0, 1, 0}, tw, tw * pixelAngle}).albedo * (s.skyLight * 0.6);
                body = mix(ground * Vec3{0.5, 0.65, 0.65}, body, smoothstep(0.0, 4.0, depthBelow));
            }
            Vec3 c = mix(body, reflected, fresnel);
            return fog(c, ro, rd, tw);
        }
        if (t > 0) {
            Vec3 p = ro + rd * t;
            return fog(shadeGround(p, rd, t), ro, rd, t);
        }
        Vec3 c = skyAndClouds(ro, rd);
        // Fog out to a great distance softens the horizon line.
        return fog(c, ro, rd, std::min(s.far * 1.5, 1e5));
    }
};

}   // namespace

Shader landscapeShader(const Landscape &scene) {
    auto r = std::make_shared<LandscapeRenderer>();
    r->s = scene;
    r->grid = buildGrid(scene);
    r->forward = normalize(scene.target - scene.eye);
    r->right = normalize(cross(r->forward, Vec3{0, 1, 0}));
    r->up = cross(r->right, r->forward);
    r->tanHalf = std::tan(scene.fovDegrees * PI / 360.0);
    r->pixelAngle = 2 * r->tanHalf / 1024;
    return [r](double u, double v) {
        double x = (u * 2 - 1) * r->tanHalf, y = (1 - v * 2) * r->tanHalf;
        Vec3 rd = normalize(r->forward + r->right * x + r->up * y);
        return r->trace(r->s.eye, rd, 0);
    };
}
