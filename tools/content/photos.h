#pragma once
// The 24 photographs of the slideshow, as data: each one entry of a table
// that names its file, the shader that draws it and how its picture is
// finished. The tables live with their kind, one file each; the renderers the
// entries call (landscapes, fractal zooms, the photograph renderer) are shared.
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
    std::string fileName;              // e.g. "01_alpine-dawn.jpg": the number is its place in the show
    std::function<Shader()> shader;    // called only when the photograph is rendered: some precompute for seconds
    Finish finish;
    double contrast = 0.05;            // refinement threshold, as RenderOptions::contrast

    // The photograph: supersampled, tone-mapped, dithered.
    RgbaImage render(const PhotoJob &job) const;
};

// All 24, numbers 01 to 24 in order.
const std::vector<PhotoScene> &photoScenes();

// The tables by kind, each in its file's own order.
std::vector<PhotoScene> landscapePhotos();   // height fields, and the sunset over the sea
std::vector<PhotoScene> skyPhotos();
std::vector<PhotoScene> spacePhotos();
std::vector<PhotoScene> fractalPhotos();
std::vector<PhotoScene> materialPhotos();
