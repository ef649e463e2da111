// The landscapes: ray-marched height fields at dawn, noon, dusk and night,
// and the sunset over the sea. Each photograph is one entry of the table at
// the end: its ground, what the ground is made of, water, camera, sky, clouds,
// light and fog, all drawn by the shared landscape renderer.
#include <algorithm>
#include <cmath>

#include "noise.h"
#include "photos.h"
#include "terrain.h"

namespace {

// Rock, grass, snow and sand chosen by height, slope and noise.
struct Palette {
    Vec3 rock{0.16, 0.14, 0.12}, rockDark{0.08, 0.07, 0.065};
    Vec3 rockTint{1, 1, 1};         // multiplied in over large patches
    Vec3 grass{0.07, 0.12, 0.035}, grassDry{0.16, 0.15, 0.06};
    Vec3 snow{0.85, 0.87, 0.9};
    Vec3 sand{0.45, 0.38, 0.27};
    Vec3 forest{0.02, 0.04, 0.02};
    double forestLine = -1e9;      // conifers below, on the gentler slopes
    double snowLine = 1e9;         // world units; snow above, on gentle slopes
    double treeLine = 1e9;         // grass below
    double beachTop = -1e9;        // sand below
    double grassSlope = 0.8;       // normal.y above which grass holds
    double snowSlope = 0.65;
    double trees = 0;              // chance of a lone tree in each 30-unit cell of grassland
};

// Octaves of a texture whose first wavelength is `wavelength` world units
// that stay coarser than two pixels at this distance (at least one).
int detailOctaves(double wavelength, int most, const SurfaceSample &s) {
    double fit = std::log2(wavelength / (2.0 * s.footprint)) + 1.0;
    return std::clamp(int(fit), 1, most);
}

SurfaceLook paletteLook(const Palette &pal, const SurfaceSample &s) {
    const Vec3 &p = s.position;
    double n1 = fbm2(p.x * 0.01, p.z * 0.01, detailOctaves(100, 4, s), 5);
    double n2 = fbm2(p.x * 0.12, p.z * 0.12, detailOctaves(8, 3, s), 6);
    double strata = std::sin(p.y * 0.045 + n1 * 7.0) * 0.5 + 0.5;
    Vec3 colour = mix(pal.rockDark, pal.rock, clamp01(0.55 + 0.3 * n2 + 0.25 * n1 + 0.12 * (strata - 0.5)));
    colour = colour * mix(Vec3{1, 1, 1}, pal.rockTint, clamp01(0.5 + n1));
    double shine = 0.0;
    double slopeUp = s.normal.y;
    // Grass on gentle slopes below the tree line.
    double grassAmount = smoothstep(pal.grassSlope - 0.06, pal.grassSlope + 0.04, slopeUp + n2 * 0.06) *
                         smoothstep(pal.treeLine + 40, pal.treeLine - 40, p.y + n1 * 120);
    Vec3 grass = mix(pal.grass, pal.grassDry, clamp01(0.5 + n1 * 1.2));
    colour = mix(colour, grass * (0.8 + 0.4 * n2), grassAmount);
    // Forest: dark clumps of crowns, broken up by clearings.
    double crowns = fbm2(p.x * 0.09, p.z * 0.09, detailOctaves(11, 3, s), 8);
    double forestAmount = smoothstep(0.72, 0.8, slopeUp + n2 * 0.05) *
                          smoothstep(pal.forestLine + 30, pal.forestLine - 60, p.y + n1 * 200) *
                          smoothstep(-0.25, 0.1, n1 + crowns * 0.3);
    colour = mix(colour, pal.forest * (0.6 + 0.8 * clamp01(0.5 + crowns)), forestAmount);
    // Lone trees dotted over the grass: a dark crown, lit on one side.
    if (pal.trees > 0 && grassAmount > 0.5 && s.footprint < 6.0) {
        Cellular cell = cellular2(p.x / 30.0, p.z / 30.0, 9, 0.8);
        if (hashUnit(cell.cellX, cell.cellY, 0, 10) < pal.trees) {
            double radius = 0.1 + 0.08 * hashUnit(cell.cellX, cell.cellY, 1, 10);
            double crown = smoothstep(radius, radius * 0.7, cell.f1);
            double side = clamp01(0.5 + (p.x / 30.0 - cell.nearest.x) / radius);
            Vec3 tree = pal.forest * (0.7 + 0.9 * side);
            colour = mix(colour, tree, crown * grassAmount * smoothstep(6.0, 2.0, s.footprint));
        }
    }
    // Snow where it can settle.
    double snowAmount = smoothstep(pal.snowSlope - 0.1, pal.snowSlope + 0.05, slopeUp + n2 * 0.15) *
                        smoothstep(pal.snowLine - 30, pal.snowLine + 60, p.y + n1 * 180);
    colour = mix(colour, pal.snow * (0.92 + 0.08 * n2), snowAmount);
    shine = mix(shine, 0.25, snowAmount);
    double sandAmount = smoothstep(pal.beachTop + 1.5, pal.beachTop - 1.0, p.y + n2 * 1.0);
    colour = mix(colour, pal.sand * (0.9 + 0.2 * n2), sandAmount);
    return {colour, shine};
}

// Ground coloured by a palette.
std::function<SurfaceLook(const SurfaceSample &)> paletted(const Palette &pal) {
    return [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
}

// The shader of a landscape photograph, made only when it is rendered: the
// height grid takes seconds to build.
std::function<Shader()> landscape(const Landscape &scene) {
    return [scene] { return landscapeShader(scene); };
}

// The ground of each photograph: heights (world units) summing `octaves`
// octaves of detail, and its own materials where a palette will not do.

double alpineDawnHeight(double x, double z, int octaves) {
    double h = erodedNoise(x / 1600.0, z / 1600.0, octaves, 11);
    double r = ridged2(x / 3000.0, z / 3000.0, std::min(octaves, 4), 12);
    // A long lake in front of the camera; the range rises beyond it and
    // closes in from the sides.
    double shoreNoise = fbm2(x / 2500.0, z / 2500.0, 3, 13) * 900.0;
    double rise = smoothstep(1500.0, 7000.0, z + 0.9 * std::fabs(x + 400.0) + shoreNoise);
    double near = 260.0 * smoothstep(300.0, -400.0, z);
    return (h * 1700.0 + r * 1900.0) * rise - 80.0 * (1.0 - rise) + near + h * 90.0 * (1.0 - rise);
}

double meadowNoonHeight(double x, double z, int octaves) {
    double hills = erodedNoise(x / 1100.0, z / 1100.0, octaves, 21) * 330.0;
    // Blue mountains far away close the view.
    double range = ridged2(x / 4000.0, z / 4000.0, std::min(octaves, 6), 22) * 2600.0 *
                   smoothstep(9000.0, 16000.0, z + fbm2(x / 5000.0, 0.3, 2, 23) * 2000.0);
    // A river valley winds away from the camera.
    double river = std::fabs(x - 350.0 * std::sin(z / 700.0) - 200.0 * std::sin(z / 1900.0 + 1.0));
    double valley = smoothstep(60.0, 700.0, river);
    return hills * (0.08 + 0.92 * valley) + range - 8.0 + 6.0 * valley;
}

double desertDuskHeight(double x, double z, int octaves) {
    // Dunes: sharp crests across the wind, warped by slow noise, over a
    // gently rolling floor; ripples on the sand at full detail.
    double wx = x + fbm2(x / 900.0, z / 900.0, 3, 31) * 260.0;
    double wz = z + fbm2(x / 900.0 + 7.0, z / 900.0, 3, 32) * 160.0;
    double phase = (wx * 0.85 - wz * 0.52) / 260.0;
    double f = phase - std::floor(phase);
    // A long windward slope and a steep lee face.
    double dune = f < 0.75 ? std::pow(f / 0.75, 1.6) : std::pow((1.0 - f) / 0.25, 1.8);
    double size = 0.6 + 0.4 * fbm2(x / 1600.0, z / 1600.0, 3, 33);
    double h = dune * 55.0 * size + erodedNoise(x / 2500.0, z / 2500.0, std::min(octaves, 6), 34) * 90.0;
    if (octaves > 8) {
        double ripples = std::sin((x * 0.5 + z * 0.85) * 1.6 + fbm2(x * 0.04, z * 0.04, 2, 35) * 5.0);
        h += ripples * 0.05 * smoothstep(8.0, 12.0, octaves);
    }
    return h;
}

SurfaceLook desertDuskSurface(const SurfaceSample &p) {
    double n = fbm2(p.position.x * 0.01, p.position.z * 0.01, detailOctaves(100, 5, p), 36);
    Vec3 sand = mix(Vec3{0.52, 0.25, 0.1}, Vec3{0.66, 0.37, 0.17}, clamp01(0.5 + n));
    return SurfaceLook{sand, 0.04};
}

double fjordEveningHeight(double x, double z, int octaves) {
    // Sheer walls on both sides of a winding arm of the sea.
    double centre = 500.0 * std::sin(z / 2600.0) + 250.0 * std::sin(z / 1100.0 + 2.0);
    double across = std::fabs(x - centre);
    double width = 700.0 + 250.0 * fbm2(z / 3000.0, 1.3, 2, 41);
    double wall = smoothstep(width, width + 900.0, across);
    double h = erodedNoise(x / 1300.0, z / 1300.0, octaves, 42);
    double plateau = 900.0 + 500.0 * h + ridged2(x / 2000.0, z / 2000.0, std::min(octaves, 4), 43) * 500.0;
    return wall * plateau + (1.0 - wall) * (-60.0 + h * 60.0) + h * 120.0 * wall;
}

double moonlitPeaksHeight(double x, double z, int octaves) {
    double h = erodedNoise(x / 1500.0, z / 1500.0, octaves, 51);
    double r = ridged2(x / 2800.0, z / 2800.0, std::min(octaves, 5), 52);
    double rise = smoothstep(-500.0, 5000.0, z + 0.4 * std::fabs(x));
    return (h * 1400.0 + r * 2200.0) * (0.35 + 0.65 * rise);
}

double redCanyonHeight(double x, double z, int octaves) {
    // Flat-topped mesas cut by a winding river: heights fall in terraces.
    double river = std::fabs(x - 600.0 * std::sin(z / 1500.0) - 300.0 * std::sin(z / 600.0));
    double canyon = smoothstep(100.0, 900.0, river + fbm2(x / 800.0, z / 800.0, 3, 61) * 300.0);
    double h = erodedNoise(x / 1800.0, z / 1800.0, octaves, 62);
    double raw = canyon * (500.0 + 300.0 * h);
    double step = 70.0, level = raw / step, base = std::floor(level), frac = level - base;
    double terraced = (base + smoothstep(0.55, 1.0, frac)) * step;
    double rough = fbm2(x / 120.0, z / 120.0, std::max(1, octaves - 6), 67) * 14.0;
    return mix(raw, terraced, 0.8) + h * 40.0 - 30.0 * (1.0 - canyon) + rough * canyon;
}

SurfaceLook redCanyonSurface(const SurfaceSample &p) {
    const Vec3 &q = p.position;
    double n = fbm2(q.x * 0.01, q.z * 0.01, detailOctaves(100, 5, p), 63);
    double fine = fbm2(q.x * 0.15, q.z * 0.15 + q.y * 0.2, detailOctaves(7, 3, p), 66);
    double y = q.y + n * 12.0;
    double band = std::sin(y * 0.13) * 0.5 + 0.5;
    double band2 = std::sin(y * 0.037 + 1.0) * 0.5 + 0.5;
    double band3 = std::sin(y * 0.51 + n * 3.0) * 0.5 + 0.5;
    Vec3 rock = mix(Vec3{0.36, 0.11, 0.04}, Vec3{0.52, 0.24, 0.1}, band);
    rock = mix(rock, Vec3{0.6, 0.42, 0.26}, std::pow(band2, 3.0) * 0.7);
    rock = rock * (0.85 + 0.15 * band3) * (0.75 + 0.4 * clamp01(0.5 + n)) * (0.85 + 0.3 * fine);
    // Sparse scrub on the flat tops.
    double scrub = smoothstep(0.95, 0.99, p.normal.y) * smoothstep(0.25, 0.5, fbm2(q.x * 0.08, q.z * 0.08, detailOctaves(12, 3, p), 64));
    rock = mix(rock, Vec3{0.22, 0.17, 0.08}, scrub * 0.5);
    double wet = smoothstep(3.0, 0.5, q.y);
    rock = mix(rock, Vec3{0.25, 0.16, 0.1}, wet);
    return SurfaceLook{rock, 0.02};
}

double volcanicIslandHeight(double x, double z, int octaves) {
    double cx = x - 400.0, cz = z - 6500.0;
    double r = std::hypot(cx, cz * 1.15);
    double warp = fbm2(x / 900.0, z / 900.0, 4, 71) * 450.0;
    double cone = 1500.0 * std::exp(-std::pow((r + warp) / 1900.0, 1.5));
    // The crater at the summit.
    cone -= 260.0 * std::exp(-std::pow(r / 230.0, 2.0));
    double h = erodedNoise(x / 1000.0, z / 1000.0, octaves, 72);
    double land = cone + (h - 0.45) * 260.0 * smoothstep(50.0, 500.0, cone) + (h - 0.5) * 60.0;
    return land - 45.0;
}

double mistyHighlandsHeight(double x, double z, int octaves) {
    double h = erodedNoise(x / 1300.0, z / 1300.0, octaves, 81);
    double r = ridged2(x / 2400.0, z / 2400.0, std::min(octaves, 4), 82);
    return h * 620.0 + r * 420.0 - 160.0;
}

SurfaceLook mistyHighlandsSurface(const SurfaceSample &p) {
    const Vec3 &q = p.position;
    double n = fbm2(q.x * 0.006, q.z * 0.006, detailOctaves(160, 5, p), 83);
    double fine = fbm2(q.x * 0.1, q.z * 0.1, detailOctaves(10, 3, p), 84);
    // Heather, bracken and grass in patches; rock on the steep parts.
    Vec3 heather{0.13, 0.07, 0.09}, bracken{0.26, 0.13, 0.05}, grass{0.11, 0.12, 0.05};
    Vec3 c = mix(grass, bracken, smoothstep(-0.1, 0.3, n) * 0.8);
    c = mix(c, heather, smoothstep(0.15, 0.45, -n + fine * 0.3) * 0.7);
    c = c * (0.75 + 0.5 * clamp01(0.5 + fine));
    double rock = smoothstep(0.78, 0.65, p.normal.y + fine * 0.1);
    c = mix(c, Vec3{0.16, 0.15, 0.14} * (0.8 + 0.4 * fine), rock);
    return SurfaceLook{c, 0.0};
}

double sunsetSeaHeight(double x, double z, int octaves) {
    // A headland on the left horizon; open sea elsewhere.
    double cx = x + 9000.0, cz = z - 16000.0;
    double r = std::hypot(cx * 0.6, cz);
    double land = 420.0 * std::exp(-std::pow(r / 3500.0, 2.0)) * (0.7 + 0.6 * erodedNoise(x / 1500.0, z / 1500.0, octaves, 91));
    return land - 30.0;
}

}   // namespace

std::vector<PhotoScene> landscapePhotos() {
    return {
        {"01_alpine-dawn.jpg",
         landscape({
             .height = alpineDawnHeight, .octaves = 13, .maxHeight = 3400,
             .gridCentre = {0, 9000}, .gridSize = 22000, .gridOctaves = 7,
             .surface = paletted({.rock = {0.17, 0.16, 0.155}, .rockDark = {0.07, 0.068, 0.07},
                                  .grass = {0.045, 0.075, 0.03}, .grassDry = {0.12, 0.11, 0.05},
                                  .sand = {0.07, 0.065, 0.06}, .forest = {0.02, 0.04, 0.025}, .forestLine = 500,
                                  .snowLine = 1250, .treeLine = 650, .beachTop = 0.8}),
             .water = true, .waterLevel = 0, .waterColour = {0.01, 0.025, 0.035}, .waveScale = 0.01,
             .waveStrength = 0.012,
             .eye = {0, 240, -200}, .target = {500, 420, 6000}, .fovDegrees = 50, .far = 45000,
             // The sun rises behind the camera to the left: the peaks catch its
             // first light while the sky in view keeps the blue and rose of dawn.
             .sky = {.sunDirection = normalize(Vec3{-0.65, 0.085, -0.55}), .zenith = {0.08, 0.14, 0.36},
                     .horizon = {0.85, 0.58, 0.6}, .belowHorizon = {0.5, 0.4, 0.45}, .sunGlow = {0.6, 0.3, 0.15},
                     .glowPower = 3, .sunHaze = {2.0, 1.0, 0.4}, .hazePower = 60, .sunDisc = {60, 35, 15},
                     .horizonSharpness = 0.5},
             .clouds = true,
             .cloudLayer = {.altitude = 4600, .scale = 1.0 / 3500, .coverage = 0.5, .thickness = 2.2, .stretch = 2.5,
                            .litColour = {2.6, 1.45, 1.2}, .shadowColour = {0.5, 0.4, 0.55}},
             .sunLight = {4.2, 2.3, 1.5}, .skyLight = {0.2, 0.24, 0.42}, .bounceLight = {0.08, 0.05, 0.05},
             .shadowSoftness = 16,
             .fogColour = {0.55, 0.5, 0.62}, .fogSunColour = {1.1, 0.7, 0.45}, .fogDensity = 0.00009,
             .fogFalloff = 0.0012, .fogBaseHeight = 0}),
         {.exposure = 1.0, .seed = 101}},
        {"06_meadow-noon.jpg",
         landscape({
             .height = meadowNoonHeight, .octaves = 13, .maxHeight = 3000,
             .gridCentre = {0, 10000}, .gridSize = 24000, .gridOctaves = 7,
             .surface = paletted({.rock = {0.2, 0.19, 0.17}, .rockDark = {0.1, 0.095, 0.09},
                                  .grass = {0.06, 0.11, 0.03}, .grassDry = {0.19, 0.17, 0.07},
                                  .sand = {0.2, 0.18, 0.13}, .forest = {0.025, 0.05, 0.02}, .forestLine = 260,
                                  .snowLine = 1900, .treeLine = 1600, .beachTop = 0.4, .grassSlope = 0.55}),
             .water = true, .waterLevel = 0, .waterColour = {0.015, 0.035, 0.035}, .waveScale = 0.03,
             .waveStrength = 0.03,
             .eye = {-150, 150, -600}, .target = {100, 60, 3000}, .fovDegrees = 56, .far = 50000,
             .sky = {.sunDirection = normalize(Vec3{0.5, 0.9, 0.35}), .zenith = {0.12, 0.28, 0.75},
                     .horizon = {0.65, 0.78, 0.95}, .belowHorizon = {0.5, 0.55, 0.6}, .sunGlow = {0.3, 0.3, 0.25},
                     .sunHaze = {1.0, 0.9, 0.7}, .sunDisc = {200, 190, 170}, .horizonSharpness = 0.4},
             .clouds = true,
             .cloudLayer = {.altitude = 2600, .scale = 1.0 / 2200, .coverage = 0.48, .thickness = 4.0, .stretch = 1.2,
                            .litColour = {2.6, 2.6, 2.55}, .shadowColour = {0.55, 0.62, 0.75}, .seed = 24},
             .sunLight = {3.4, 3.2, 2.9}, .skyLight = {0.35, 0.45, 0.7}, .bounceLight = {0.06, 0.07, 0.04},
             .fogColour = {0.55, 0.65, 0.82}, .fogSunColour = {0.8, 0.8, 0.75}, .fogDensity = 0.00007,
             .fogFalloff = 0.0008}),
         {.exposure = 0.85, .seed = 102}},
        {"09_desert-dusk.jpg",
         landscape({
             .height = desertDuskHeight, .octaves = 13, .maxHeight = 260,
             .gridCentre = {0, 6000}, .gridSize = 16000, .gridOctaves = 5,
             .surface = desertDuskSurface,
             .eye = {0, 75, 0}, .target = {600, 45, 2500}, .fovDegrees = 50, .far = 25000,
             // Low sun from the right: lit windward slopes, long blue lee shadows.
             .sky = {.sunDirection = normalize(Vec3{0.9, 0.11, 0.35}), .zenith = {0.05, 0.1, 0.3},
                     .horizon = {1.0, 0.6, 0.35}, .belowHorizon = {0.6, 0.35, 0.2}, .sunGlow = {1.2, 0.5, 0.15},
                     .glowPower = 5, .sunHaze = {3.0, 1.4, 0.4}, .hazePower = 90, .sunDisc = {60, 28, 8},
                     .discRadius = 0.012, .horizonSharpness = 0.4},
             .clouds = true,
             .cloudLayer = {.altitude = 6000, .scale = 1.0 / 4000, .coverage = 0.3, .thickness = 1.4,
                            .wind = {0.2, 0, 1}, .stretch = 4.0, .litColour = {3.0, 1.4, 0.6},
                            .shadowColour = {0.45, 0.3, 0.38}, .seed = 37},
             .sunLight = {4.4, 2.4, 1.1}, .skyLight = {0.12, 0.16, 0.36}, .bounceLight = {0.12, 0.06, 0.03},
             .shadowSoftness = 24,
             .fogColour = {0.8, 0.55, 0.42}, .fogSunColour = {1.4, 0.75, 0.3}, .fogDensity = 0.00003,
             .fogFalloff = 0.002}),
         {.exposure = 0.95, .seed = 103}},
        {"12_fjord-evening.jpg",
         landscape({
             .height = fjordEveningHeight, .octaves = 13, .maxHeight = 2400,
             .gridCentre = {0, 9000}, .gridSize = 22000, .gridOctaves = 7,
             .surface = paletted({.rock = {0.12, 0.115, 0.11}, .rockDark = {0.05, 0.05, 0.055},
                                  .grass = {0.04, 0.07, 0.03}, .grassDry = {0.08, 0.09, 0.04},
                                  .forest = {0.015, 0.03, 0.02}, .forestLine = 450, .snowLine = 1250, .treeLine = 700,
                                  .grassSlope = 0.7, .snowSlope = 0.7}),
             .water = true, .waterLevel = 0, .waterColour = {0.006, 0.012, 0.02}, .waveScale = 0.012,
             .waveStrength = 0.01,
             .eye = {0, 35, -300}, .target = {200, 240, 6000}, .fovDegrees = 56, .far = 45000,
             // The sun has just set ahead: a burning horizon, purple above.
             .sky = {.sunDirection = normalize(Vec3{0.12, -0.01, 1.0}), .zenith = {0.05, 0.05, 0.16},
                     .horizon = {1.2, 0.42, 0.2}, .belowHorizon = {0.4, 0.2, 0.15}, .sunGlow = {1.6, 0.45, 0.12},
                     .glowPower = 4, .sunHaze = {2.5, 0.9, 0.3}, .hazePower = 30, .sunDisc = {},
                     .horizonSharpness = 0.3},
             .clouds = true,
             .cloudLayer = {.altitude = 4500, .scale = 1.0 / 3500, .coverage = 0.45, .thickness = 1.8,
                            .wind = {1, 0, 0.15}, .stretch = 3.0, .litColour = {2.6, 0.9, 0.45},
                            .shadowColour = {0.22, 0.12, 0.2}, .seed = 44},
             .sunLight = {0.6, 0.25, 0.12}, .skyLight = {0.2, 0.15, 0.3}, .bounceLight = {0.05, 0.03, 0.03},
             .fogColour = {0.35, 0.2, 0.3}, .fogSunColour = {1.0, 0.4, 0.2},
             .fogDensity = 0.00012, .fogFalloff = 0.003}),
         {.exposure = 1.1, .seed = 104}},
        {"15_moonlit-peaks.jpg",
         landscape({
             .height = moonlitPeaksHeight, .octaves = 13, .maxHeight = 3800,
             .gridCentre = {0, 9000}, .gridSize = 22000, .gridOctaves = 7,
             .surface = paletted({.rock = {0.12, 0.12, 0.13}, .rockDark = {0.05, 0.05, 0.06}, .forestLine = 250,
                                  .snowLine = 500, .treeLine = 300, .snowSlope = 0.55}),
             .eye = {0, 1450, -900}, .target = {600, 1500, 6000}, .fovDegrees = 54, .far = 50000,
             // Moonlight from high on the right; the moon itself is in view.
             .sky = {.sunDirection = normalize(Vec3{0.33, 0.3, 0.9}), .zenith = {0.004, 0.007, 0.02},
                     .horizon = {0.02, 0.035, 0.07}, .belowHorizon = {0.02, 0.03, 0.05}, .sunGlow = {0.02, 0.03, 0.05},
                     .glowPower = 4, .sunHaze = {0.05, 0.06, 0.08}, .hazePower = 200, .sunDisc = {0.3, 0.3, 0.29},
                     .discRadius = 0.025, .horizonSharpness = 0.5, .moon = true},
             .clouds = true,
             .cloudLayer = {.altitude = 6000, .scale = 1.0 / 5000, .coverage = 0.22, .thickness = 1.2, .stretch = 3.5,
                            .litColour = {0.12, 0.13, 0.16}, .shadowColour = {0.02, 0.025, 0.04}, .seed = 54},
             .sunLight = {0.22, 0.25, 0.34}, .skyLight = {0.01, 0.015, 0.035}, .bounceLight = {0.005, 0.006, 0.01},
             .fogColour = {0.02, 0.03, 0.055}, .fogSunColour = {0.05, 0.06, 0.09}, .fogDensity = 0.00006,
             .fogFalloff = 0.0006,
             .stars = true, .starDensity = 0.05, .starBrightness = 0.12}),
         {.exposure = 3.2, .seed = 105}},
        {"18-red-canyon.jpg",
         landscape({
             .height = redCanyonHeight, .octaves = 13, .maxHeight = 1200,
             .gridCentre = {0, 8000}, .gridSize = 20000, .gridOctaves = 7,
             .surface = redCanyonSurface,
             .water = true, .waterLevel = 0, .waterColour = {0.03, 0.04, 0.02}, .waveScale = 0.05, .waveStrength = 0.05,
             .eye = {-700, 720, -1500}, .target = {300, 150, 2500}, .fovDegrees = 55, .far = 30000,
             .sky = {.sunDirection = normalize(Vec3{-0.75, 0.32, 0.3}), .zenith = {0.1, 0.25, 0.7},
                     .horizon = {0.7, 0.75, 0.85}, .belowHorizon = {0.6, 0.5, 0.45}, .sunGlow = {0.3, 0.25, 0.2},
                     .sunHaze = {1, 0.9, 0.7}, .sunDisc = {200, 190, 170}},
             .clouds = true,
             .cloudLayer = {.altitude = 3500, .scale = 1.0 / 2500, .coverage = 0.3, .thickness = 3.5,
                            .litColour = {2.6, 2.55, 2.5}, .shadowColour = {0.6, 0.65, 0.78}, .seed = 65},
             .sunLight = {3.8, 3.1, 2.4}, .skyLight = {0.22, 0.3, 0.55}, .bounceLight = {0.25, 0.1, 0.04},
             .fogColour = {0.7, 0.65, 0.7}, .fogSunColour = {0.9, 0.8, 0.7},
             .fogDensity = 0.00005, .fogFalloff = 0.001}),
         {.exposure = 0.8, .seed = 106}},
        {"21-volcanic-island.jpg",
         landscape({
             .height = volcanicIslandHeight, .octaves = 13, .maxHeight = 1500,
             .gridCentre = {0, 7000}, .gridSize = 14000, .gridOctaves = 7,
             .surface = paletted({.rock = {0.09, 0.08, 0.08}, .rockDark = {0.035, 0.03, 0.03},
                                  .grass = {0.06, 0.13, 0.03}, .grassDry = {0.12, 0.15, 0.05},
                                  .sand = {0.55, 0.5, 0.38}, .forest = {0.02, 0.06, 0.015}, .forestLine = 420,
                                  .treeLine = 700, .beachTop = 6, .grassSlope = 0.62}),
             .water = true, .waterLevel = 0, .waterColour = {0.006, 0.03, 0.06}, .waveScale = 0.012,
             .waveStrength = 0.06,
             .eye = {-700, 90, 1400}, .target = {300, 420, 6500}, .fovDegrees = 52, .far = 45000,
             .sky = {.sunDirection = normalize(Vec3{-0.8, 0.22, 0.35}), .zenith = {0.08, 0.2, 0.6},
                     .horizon = {0.75, 0.78, 0.85}, .belowHorizon = {0.5, 0.6, 0.7}, .sunGlow = {0.5, 0.4, 0.25},
                     .sunHaze = {2, 1.6, 1.0}, .sunDisc = {150, 130, 100}},
             .clouds = true,
             .cloudLayer = {.altitude = 2200, .scale = 1.0 / 1800, .coverage = 0.4, .thickness = 4.0, .stretch = 1.3,
                            .litColour = {2.8, 2.6, 2.3}, .shadowColour = {0.55, 0.6, 0.72}, .seed = 74},
             .sunLight = {3.6, 3.1, 2.4}, .skyLight = {0.3, 0.42, 0.65}, .bounceLight = {0.05, 0.06, 0.05},
             .fogColour = {0.6, 0.7, 0.82}, .fogSunColour = {1.0, 0.9, 0.7}, .fogDensity = 0.00008,
             .fogFalloff = 0.0012}),
         {.exposure = 0.85, .seed = 107}},
        {"24-misty-highlands.jpg",
         landscape({
             .height = mistyHighlandsHeight, .octaves = 13, .maxHeight = 1200,
             .gridCentre = {0, 8000}, .gridSize = 20000, .gridOctaves = 7,
             .surface = mistyHighlandsSurface,
             // The camera stands 40 units over the ground, and no lower than 640.
             .eye = {0, std::max(mistyHighlandsHeight(0, -500, 13) + 40.0, 640.0), -500},
             .target = {-300, 80, 5000}, .fovDegrees = 54, .far = 35000,
             // A low sun ahead and to the left turns the mist in the valleys to gold.
             .sky = {.sunDirection = normalize(Vec3{-0.45, 0.12, 1.0}), .zenith = {0.1, 0.18, 0.42},
                     .horizon = {0.95, 0.7, 0.5}, .belowHorizon = {0.7, 0.6, 0.5}, .sunGlow = {1.0, 0.6, 0.3},
                     .glowPower = 5, .sunHaze = {3.0, 2.0, 1.0}, .hazePower = 50, .sunDisc = {60, 45, 25},
                     .horizonSharpness = 0.4},
             .clouds = true,
             .cloudLayer = {.altitude = 2600, .scale = 1.0 / 2600, .coverage = 0.5, .thickness = 2.2, .stretch = 3.0,
                            .litColour = {2.8, 1.8, 1.0}, .shadowColour = {0.4, 0.33, 0.38}, .seed = 85},
             .sunLight = {3.3, 2.4, 1.5}, .skyLight = {0.22, 0.26, 0.4}, .bounceLight = {0.06, 0.05, 0.04},
             // Dense mist lying in the valleys, thinning fast with height.
             .fogColour = {0.8, 0.76, 0.74}, .fogSunColour = {1.9, 1.4, 0.85}, .fogDensity = 0.004, .fogFalloff = 0.02,
             .fogBaseHeight = 80, .hazeDensity = 0.00006}),
         {.exposure = 0.8, .seed = 108}},
        {"23-sunset-sea.jpg",
         landscape({
             .height = sunsetSeaHeight, .octaves = 10, .maxHeight = 700,
             .surface = [](const SurfaceSample &) { return SurfaceLook{{0.05, 0.05, 0.04}, 0}; },
             .water = true, .waterLevel = 0, .waterColour = {0.01, 0.018, 0.03}, .waveScale = 0.045,
             .waveStrength = 0.12,
             .eye = {0, 14, 0}, .target = {0, 60, 3000}, .fovDegrees = 55, .far = 60000,
             .sky = {.sunDirection = normalize(Vec3{0.08, 0.05, 1.0}), .zenith = {0.025, 0.03, 0.12},
                     .horizon = {1.3, 0.34, 0.08}, .belowHorizon = {0.6, 0.25, 0.15}, .sunGlow = {1.8, 0.6, 0.15},
                     .glowPower = 5, .sunHaze = {5.0, 2.0, 0.5}, .hazePower = 120, .sunDisc = {80, 35, 8},
                     .discRadius = 0.016, .horizonSharpness = 0.42},
             .clouds = true,
             .cloudLayer = {.altitude = 3000, .scale = 1.0 / 3500, .coverage = 0.55, .thickness = 2.5,
                            .wind = {1, 0, 0.2}, .stretch = 3.5, .litColour = {2.8, 0.9, 0.55},
                            .shadowColour = {0.14, 0.05, 0.12}, .fadeDistance = 90000, .seed = 93},
             .sunLight = {1.5, 0.6, 0.2}, .skyLight = {0.1, 0.06, 0.1},
             .fogColour = {0.6, 0.3, 0.25}, .fogSunColour = {1.6, 0.7, 0.25}, .fogDensity = 0.00002,
             .fogFalloff = 0.001}),
         {.exposure = 0.75, .saturation = 1.1, .seed = 223}},
    };
}
