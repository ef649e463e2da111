#include "photos.h"

#include <algorithm>

RgbaImage PhotoScene::render(const PhotoJob &job) const {
    RenderOptions options;
    options.width = options.height = job.size;
    options.contrast = contrast;
    options.refineGrid = 3;
    if (job.preview) options.refineGrid = 2;
    // Grain is measured in display units per pixel; smaller pictures keep it.
    return finishPhoto(renderShader(shader(), options), finish);
}

const std::vector<PhotoScene> &photoScenes() {
    static const std::vector<PhotoScene> scenes = [] {
        std::vector<PhotoScene> all;
        for (auto kind : {landscapePhotos, skyPhotos, spacePhotos, fractalPhotos, materialPhotos}) {
            std::vector<PhotoScene> some = kind();
            all.insert(all.end(), some.begin(), some.end());
        }
        // Show order is the number each file name begins with; the numbers
        // alternate the kinds so that neighbours in the slideshow differ.
        std::sort(all.begin(), all.end(),
                  [](const PhotoScene &a, const PhotoScene &b) { return a.fileName < b.fileName; });
        return all;
    }();
    return scenes;
}
