#pragma once
// The viewer's own photographs as the slideshow's source: the files of a
// PhotoList, of which only a few are loaded at a time (the one on show, the
// one before and the one after, and the same around one the viewer asked
// for), so that memory does not grow with their number. One that cannot be
// shown is taken out of the show with a line on stderr naming it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/photo_file.h"
#include "scene/photo_list.h"
#include "scene/photo_source.h"

// The side of the square each photograph is fitted into, in texels: the
// archive's photographs' size, so that the pixelated levels look the same.
constexpr uint32_t PHOTO_TEXELS = 1024;

class FilePhotos : public PhotoSource {
public:
    // list holds at least one photograph; first, when not null, is its first
    // decoded already (loadPhotoFile with PHOTO_TEXELS and fit), taken over.
    FilePhotos(std::shared_ptr<PhotoList> list, PhotoFit fit, std::unique_ptr<Image> first = nullptr);
    ~FilePhotos() override;   // forgets the textures it requested

    void requestPhotos(const std::vector<uint32_t> &levelBlocks) override;   // the first, for the first frame
    uint32_t photoCount() const override { return list->count(); }
    int photoId(uint32_t index) const override;
    bool photoReady(uint32_t index) const override;   // here with its texture; a failed one is not
    void keepNear(uint32_t shown, uint32_t asked) override;
    bool dropFailed(uint32_t &index) override;

private:
    struct Loaded {
        int id;             // asset id
        std::string path;   // for the line when it fails
    };
    // Requests the photograph at index unless it is loaded or its name is not yet known.
    void request(uint32_t index, bool forFirstFrame);

    std::shared_ptr<PhotoList> list;
    PhotoFit fit;
    std::vector<uint32_t> levelBlocks;
    std::unique_ptr<Image> first;
    std::map<uint32_t, Loaded> loaded;   // requested photographs by index in the show
};
