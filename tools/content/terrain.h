#pragma once
// Ray-marched landscapes: a height field given as a function, lit by a sun
// (or moon) with soft shadows, over optional water that mirrors the land and
// sky, under a sky with clouds, through height fog. One settings record per
// picture; `landscapeShader` turns it into a shader for the renderer.
#include <functional>

#include "render.h"
#include "sky.h"

// What the surface is made of at one point.
struct SurfaceSample {
    Vec3 position;      // world units, y up
    Vec3 normal;        // unit
    double distance;    // from the eye, world units
    double footprint;   // world units one pixel covers at that distance: texture detail finer than this aliases
};
struct SurfaceLook {
    Vec3 albedo;              // linear reflectance 0..1
    double specular = 0.0;    // strength of a soft highlight (snow, wet rock)
};

// The photographs fill it with designated initialisers: keep the fields in
// this order (terrain, surface, water, camera, sky, light, fog, stars).
struct Landscape {
    // Height of the ground at (x, z) in world units, summing `octaves` octaves
    // of detail: far points ask for fewer.
    std::function<double(double x, double z, int octaves)> height;
    int octaves = 12;            // octaves at full detail
    double lodDistance = 100;    // distance that still gets full detail; each doubling drops an octave
    double maxHeight = 2000;     // no ground rises above this

    // A precomputed grid of the coarse heights speeds the march over open
    // ground: square, centred at gridCentre (x, z), gridSize world units wide,
    // holding `gridOctaves` octaves. gridSize 0: no grid.
    Vec2d gridCentre{};
    double gridSize = 0;
    int gridOctaves = 6;

    std::function<SurfaceLook(const SurfaceSample &)> surface;   // what the ground is made of at each point

    bool water = false;
    double waterLevel = 0;
    Vec3 waterColour{0.01, 0.03, 0.04};   // radiance of deep water's body
    double waveScale = 0.08;              // frequency of the ripples per world unit
    double waveStrength = 0.12;           // slope of the ripples

    Vec3 eye, target;            // camera, world units
    double fovDegrees = 55;      // vertical field of view
    double far = 40000;          // the march gives up here

    SkyModel sky;
    bool clouds = false;
    CloudLayer cloudLayer;
    Vec3 sunLight{3, 3, 3};      // direct radiance onto a surface facing the sun
    Vec3 skyLight{0.3, 0.4, 0.6};     // ambient from above
    Vec3 bounceLight{0.1, 0.08, 0.05};   // ambient from the ground
    double shadowSoftness = 12;  // larger is harder

    Vec3 fogColour{0.5, 0.6, 0.7};
    Vec3 fogSunColour{1.0, 0.8, 0.6};   // fog looking towards the sun
    double fogDensity = 0.00005;          // per world unit at height 0
    double fogFalloff = 0.001;            // per world unit of height
    double fogBaseHeight = 0;             // where fogDensity applies
    double hazeDensity = 0;               // per world unit at any height: aerial perspective

    bool stars = false;
    double starDensity = 0.04;   // chance of a star per cell of 0.004 radians
    double starBrightness = 0.3;
};

Shader landscapeShader(const Landscape &scene);

// Eroded terrain octaves: value noise whose finer octaves fade on steep
// slopes, so valleys come out smooth and ridges sharp. 0..about 1.
double erodedNoise(double x, double z, int octaves, uint32_t seed);
