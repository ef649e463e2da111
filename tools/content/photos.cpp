#include "photos.h"

RgbaImage renderPhoto(const Shader &shader, const Finish &finish, const PhotoJob &job, double contrast) {
    RenderOptions options;
    options.width = options.height = job.size;
    options.contrast = contrast;
    options.refineGrid = 3;
    if (job.preview) options.refineGrid = 2;
    // Grain is measured in display units per pixel; smaller pictures keep it.
    return finishPhoto(renderShader(shader, options), finish);
}

const std::vector<PhotoScene> &photoScenes() {
    // Show order: the kinds alternate so neighbours in the slideshow differ.
    static const std::vector<PhotoScene> scenes = {
        {"01_alpine-dawn.jpg", alpineDawn},
        {"02_mandelbrot-valley.jpg", mandelbrotValley},
        {"03_emission-nebula.jpg", emissionNebula},
        {"04_polished-marble.jpg", polishedMarble},
        {"05_cumulus-afternoon.jpg", cumulusAfternoon},
        {"06_meadow-noon.jpg", meadowNoon},
        {"07_julia-filigree.jpg", juliaFiligree},
        {"08_ringed-planet.jpg", ringedPlanet},
        {"09_desert-dusk.jpg", desertDusk},
        {"10_walnut-grain.jpg", walnutGrain},
        {"11_aurora-lake.jpg", auroraLake},
        {"12_fjord-evening.jpg", fjordEvening},
        {"13_burning-ship.jpg", burningShip},
        {"14_spiral-galaxy.jpg", spiralGalaxy},
        {"15_moonlit-peaks.jpg", moonlitPeaks},
        {"16-amethyst-geode.jpg", amethystGeode},
        {"17-storm-front.jpg", stormFront},
        {"18-red-canyon.jpg", redCanyon},
        {"19-deep-spiral.jpg", deepSpiral},
        {"20-solar-eclipse.jpg", solarEclipse},
        {"21-volcanic-island.jpg", volcanicIsland},
        {"22-autumn-leaves.jpg", autumnLeaves},
        {"23-sunset-sea.jpg", sunsetSea},
        {"24-misty-highlands.jpg", mistyHighlands},
    };
    return scenes;
}
