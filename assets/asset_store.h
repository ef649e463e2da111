#pragma once
// The one owner of every loaded image. Layers request images by archive file
// name during their init, keep the integer ids, and look the Texture up by id
// when they draw. Every operation runs on the GL thread (the one whose GL
// context is current); uploads need that context.
//
// Images load in the background: worker threads read them from the archive,
// decode them into Images and make their pixelated levels, and the GL thread
// turns what arrived into Textures, between frames (or at once, when it waits
// for them). The workers read the archive without a lock (resource_archive.h);
// the map, the ids and the set of loading ids belong to the GL thread alone.
#include "assets/image_loader.h"
#include "assets/texture.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// When a requested image has to be on screen.
enum class LoadWhen {
    FirstFrame,   // before the frame loop's first frame: waitForFirstFrame waits for it
    Later,        // whenever it comes; its layer copes until then
};

class AssetStore {
public:
    // The store, created on the first call: copies the archive resource into
    // a temporary file and reads its table. An archive that cannot be read
    // leaves an empty table, so every load fails.
    static AssetStore *instance();

    // Closes the archive (deleting its temporary copy) and forgets the store.
    // Textures and their GL objects are not released. Safe without a store.
    static void destroyInstance();

    // The texture of id, or null for an id never issued (0 included) or a
    // failed load. Valid for the rest of the process.
    Texture *texture(int id) const;

    // Issues the next id at once, 1, 2, 3, ... in call order over the run,
    // never reused, and has the image loaded in the background, with a
    // pixelated level for each of levelBlocks (block sizes, in order, as
    // Image::makeLevels makes them): block 1 of an opaque image is the
    // image's own texture (glName); who draws it as a level sets nearest
    // filtering. JPEGs come as opaque R G B A (JpegLayout). The type comes
    // from the name's last "." on: exactly ".png" or ".jpg" (so ".PNG",
    // ".jpeg" and names without "." are no image). No temporary file is made
    // for an image.
    // texture(id) stays null until the image has been uploaded, and so
    // isLoading(id) is true until then; a failed load still takes its id,
    // and ends as null.
    int requestTexture(const std::string &fileName, LoadWhen when, std::vector<uint32_t> levelBlocks = {});

    // As requestTexture, for the viewer's own files: the photograph at path,
    // fitted into a square of side texels (a power of two) as fit says, with
    // its levels; read on the loader's threads (loadPhotoFile).
    int requestPhotoFile(const std::string &path, uint32_t side, PhotoFit fit, LoadWhen when,
                         std::vector<uint32_t> levelBlocks);

    // As requestTexture, for an image decoded already (taken over): only its
    // levels are made on the loader's threads.
    int requestDecoded(std::unique_ptr<Image> image, LoadWhen when, std::vector<uint32_t> levelBlocks);

    // As requestTexture, for a PNG file of the viewer's at path, as it is (with its alpha).
    int requestPictureFile(const std::string &path, LoadWhen when);

    // Forgets id: its texture's GL textures are deleted, a load not yet
    // begun is dropped, one under way is thrown away when it arrives.
    // Afterwards texture(id) is null and isLoading(id) false. For the
    // photographs that come and go; harmless for an id never issued.
    void release(int id);

    // Why the file of a failed load could not be shown (a few words), or ""
    // for an id that has not failed.
    std::string loadFailure(int id) const;

    // True from requestTexture until the image has arrived (or failed).
    bool isLoading(int id) const;

    // Waits until every image requested for the first frame has arrived and
    // uploads them; decodes on this thread too rather than wait idle. The
    // last step of the scene's set-up.
    void waitForFirstFrame();

    // Waits until every requested image has arrived and uploads them all:
    // afterwards nothing is loading. For a run that must start from the
    // complete picture (a recording, the golden frames).
    void finishLoading();

    // Uploads at most maxImages images that have arrived (each with its
    // levels) and returns how many. Does not wait. Between frames; nothing
    // without a store.
    static int uploadArrived(int maxImages);

    // While paused, the background loads begin no new image; waits still
    // load on the calling thread. Tests hold images back with it.
    void pauseLoading();
    void resumeLoading();

    // What kept entries from being extracted: "cannot write temporary files
    // in DIR" once the archive's copy or an extraction could not be written
    // (a missing or full $TMPDIR), else "". The store says nothing itself: a
    // window runs on without what is missing, a recording cannot.
    std::string extractionFailure() const;

    // How many of the images asked for so far have failed (not those still loading).
    int failedLoads() const;

    // The path of a new temporary file holding the named entry's bytes; the
    // caller owns the file and deletes it. Empty when there is no such entry.
    std::string extractToTempFile(const std::string &fileName);

private:
    AssetStore();
    ~AssetStore();

    // The loader, started with the first request.
    ImageLoader &backgroundLoader();
    // Issues the next id for request and queues it.
    int queueRequest(ImageRequest request, LoadWhen when);
    // Puts a loaded image's texture (uploaded here) under its id.
    void upload(LoadedImage &image);

    std::map<int, Texture *> textures;  // null for a failed load or one still loading; the records outlive the store
    int nextId = 1;                     // the id the next load receives
    std::set<int> loading;              // requested ids not yet arrived
    std::set<int> released;             // released while loading: thrown away when they arrive
    std::map<int, std::string> failures;   // why a file's load failed, by id
    std::unique_ptr<ImageLoader> loader;   // made with the first request
    // Whether a temporary file could not be written since the store was
    // made: the archive's copy or an extracted entry is then missing.
    bool tempFilesFailed = false;
};
