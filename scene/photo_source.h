#pragma once
// Where the slideshow's photographs come from. The slideshow asks its source
// to request them from the asset store, then how many there are and the
// asset id of each, in show order; whether one has come, and its texture,
// it asks the asset store by that id.
//
// A source may keep only some of its photographs loaded (the viewer's own,
// which may be thousands): the slideshow tells it each frame which it shows
// and which it asks for, and the source keeps those and their neighbours.
#include <cstdint>
#include <vector>

class PhotoSource {
public:
    virtual ~PhotoSource() = default;

    // Requests the photographs from the asset store, in show order, each
    // with pixelated levels of these block sizes (texels): the first for the
    // first frame, the others to load meanwhile. Once, from the slideshow's init.
    virtual void requestPhotos(const std::vector<uint32_t> &levelBlocks) = 0;

    // How many photographs there are once requested; 0 before.
    virtual uint32_t photoCount() const = 0;

    // The asset id of the photograph at index, 0 .. photoCount() - 1; 0
    // (no texture) while it is not requested.
    virtual int photoId(uint32_t index) const = 0;

    // Whether the photograph at index can be shown: by default once it is no
    // longer loading (one that failed to load shows nothing).
    virtual bool photoReady(uint32_t index) const;

    // Called first in every frame of the slideshow: shown is the index of the
    // photograph on show, asked the one the viewer last asked for (shown
    // when none is awaited). A source that keeps only some loaded requests
    // these and their neighbours and forgets the rest. By default nothing:
    // every photograph stays.
    virtual void keepNear(uint32_t shown, uint32_t asked);

    // Takes one photograph that failed to load out of the show and gives
    // its index (the later ones move down by one); false when there is none
    // to take out. By default none: a failed one stays and shows nothing.
    virtual bool dropFailed(uint32_t &index);
};
