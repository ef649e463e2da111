#pragma once
// The 24 photographs of the slideshow: their file names in show order and
// the scene that renders each one.
#include <functional>
#include <string>
#include <vector>

#include "render.h"

// How large and how carefully to render: the shipped size, or a quick preview.
struct PhotoJob {
    int size = 1024;          // pixels, square
    bool preview = false;     // fewer samples, for looking at a scene while working on it
};

struct PhotoScene {
    std::string fileName;                               // e.g. "01_alpine-dawn.jpg"
    std::function<RgbaImage(const PhotoJob &)> render;
};

// All 24, numbers 01 to 24 in order.
const std::vector<PhotoScene> &photoScenes();

// Renders a shader as a photograph: supersampled, tone-mapped, dithered.
RgbaImage renderPhoto(const Shader &shader, const Finish &finish, const PhotoJob &job, double contrast = 0.05);

// The scenes, grouped by kind (one file each).
RgbaImage alpineDawn(const PhotoJob &job);
RgbaImage meadowNoon(const PhotoJob &job);
RgbaImage desertDusk(const PhotoJob &job);
RgbaImage fjordEvening(const PhotoJob &job);
RgbaImage moonlitPeaks(const PhotoJob &job);
RgbaImage redCanyon(const PhotoJob &job);
RgbaImage volcanicIsland(const PhotoJob &job);
RgbaImage mistyHighlands(const PhotoJob &job);

RgbaImage cumulusAfternoon(const PhotoJob &job);
RgbaImage auroraLake(const PhotoJob &job);
RgbaImage stormFront(const PhotoJob &job);
RgbaImage sunsetSea(const PhotoJob &job);

RgbaImage ringedPlanet(const PhotoJob &job);
RgbaImage emissionNebula(const PhotoJob &job);
RgbaImage spiralGalaxy(const PhotoJob &job);
RgbaImage solarEclipse(const PhotoJob &job);

RgbaImage mandelbrotValley(const PhotoJob &job);
RgbaImage juliaFiligree(const PhotoJob &job);
RgbaImage burningShip(const PhotoJob &job);
RgbaImage deepSpiral(const PhotoJob &job);

RgbaImage polishedMarble(const PhotoJob &job);
RgbaImage walnutGrain(const PhotoJob &job);
RgbaImage amethystGeode(const PhotoJob &job);
RgbaImage autumnLeaves(const PhotoJob &job);
