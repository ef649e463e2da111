// The eight landscapes: ray-marched height fields at dawn, noon, dusk and night.
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

Shader alpineDawn() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        double h = erodedNoise(x / 1600.0, z / 1600.0, octaves, 11);
        double r = ridged2(x / 3000.0, z / 3000.0, std::min(octaves, 4), 12);
        // A long lake in front of the camera; the range rises beyond it and
        // closes in from the sides.
        double shoreNoise = fbm2(x / 2500.0, z / 2500.0, 3, 13) * 900.0;
        double rise = smoothstep(1500.0, 7000.0, z + 0.9 * std::fabs(x + 400.0) + shoreNoise);
        double near = 260.0 * smoothstep(300.0, -400.0, z);
        return (h * 1700.0 + r * 1900.0) * rise - 80.0 * (1.0 - rise) + near + h * 90.0 * (1.0 - rise);
    };
    s.octaves = 13;
    s.gridCentre = {0, 9000};
    s.gridSize = 22000;
    s.gridOctaves = 7;
    s.maxHeight = 3400;
    Palette pal;
    pal.snowLine = 1250;
    pal.treeLine = 650;
    pal.beachTop = 0.8;
    pal.sand = {0.07, 0.065, 0.06};
    pal.rock = {0.17, 0.16, 0.155};
    pal.rockDark = {0.07, 0.068, 0.07};
    pal.grass = {0.045, 0.075, 0.03};
    pal.grassDry = {0.12, 0.11, 0.05};
    pal.forest = {0.02, 0.04, 0.025};
    pal.forestLine = 500;
    s.surface = [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.01, 0.025, 0.035};
    s.waveScale = 0.01;
    s.waveStrength = 0.012;
    s.eye = {0, 240, -200};
    s.target = {500, 420, 6000};
    s.fovDegrees = 50;
    s.far = 45000;
    // The sun rises behind the camera to the left: the peaks catch its first
    // light while the sky in view keeps the blue and rose of dawn.
    Vec3 sun = normalize(Vec3{-0.65, 0.085, -0.55});
    s.sky.sunDirection = sun;
    s.sky.zenith = {0.08, 0.14, 0.36};
    s.sky.horizon = {0.85, 0.58, 0.6};
    s.sky.belowHorizon = {0.5, 0.4, 0.45};
    s.sky.horizonSharpness = 0.5;
    s.sky.sunGlow = {0.6, 0.3, 0.15};
    s.sky.glowPower = 3;
    s.sky.sunHaze = {2.0, 1.0, 0.4};
    s.sky.hazePower = 60;
    s.sky.sunDisc = {60, 35, 15};
    s.clouds = true;
    s.cloudLayer.altitude = 4600;
    s.cloudLayer.coverage = 0.5;
    s.cloudLayer.thickness = 2.2;
    s.cloudLayer.stretch = 2.5;
    s.cloudLayer.scale = 1.0 / 3500;
    s.cloudLayer.litColour = {2.6, 1.45, 1.2};
    s.cloudLayer.shadowColour = {0.5, 0.4, 0.55};
    s.sunLight = Vec3{4.2, 2.3, 1.5};
    s.skyLight = {0.2, 0.24, 0.42};
    s.bounceLight = {0.08, 0.05, 0.05};
    s.shadowSoftness = 16;
    s.fogColour = {0.55, 0.5, 0.62};
    s.fogSunColour = {1.1, 0.7, 0.45};
    s.fogDensity = 0.00009;
    s.fogFalloff = 0.0012;
    s.fogBaseHeight = 0;
    return landscapeShader(s);
}

Shader meadowNoon() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        double hills = erodedNoise(x / 1100.0, z / 1100.0, octaves, 21) * 330.0;
        // Blue mountains far away close the view.
        double range = ridged2(x / 4000.0, z / 4000.0, std::min(octaves, 6), 22) * 2600.0 *
                       smoothstep(9000.0, 16000.0, z + fbm2(x / 5000.0, 0.3, 2, 23) * 2000.0);
        // A river valley winds away from the camera.
        double river = std::fabs(x - 350.0 * std::sin(z / 700.0) - 200.0 * std::sin(z / 1900.0 + 1.0));
        double valley = smoothstep(60.0, 700.0, river);
        return hills * (0.08 + 0.92 * valley) + range - 8.0 + 6.0 * valley;
    };
    s.octaves = 13;
    s.gridCentre = {0, 10000};
    s.gridSize = 24000;
    s.gridOctaves = 7;
    s.maxHeight = 3000;
    Palette pal;
    pal.rock = {0.2, 0.19, 0.17};
    pal.rockDark = {0.1, 0.095, 0.09};
    pal.grass = {0.06, 0.11, 0.03};
    pal.grassDry = {0.19, 0.17, 0.07};
    pal.grassSlope = 0.55;
    pal.treeLine = 1600;
    pal.forest = {0.025, 0.05, 0.02};
    pal.forestLine = 260;
    pal.snowLine = 1900;
    pal.beachTop = 0.4;
    pal.sand = {0.2, 0.18, 0.13};
    s.surface = [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.015, 0.035, 0.035};
    s.waveScale = 0.03;
    s.waveStrength = 0.03;
    s.eye = {-150, 150, -600};
    s.target = {100, 60, 3000};
    s.fovDegrees = 56;
    s.far = 50000;
    s.sky.sunDirection = normalize(Vec3{0.5, 0.9, 0.35});
    s.sky.zenith = {0.12, 0.28, 0.75};
    s.sky.horizon = {0.65, 0.78, 0.95};
    s.sky.belowHorizon = {0.5, 0.55, 0.6};
    s.sky.horizonSharpness = 0.4;
    s.sky.sunGlow = {0.3, 0.3, 0.25};
    s.sky.sunHaze = {1.0, 0.9, 0.7};
    s.sky.sunDisc = {200, 190, 170};
    s.clouds = true;
    s.cloudLayer.altitude = 2600;
    s.cloudLayer.scale = 1.0 / 2200;
    s.cloudLayer.coverage = 0.48;
    s.cloudLayer.thickness = 4.0;
    s.cloudLayer.stretch = 1.2;
    s.cloudLayer.litColour = {2.6, 2.6, 2.55};
    s.cloudLayer.shadowColour = {0.55, 0.62, 0.75};
    s.cloudLayer.seed = 24;
    s.sunLight = {3.4, 3.2, 2.9};
    s.skyLight = {0.35, 0.45, 0.7};
    s.bounceLight = {0.06, 0.07, 0.04};
    s.fogColour = {0.55, 0.65, 0.82};
    s.fogSunColour = {0.8, 0.8, 0.75};
    s.fogDensity = 0.00007;
    s.fogFalloff = 0.0008;
    return landscapeShader(s);
}

Shader desertDusk() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
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
    };
    s.octaves = 13;
    s.gridCentre = {0, 6000};
    s.gridSize = 16000;
    s.gridOctaves = 5;
    s.maxHeight = 260;
    s.surface = [](const SurfaceSample &p) {
        double n = fbm2(p.position.x * 0.01, p.position.z * 0.01, detailOctaves(100, 5, p), 36);
        Vec3 sand = mix(Vec3{0.52, 0.25, 0.1}, Vec3{0.66, 0.37, 0.17}, clamp01(0.5 + n));
        return SurfaceLook{sand, 0.04};
    };
    s.eye = {0, 75, 0};
    s.target = {600, 45, 2500};
    s.fovDegrees = 50;
    s.far = 25000;
    // Low sun from the right: lit windward slopes, long blue lee shadows.
    s.sky.sunDirection = normalize(Vec3{0.9, 0.11, 0.35});
    s.sky.zenith = {0.05, 0.1, 0.3};
    s.sky.horizon = {1.0, 0.6, 0.35};
    s.sky.belowHorizon = {0.6, 0.35, 0.2};
    s.sky.horizonSharpness = 0.4;
    s.sky.sunGlow = {1.2, 0.5, 0.15};
    s.sky.glowPower = 5;
    s.sky.sunHaze = {3.0, 1.4, 0.4};
    s.sky.hazePower = 90;
    s.sky.sunDisc = {60, 28, 8};
    s.sky.discRadius = 0.012;
    s.clouds = true;
    s.cloudLayer.altitude = 6000;
    s.cloudLayer.scale = 1.0 / 4000;
    s.cloudLayer.coverage = 0.3;
    s.cloudLayer.thickness = 1.4;
    s.cloudLayer.stretch = 4.0;
    s.cloudLayer.wind = {0.2, 0, 1};
    s.cloudLayer.litColour = {3.0, 1.4, 0.6};
    s.cloudLayer.shadowColour = {0.45, 0.3, 0.38};
    s.cloudLayer.seed = 37;
    s.sunLight = {4.4, 2.4, 1.1};
    s.skyLight = {0.12, 0.16, 0.36};
    s.bounceLight = {0.12, 0.06, 0.03};
    s.shadowSoftness = 24;
    s.fogColour = {0.8, 0.55, 0.42};
    s.fogSunColour = {1.4, 0.75, 0.3};
    s.fogDensity = 0.00003;
    s.fogFalloff = 0.002;
    return landscapeShader(s);
}

Shader fjordEvening() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        // Sheer walls on both sides of a winding arm of the sea.
        double centre = 500.0 * std::sin(z / 2600.0) + 250.0 * std::sin(z / 1100.0 + 2.0);
        double across = std::fabs(x - centre);
        double width = 700.0 + 250.0 * fbm2(z / 3000.0, 1.3, 2, 41);
        double wall = smoothstep(width, width + 900.0, across);
        double h = erodedNoise(x / 1300.0, z / 1300.0, octaves, 42);
        double plateau = 900.0 + 500.0 * h + ridged2(x / 2000.0, z / 2000.0, std::min(octaves, 4), 43) * 500.0;
        return wall * plateau + (1.0 - wall) * (-60.0 + h * 60.0) + h * 120.0 * wall;
    };
    s.octaves = 13;
    s.gridCentre = {0, 9000};
    s.gridSize = 22000;
    s.gridOctaves = 7;
    s.maxHeight = 2400;
    Palette pal;
    pal.rock = {0.12, 0.115, 0.11};
    pal.rockDark = {0.05, 0.05, 0.055};
    pal.grass = {0.04, 0.07, 0.03};
    pal.grassDry = {0.08, 0.09, 0.04};
    pal.grassSlope = 0.7;
    pal.treeLine = 700;
    pal.forest = {0.015, 0.03, 0.02};
    pal.forestLine = 450;
    pal.snowLine = 1250;
    pal.snowSlope = 0.7;
    s.surface = [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.006, 0.012, 0.02};
    s.waveScale = 0.012;
    s.waveStrength = 0.01;
    s.eye = {0, 35, -300};
    s.target = {200, 240, 6000};
    s.fovDegrees = 56;
    s.far = 45000;
    // The sun has just set ahead: a burning horizon, purple above.
    s.sky.sunDirection = normalize(Vec3{0.12, -0.01, 1.0});
    s.sky.zenith = {0.05, 0.05, 0.16};
    s.sky.horizon = {1.2, 0.42, 0.2};
    s.sky.belowHorizon = {0.4, 0.2, 0.15};
    s.sky.horizonSharpness = 0.3;
    s.sky.sunGlow = {1.6, 0.45, 0.12};
    s.sky.glowPower = 4;
    s.sky.sunHaze = {2.5, 0.9, 0.3};
    s.sky.hazePower = 30;
    s.sky.sunDisc = {};
    s.clouds = true;
    s.cloudLayer.altitude = 4500;
    s.cloudLayer.scale = 1.0 / 3500;
    s.cloudLayer.coverage = 0.45;
    s.cloudLayer.thickness = 1.8;
    s.cloudLayer.stretch = 3.0;
    s.cloudLayer.wind = {1, 0, 0.15};
    s.cloudLayer.litColour = {2.6, 0.9, 0.45};
    s.cloudLayer.shadowColour = {0.22, 0.12, 0.2};
    s.cloudLayer.seed = 44;
    s.sunLight = {0.6, 0.25, 0.12};
    s.skyLight = {0.2, 0.15, 0.3};
    s.bounceLight = {0.05, 0.03, 0.03};
    s.fogColour = {0.35, 0.2, 0.3};
    s.fogSunColour = {1.0, 0.4, 0.2};
    s.fogDensity = 0.00012;
    s.fogFalloff = 0.003;
    return landscapeShader(s);
}

Shader moonlitPeaks() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        double h = erodedNoise(x / 1500.0, z / 1500.0, octaves, 51);
        double r = ridged2(x / 2800.0, z / 2800.0, std::min(octaves, 5), 52);
        double rise = smoothstep(-500.0, 5000.0, z + 0.4 * std::fabs(x));
        return (h * 1400.0 + r * 2200.0) * (0.35 + 0.65 * rise);
    };
    s.octaves = 13;
    s.gridCentre = {0, 9000};
    s.gridSize = 22000;
    s.gridOctaves = 7;
    s.maxHeight = 3800;
    Palette pal;
    pal.snowLine = 500;
    pal.snowSlope = 0.55;
    pal.treeLine = 300;
    pal.forestLine = 250;
    pal.rock = {0.12, 0.12, 0.13};
    pal.rockDark = {0.05, 0.05, 0.06};
    s.surface = [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
    s.eye = {0, 1450, -900};
    s.target = {600, 1500, 6000};
    s.fovDegrees = 54;
    s.far = 50000;
    // Moonlight from high on the right; the moon itself is in view.
    s.sky.sunDirection = normalize(Vec3{0.33, 0.3, 0.9});
    s.sky.zenith = {0.004, 0.007, 0.02};
    s.sky.horizon = {0.02, 0.035, 0.07};
    s.sky.belowHorizon = {0.02, 0.03, 0.05};
    s.sky.horizonSharpness = 0.5;
    s.sky.sunGlow = {0.02, 0.03, 0.05};
    s.sky.glowPower = 4;
    s.sky.sunHaze = {0.05, 0.06, 0.08};
    s.sky.hazePower = 200;
    s.sky.sunDisc = {0.3, 0.3, 0.29};
    s.sky.discRadius = 0.025;
    s.sky.moon = true;
    s.stars = true;
    s.starDensity = 0.05;
    s.starBrightness = 0.12;
    s.clouds = true;
    s.cloudLayer.altitude = 6000;
    s.cloudLayer.scale = 1.0 / 5000;
    s.cloudLayer.coverage = 0.22;
    s.cloudLayer.thickness = 1.2;
    s.cloudLayer.stretch = 3.5;
    s.cloudLayer.litColour = {0.12, 0.13, 0.16};
    s.cloudLayer.shadowColour = {0.02, 0.025, 0.04};
    s.cloudLayer.seed = 54;
    s.sunLight = {0.22, 0.25, 0.34};
    s.skyLight = {0.01, 0.015, 0.035};
    s.bounceLight = {0.005, 0.006, 0.01};
    s.fogColour = {0.02, 0.03, 0.055};
    s.fogSunColour = {0.05, 0.06, 0.09};
    s.fogDensity = 0.00006;
    s.fogFalloff = 0.0006;
    return landscapeShader(s);
}

Shader redCanyon() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        // Flat-topped mesas cut by a winding river: heights fall in terraces.
        double river = std::fabs(x - 600.0 * std::sin(z / 1500.0) - 300.0 * std::sin(z / 600.0));
        double canyon = smoothstep(100.0, 900.0, river + fbm2(x / 800.0, z / 800.0, 3, 61) * 300.0);
        double h = erodedNoise(x / 1800.0, z / 1800.0, octaves, 62);
        double raw = canyon * (500.0 + 300.0 * h);
        double step = 70.0, level = raw / step, base = std::floor(level), frac = level - base;
        double terraced = (base + smoothstep(0.55, 1.0, frac)) * step;
        double rough = fbm2(x / 120.0, z / 120.0, std::max(1, octaves - 6), 67) * 14.0;
        return mix(raw, terraced, 0.8) + h * 40.0 - 30.0 * (1.0 - canyon) + rough * canyon;
    };
    s.octaves = 13;
    s.gridCentre = {0, 8000};
    s.gridSize = 20000;
    s.gridOctaves = 7;
    s.maxHeight = 1200;
    s.surface = [](const SurfaceSample &p) {
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
    };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.03, 0.04, 0.02};
    s.waveScale = 0.05;
    s.waveStrength = 0.05;
    s.eye = {-700, 720, -1500};
    s.target = {300, 150, 2500};
    s.fovDegrees = 55;
    s.far = 30000;
    s.sky.sunDirection = normalize(Vec3{-0.75, 0.32, 0.3});
    s.sky.zenith = {0.1, 0.25, 0.7};
    s.sky.horizon = {0.7, 0.75, 0.85};
    s.sky.belowHorizon = {0.6, 0.5, 0.45};
    s.sky.sunGlow = {0.3, 0.25, 0.2};
    s.sky.sunHaze = {1, 0.9, 0.7};
    s.sky.sunDisc = {200, 190, 170};
    s.clouds = true;
    s.cloudLayer.altitude = 3500;
    s.cloudLayer.scale = 1.0 / 2500;
    s.cloudLayer.coverage = 0.3;
    s.cloudLayer.thickness = 3.5;
    s.cloudLayer.litColour = {2.6, 2.55, 2.5};
    s.cloudLayer.shadowColour = {0.6, 0.65, 0.78};
    s.cloudLayer.seed = 65;
    s.sunLight = {3.8, 3.1, 2.4};
    s.skyLight = {0.22, 0.3, 0.55};
    s.bounceLight = {0.25, 0.1, 0.04};
    s.fogColour = {0.7, 0.65, 0.7};
    s.fogSunColour = {0.9, 0.8, 0.7};
    s.fogDensity = 0.00005;
    s.fogFalloff = 0.001;
    return landscapeShader(s);
}

Shader volcanicIsland() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        double cx = x - 400.0, cz = z - 6500.0;
        double r = std::hypot(cx, cz * 1.15);
        double warp = fbm2(x / 900.0, z / 900.0, 4, 71) * 450.0;
        double cone = 1500.0 * std::exp(-std::pow((r + warp) / 1900.0, 1.5));
        // The crater at the summit.
        cone -= 260.0 * std::exp(-std::pow(r / 230.0, 2.0));
        double h = erodedNoise(x / 1000.0, z / 1000.0, octaves, 72);
        double land = cone + (h - 0.45) * 260.0 * smoothstep(50.0, 500.0, cone) + (h - 0.5) * 60.0;
        return land - 45.0;
    };
    s.octaves = 13;
    s.gridCentre = {0, 7000};
    s.gridSize = 14000;
    s.gridOctaves = 7;
    s.maxHeight = 1500;
    Palette pal;
    pal.rock = {0.09, 0.08, 0.08};
    pal.rockDark = {0.035, 0.03, 0.03};
    pal.grass = {0.06, 0.13, 0.03};
    pal.grassDry = {0.12, 0.15, 0.05};
    pal.grassSlope = 0.62;
    pal.treeLine = 700;
    pal.forest = {0.02, 0.06, 0.015};
    pal.forestLine = 420;
    pal.beachTop = 6;
    pal.sand = {0.55, 0.5, 0.38};
    s.surface = [pal](const SurfaceSample &p) { return paletteLook(pal, p); };
    s.water = true;
    s.waterLevel = 0;
    s.waterColour = {0.006, 0.03, 0.06};
    s.waveScale = 0.012;
    s.waveStrength = 0.06;
    s.eye = {-700, 90, 1400};
    s.target = {300, 420, 6500};
    s.fovDegrees = 52;
    s.far = 45000;
    s.sky.sunDirection = normalize(Vec3{-0.8, 0.22, 0.35});
    s.sky.zenith = {0.08, 0.2, 0.6};
    s.sky.horizon = {0.75, 0.78, 0.85};
    s.sky.belowHorizon = {0.5, 0.6, 0.7};
    s.sky.sunGlow = {0.5, 0.4, 0.25};
    s.sky.sunHaze = {2, 1.6, 1.0};
    s.sky.sunDisc = {150, 130, 100};
    s.clouds = true;
    s.cloudLayer.altitude = 2200;
    s.cloudLayer.scale = 1.0 / 1800;
    s.cloudLayer.coverage = 0.4;
    s.cloudLayer.thickness = 4.0;
    s.cloudLayer.stretch = 1.3;
    s.cloudLayer.litColour = {2.8, 2.6, 2.3};
    s.cloudLayer.shadowColour = {0.55, 0.6, 0.72};
    s.cloudLayer.seed = 74;
    s.sunLight = {3.6, 3.1, 2.4};
    s.skyLight = {0.3, 0.42, 0.65};
    s.bounceLight = {0.05, 0.06, 0.05};
    s.fogColour = {0.6, 0.7, 0.82};
    s.fogSunColour = {1.0, 0.9, 0.7};
    s.fogDensity = 0.00008;
    s.fogFalloff = 0.0012;
    return landscapeShader(s);
}

Shader mistyHighlands() {
    Landscape s;
    s.height = [](double x, double z, int octaves) {
        double h = erodedNoise(x / 1300.0, z / 1300.0, octaves, 81);
        double r = ridged2(x / 2400.0, z / 2400.0, std::min(octaves, 4), 82);
        return h * 620.0 + r * 420.0 - 160.0;
    };
    s.octaves = 13;
    s.gridCentre = {0, 8000};
    s.gridSize = 20000;
    s.gridOctaves = 7;
    s.maxHeight = 1200;
    s.surface = [](const SurfaceSample &p) {
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
    };
    s.eye = {0, 0, -500};
    s.eye.y = std::max(s.height(0, -500, 13) + 40.0, 640.0);
    s.target = {-300, 80, 5000};
    s.fovDegrees = 54;
    s.far = 35000;
    // A low sun ahead and to the left turns the mist in the valleys to gold.
    s.sky.sunDirection = normalize(Vec3{-0.45, 0.12, 1.0});
    s.sky.zenith = {0.1, 0.18, 0.42};
    s.sky.horizon = {0.95, 0.7, 0.5};
    s.sky.belowHorizon = {0.7, 0.6, 0.5};
    s.sky.horizonSharpness = 0.4;
    s.sky.sunGlow = {1.0, 0.6, 0.3};
    s.sky.glowPower = 5;
    s.sky.sunHaze = {3.0, 2.0, 1.0};
    s.sky.hazePower = 50;
    s.sky.sunDisc = {60, 45, 25};
    s.clouds = true;
    s.cloudLayer.altitude = 2600;
    s.cloudLayer.scale = 1.0 / 2600;
    s.cloudLayer.coverage = 0.5;
    s.cloudLayer.thickness = 2.2;
    s.cloudLayer.stretch = 3.0;
    s.cloudLayer.litColour = {2.8, 1.8, 1.0};
    s.cloudLayer.shadowColour = {0.4, 0.33, 0.38};
    s.cloudLayer.seed = 85;
    s.sunLight = {3.3, 2.4, 1.5};
    s.skyLight = {0.22, 0.26, 0.4};
    s.bounceLight = {0.06, 0.05, 0.04};
    // Dense mist lying in the valleys, thinning fast with height.
    s.fogColour = {0.8, 0.76, 0.74};
    s.fogSunColour = {1.9, 1.4, 0.85};
    s.fogDensity = 0.004;
    s.fogFalloff = 0.02;
    s.fogBaseHeight = 80;
    s.hazeDensity = 0.00006;
    return landscapeShader(s);
}

}   // namespace

std::vector<PhotoScene> landscapePhotos() {
    return {
        {"01_alpine-dawn.jpg", alpineDawn, {.exposure = 1.0, .seed = 101}},
        {"06_meadow-noon.jpg", meadowNoon, {.exposure = 0.85, .seed = 102}},
        {"09_desert-dusk.jpg", desertDusk, {.exposure = 0.95, .seed = 103}},
        {"12_fjord-evening.jpg", fjordEvening, {.exposure = 1.1, .seed = 104}},
        {"15_moonlit-peaks.jpg", moonlitPeaks, {.exposure = 3.2, .seed = 105}},
        {"18-red-canyon.jpg", redCanyon, {.exposure = 0.8, .seed = 106}},
        {"21-volcanic-island.jpg", volcanicIsland, {.exposure = 0.85, .seed = 107}},
        {"24-misty-highlands.jpg", mistyHighlands, {.exposure = 0.8, .seed = 108}},
    };
}
