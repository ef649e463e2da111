#include "scene/archive_photos.h"

#include <iterator>
#include <utility>

#include "assets/asset_store.h"

ArchivePhotos::ArchivePhotos() : files(std::begin(PHOTO_FILES), std::end(PHOTO_FILES)) {}

ArchivePhotos::ArchivePhotos(std::vector<std::string> files) : files(std::move(files)) {}

void ArchivePhotos::requestPhotos(const std::vector<uint32_t> &levelBlocks) {
    AssetStore *store = AssetStore::instance();
    for (const std::string &file : files) {
        const LoadWhen when = photoIds.empty() ? LoadWhen::FirstFrame : LoadWhen::Later;
        photoIds.push_back(store->requestTexture(file, when, levelBlocks));
    }
}

const char *const PHOTO_FILES[PHOTO_COUNT] = {
    "01_alpine-dawn.jpg",    "02_mandelbrot-valley.jpg", "03_emission-nebula.jpg", "04_polished-marble.jpg",
    "05_cumulus-afternoon.jpg", "06_meadow-noon.jpg",    "07_julia-filigree.jpg",  "08_ringed-planet.jpg",
    "09_desert-dusk.jpg",    "10_walnut-grain.jpg",      "11_aurora-lake.jpg",     "12_fjord-evening.jpg",
    "13_burning-ship.jpg",   "14_spiral-galaxy.jpg",     "15_moonlit-peaks.jpg",   "16-amethyst-geode.jpg",
    "17-storm-front.jpg",    "18-red-canyon.jpg",        "19-deep-spiral.jpg",     "20-solar-eclipse.jpg",
    "21-volcanic-island.jpg", "22-autumn-leaves.jpg",    "23-sunset-sea.jpg",      "24-misty-highlands.jpg",
};
