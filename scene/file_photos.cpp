#include "scene/file_photos.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "assets/asset_store.h"
#include "platform/printable_text.h"

FilePhotos::FilePhotos(std::shared_ptr<PhotoList> list, PhotoFit fit, std::unique_ptr<Image> first)
    : list(std::move(list)), fit(fit), first(std::move(first)) {}

FilePhotos::~FilePhotos() {
    for (const auto &[index, photo] : loaded) AssetStore::instance()->release(photo.id);
}

void FilePhotos::request(uint32_t index, bool forFirstFrame) {
    std::string path;
    if (loaded.count(index) || !list->nameAt(index, path)) return;
    const int id = AssetStore::instance()->requestPhotoFile(path, PHOTO_TEXELS, fit,
                                                            forFirstFrame ? LoadWhen::FirstFrame : LoadWhen::Later,
                                                            levelBlocks);
    loaded[index] = {id, path};
}

void FilePhotos::requestPhotos(const std::vector<uint32_t> &blocks) {
    levelBlocks = blocks;
    std::string path;
    if (first && list->nameAt(0, path)) {
        loaded[0] = {AssetStore::instance()->requestDecoded(std::move(first), LoadWhen::FirstFrame, levelBlocks), path};
    }
    request(0, true);
}

int FilePhotos::photoId(uint32_t index) const {
    auto found = loaded.find(index);
    return found == loaded.end() ? 0 : found->second.id;
}

bool FilePhotos::photoReady(uint32_t index) const { return AssetStore::instance()->texture(photoId(index)); }

void FilePhotos::keepNear(uint32_t shown, uint32_t asked) {
    const uint32_t count = photoCount();
    const auto after = [&](uint32_t index) { return index + 1 < count ? index + 1 : 0; };
    const auto before = [&](uint32_t index) { return index == 0 ? count - 1 : index - 1; };
    // In the order they are wanted: the transition's next, the asked-for,
    // then what a key may ask for next.
    const uint32_t wanted[] = {shown, after(shown), asked, after(asked), before(asked), before(shown)};
    for (uint32_t index : wanted) request(index, false);
    for (auto it = loaded.begin(); it != loaded.end();) {
        if (std::find(std::begin(wanted), std::end(wanted), it->first) != std::end(wanted)) {
            ++it;
            continue;
        }
        AssetStore::instance()->release(it->second.id);
        it = loaded.erase(it);
    }
}

bool FilePhotos::dropFailed(uint32_t &index) {
    AssetStore *store = AssetStore::instance();
    for (auto it = loaded.begin(); it != loaded.end(); ++it) {
        const int id = it->second.id;
        if (store->isLoading(id) || store->texture(id)) continue;
        index = it->first;
        if (!list->drop(index)) return false;   // the last one stays, shown as nothing
        std::fprintf(stderr, "dorirova: skipping %s: %s\n", printableText(it->second.path).c_str(),
                     store->loadFailure(id).c_str());
        store->release(id);
        loaded.erase(it);
        // The later ones move down by one.
        std::map<uint32_t, Loaded> moved;
        for (auto &[at, photo] : loaded) moved[at > index ? at - 1 : at] = std::move(photo);
        loaded = std::move(moved);
        return true;
    }
    return false;
}
