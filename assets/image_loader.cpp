// The image loader's threads and queues.
#include "assets/image_loader.h"

#include <algorithm>
#include <exception>

ImageLoader::ImageLoader(unsigned threads, unsigned maxWaiting, LoadImageFunction load)
    : maxWaiting(std::max(1u, maxWaiting)), load(load) {
    for (unsigned i = 0; i < std::max(1u, threads); ++i) workers.emplace_back(&ImageLoader::work, this);
}

ImageLoader::~ImageLoader() {
    {
        std::lock_guard held(lock);
        stopping = true;
        firstFrameQueue.clear();
        laterQueue.clear();
    }
    changed.notify_all();
    for (std::thread &worker : workers) worker.join();
}

void ImageLoader::request(ImageRequest request) {
    {
        std::lock_guard held(lock);
        (request.forFirstFrame ? firstFrameQueue : laterQueue).push_back(std::move(request));
    }
    changed.notify_all();
}

bool ImageLoader::nextRequest(ImageRequest &request, bool firstFrameOnly) {
    std::deque<ImageRequest> *queue = !firstFrameQueue.empty()                    ? &firstFrameQueue
                                      : !firstFrameOnly && !laterQueue.empty() ? &laterQueue
                                                                                 : nullptr;
    if (!queue) return false;
    request = std::move(queue->front());
    queue->pop_front();
    return true;
}

void ImageLoader::loadHere(ImageRequest request, std::unique_lock<std::mutex> &held) {
    ++inHand;
    firstFrameInHand += request.forFirstFrame ? 1 : 0;
    held.unlock();
    LoadedImage image;
    try {
        image = load(request);
    } catch (const std::exception &) {
        image = LoadedImage{};   // out of memory on the way: a failed load, like any other
        image.failure = "out of memory";
    }
    image.id = request.id;
    image.forFirstFrame = request.forFirstFrame;
    held.lock();
    --inHand;
    firstFrameInHand -= request.forFirstFrame ? 1 : 0;
    if (!stopping) arrived.push_back(std::move(image));
    changed.notify_all();
}

void ImageLoader::work() {
    std::unique_lock held(lock);
    for (;;) {
        changed.wait(held, [&] {
            const bool queued = !firstFrameQueue.empty() || !laterQueue.empty();
            return stopping || (!paused && queued && inHand + arrived.size() < maxWaiting);
        });
        if (stopping) return;
        ImageRequest request;
        nextRequest(request, false);
        loadHere(std::move(request), held);
    }
}

bool ImageLoader::takeLocked(LoadedImage &image, bool firstFrameOnly) {
    auto found = std::find_if(arrived.begin(), arrived.end(),
                              [&](const LoadedImage &a) { return a.forFirstFrame || !firstFrameOnly; });
    if (found == arrived.end()) return false;
    image = std::move(*found);
    arrived.erase(found);
    changed.notify_all();   // room for a worker to begin another
    return true;
}

bool ImageLoader::takeArrived(LoadedImage &image, bool firstFrameOnly) {
    std::lock_guard held(lock);
    return takeLocked(image, firstFrameOnly);
}

bool ImageLoader::waitForArrival(LoadedImage &image, bool firstFrameOnly) {
    std::unique_lock held(lock);
    for (;;) {
        if (takeLocked(image, firstFrameOnly)) return true;
        ImageRequest request;
        if (nextRequest(request, firstFrameOnly)) {
            loadHere(std::move(request), held);   // rather than wait idle
            continue;
        }
        if ((firstFrameOnly ? firstFrameInHand : inHand) == 0) return false;
        changed.wait(held);
    }
}

bool ImageLoader::cancel(int id) {
    std::lock_guard held(lock);
    for (std::deque<ImageRequest> *queue : {&firstFrameQueue, &laterQueue}) {
        auto found = std::find_if(queue->begin(), queue->end(), [&](const ImageRequest &r) { return r.id == id; });
        if (found != queue->end()) {
            queue->erase(found);
            return true;
        }
    }
    return false;
}

void ImageLoader::pause() {
    std::lock_guard held(lock);
    paused = true;
}

void ImageLoader::resume() {
    {
        std::lock_guard held(lock);
        paused = false;
    }
    changed.notify_all();
}
