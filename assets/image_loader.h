#pragma once
// Worker threads that load images off the GL thread: the asset store hands
// them requests, they read, decode and average (the pixelated levels'
// texels) into Images, and the GL thread takes what arrived and uploads it.
// Requests for the first frame go before all others. At most maxWaiting images are in the
// workers' hands or waiting for their upload at any time, so loading never
// runs further ahead of the uploads than that (memory).
//
// Threads: request, takeArrived, waitForArrival, pause and resume are called
// from the GL thread only; the workers call the load function. The queues and
// counters below are shared and read or changed only under `lock`.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "assets/image.h"
#include "assets/photo_file.h"
#include "assets/texture.h"

// Where an image comes from.
enum class ImageOrigin {
    ArchiveEntry,   // fileName is the archive's entry
    PhotoFile,      // fileName is a path: a photograph of the viewer's, fitted into a square of photoSide (photo_file.h)
    PictureFile,    // fileName is a path: a PNG of the viewer's, as it is
    Decoded,        // decoded already (decoded), for its levels only
};

// One image the asset store asked for.
struct ImageRequest {
    int id = 0;                          // the asset id it was issued
    std::string fileName;                // archive entry or path, as origin says
    std::vector<uint32_t> levelBlocks;   // pixelated levels to make, block sizes in order
    bool forFirstFrame = false;          // loaded before every request without it
    ImageOrigin origin = ImageOrigin::ArchiveEntry;
    uint32_t photoSide = 0;              // PhotoFile: the square's side, a power of two
    PhotoFit fit = PhotoFit::Inside;     // PhotoFile: how it goes into the square
    std::shared_ptr<Image> decoded = nullptr;   // Decoded: the image, taken by the one load
};

// A loaded image on its way to the GL thread.
struct LoadedImage {
    int id = 0;
    bool forFirstFrame = false;
    std::unique_ptr<Image> image;       // decoded, with its levels' texels; null when the load failed
    // The record the image's upload fills, made beside it so that an upload
    // between frames allocates nothing; null when the load failed.
    std::unique_ptr<Texture> texture;
    std::string failure;                // a file's failed load: why, in a few words
};

// What a worker does with one request; runs on any thread.
using LoadImageFunction = LoadedImage (*)(const ImageRequest &request);

class ImageLoader {
public:
    // Starts threads workers (at least 1) that load with load.
    ImageLoader(unsigned threads, unsigned maxWaiting, LoadImageFunction load);
    // Stops the workers: requests not yet begun are dropped, the ones in
    // hand are finished and thrown away; returns once every thread has ended.
    ~ImageLoader();
    ImageLoader(const ImageLoader &) = delete;
    ImageLoader &operator=(const ImageLoader &) = delete;

    // Queues one request (behind the others of its kind).
    void request(ImageRequest request);

    // Moves the oldest arrived image into image (only one for the first
    // frame when firstFrameOnly); false, without waiting, when there is none.
    bool takeArrived(LoadedImage &image, bool firstFrameOnly);

    // As takeArrived, but waits for such an image; meanwhile the calling
    // thread loads queued requests itself (first-frame ones only when
    // firstFrameOnly) rather than idling. False when none can come: nothing
    // of that kind is queued, in hand or waiting.
    bool waitForArrival(LoadedImage &image, bool firstFrameOnly);

    // Drops the request for id if no thread has begun it; true if it did.
    bool cancel(int id);

    // While paused, the workers begin no new request (tests hold images back
    // with it); waitForArrival still loads on the calling thread.
    void pause();
    void resume();

private:
    void work();                     // a worker thread's loop
    // Loads request on this thread (lock held on entry and on return).
    void loadHere(ImageRequest request, std::unique_lock<std::mutex> &held);
    // takeArrived with the lock held.
    bool takeLocked(LoadedImage &image, bool firstFrameOnly);
    // A queued request to begin, first-frame ones first; false when none fits.
    bool nextRequest(ImageRequest &request, bool firstFrameOnly);

    const unsigned maxWaiting;
    const LoadImageFunction load;
    std::vector<std::thread> workers;

    mutable std::mutex lock;
    std::condition_variable changed;        // a request came, an image arrived or was taken, a pause ended, stop
    std::deque<ImageRequest> firstFrameQueue;
    std::deque<ImageRequest> laterQueue;
    std::deque<LoadedImage> arrived;        // loaded, waiting for the GL thread
    unsigned inHand = 0;                    // requests being loaded, by any thread
    unsigned firstFrameInHand = 0;          // of which for the first frame
    bool paused = false;
    bool stopping = false;
};
