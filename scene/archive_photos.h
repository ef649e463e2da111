#pragma once
// The archive's photographs as the slideshow's source: by default the show's
// own 24, in the order of their numbers.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/photo_source.h"

constexpr int PHOTO_COUNT = 24;

// The photographs' archive names, in show order.
extern const char *const PHOTO_FILES[PHOTO_COUNT];

class ArchivePhotos : public PhotoSource {
public:
    ArchivePhotos();                                      // the 24 of PHOTO_FILES
    explicit ArchivePhotos(std::vector<std::string> files);   // archive names, in show order

    void requestPhotos(const std::vector<uint32_t> &levelBlocks) override;
    uint32_t photoCount() const override { return uint32_t(photoIds.size()); }
    int photoId(uint32_t index) const override { return photoIds[index]; }

private:
    std::vector<std::string> files;
    std::vector<int> photoIds;   // asset ids, one per file once requested
};
