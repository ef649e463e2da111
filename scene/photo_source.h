#pragma once
// Where the slideshow's photographs come from. The slideshow asks its source
// to request them from the asset store, then how many there are and the
// asset id of each, in show order; whether one has come, and its texture,
// it asks the asset store by that id.
#include <cstdint>
#include <vector>

class PhotoSource {
public:
    virtual ~PhotoSource() = default;

    // Requests every photograph from the asset store, in show order, each
    // with pixelated levels of these block sizes (texels): the first for the
    // first frame, the others to load meanwhile. Once, from the slideshow's init.
    virtual void requestPhotos(const std::vector<uint32_t> &levelBlocks) = 0;

    // How many photographs there are once requested; 0 before.
    virtual uint32_t photoCount() const = 0;

    // The asset id of the photograph at index, 0 .. photoCount() - 1.
    virtual int photoId(uint32_t index) const = 0;
};
