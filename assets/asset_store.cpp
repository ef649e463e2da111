// The asset store: ids for loaded images, over the packed archive.
#include "assets/asset_store.h"

#include "assets/image_decoding.h"
#include "assets/resource_archive.h"
#include "platform/embedded_resources.h"
#include "platform/file_bytes.h"
#include "platform/large_blocks.h"
#include "platform/printable_text.h"
#include "platform/temp_file.h"

#include <algorithm>
#include <thread>
#include <vector>

static AssetStore *singleInstance = nullptr;

// Textures outlive the store that loaded them: layers may still hold their GL
// names, and the process end reclaims them. Kept here so they stay reachable.
static std::vector<Texture *> *outlivingTextures = nullptr;

// Reads one image's bytes from the archive and decodes them; null on
// failure. Any thread. The bytes go from the archive's copy straight to the
// decoder: no temporary file per image. Photographs come as R G B A: their
// upload, between frames, is then a copy.
static Image *decodeEntry(const std::string &fileName) {
    std::vector<unsigned char> bytes;
    if (!ResourceArchive::readEntry(fileName.c_str(), bytes)) return nullptr;   // no such entry
    const size_t dot = fileName.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    if (extension == ".png") return decodePngBytes(bytes.data(), bytes.size());
    if (extension == ".jpg") return decodeJpegBytes(bytes.data(), bytes.size(), JpegLayout::OpaqueRgba);
    return nullptr;
}

// A PNG file of the viewer's, read whole; null when it cannot be, failure
// saying why.
static Image *decodePictureFile(const std::string &path, std::string &failure) {
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes, failure)) return nullptr;
    Image *image = decodePngBytes(bytes.data(), bytes.size());
    if (!image) failure = "not a PNG image, or a damaged one";
    return image;
}

// The image a request asks for; null on failure (failure then says why, for a file).
static Image *decodeRequest(const ImageRequest &request, std::string &failure) {
    switch (request.origin) {
        case ImageOrigin::ArchiveEntry:
            return decodeEntry(request.fileName);
        case ImageOrigin::PhotoFile:
            return loadPhotoFile(request.fileName, request.photoSide, request.fit, failure);
        case ImageOrigin::PictureFile:
            return decodePictureFile(request.fileName, failure);
        case ImageOrigin::Decoded:
            return new Image(std::move(*request.decoded));
    }
    return nullptr;
}

// What a loader thread does with one request: the image decoded and the
// texels of its levels made, ready for the upload.
static LoadedImage loadInBackground(const ImageRequest &request) {
    LoadedImage loaded;
    loaded.image.reset(decodeRequest(request, loaded.failure));
    if (!loaded.image) return loaded;
    loaded.image->makeLevels(request.levelBlocks);
    loaded.texture = std::make_unique<Texture>();
    loaded.texture->pixelatedLevels.reserve(request.levelBlocks.size());
    return loaded;
}

// Loader threads: one per core, up to four; images in their hands or
// waiting for the upload: two more than that.
static unsigned loaderThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 4u); }

AssetStore::AssetStore() {
    // A failed open leaves an empty table; every load then fails on its own.
    const std::string copy = ResourceArchive::writeResourceToTempFile();
    if (copy.empty() && findResource("REZ", 102).data) tempFilesFailed = true;
    ResourceArchive::open(copy.c_str());
}

AssetStore::~AssetStore() {
    loader.reset();   // its threads end before the archive closes
    ResourceArchive::close();
}

AssetStore *AssetStore::instance() {
    if (!singleInstance) singleInstance = new AssetStore;
    return singleInstance;
}

void AssetStore::destroyInstance() {
    if (!singleInstance) return;
    if (!outlivingTextures) outlivingTextures = new std::vector<Texture *>;
    for (const auto &[id, texture] : singleInstance->textures) {
        if (texture) outlivingTextures->push_back(texture);
    }
    delete singleInstance;
    singleInstance = nullptr;
}

Texture *AssetStore::texture(int id) const {
    auto found = textures.find(id);
    return found == textures.end() ? nullptr : found->second;
}

std::string AssetStore::extractToTempFile(const std::string &fileName) {
    char path[RESOURCE_PATH_SIZE] = {};
    ResourceArchive::extractEntry(fileName.c_str(), path);
    if (!path[0] && ResourceArchive::hasEntry(fileName.c_str())) tempFilesFailed = true;
    return path;
}

std::string AssetStore::extractionFailure() const {
    return tempFilesFailed ? "cannot write temporary files in " + printableText(tempDirectory()) : "";
}

int AssetStore::failedLoads() const {
    int failed = 0;
    for (const auto &[id, texture] : textures) failed += !texture && !isLoading(id);
    return failed;
}

int AssetStore::requestTexture(const std::string &fileName, LoadWhen when, std::vector<uint32_t> levelBlocks) {
    ImageRequest request;
    request.fileName = fileName;
    request.levelBlocks = std::move(levelBlocks);
    return queueRequest(std::move(request), when);
}

int AssetStore::requestPhotoFile(const std::string &path, uint32_t side, PhotoFit fit, LoadWhen when,
                                 std::vector<uint32_t> levelBlocks) {
    ImageRequest request;
    request.fileName = path;
    request.origin = ImageOrigin::PhotoFile;
    request.photoSide = side;
    request.fit = fit;
    request.levelBlocks = std::move(levelBlocks);
    return queueRequest(std::move(request), when);
}

int AssetStore::requestDecoded(std::unique_ptr<Image> image, LoadWhen when, std::vector<uint32_t> levelBlocks) {
    ImageRequest request;
    request.origin = ImageOrigin::Decoded;
    request.decoded = std::move(image);
    request.levelBlocks = std::move(levelBlocks);
    return queueRequest(std::move(request), when);
}

int AssetStore::requestPictureFile(const std::string &path, LoadWhen when) {
    ImageRequest request;
    request.fileName = path;
    request.origin = ImageOrigin::PictureFile;
    return queueRequest(std::move(request), when);
}

int AssetStore::queueRequest(ImageRequest request, LoadWhen when) {
    const int id = nextId++;
    textures[id] = nullptr;
    loading.insert(id);
    request.id = id;
    request.forFirstFrame = when == LoadWhen::FirstFrame;
    backgroundLoader().request(std::move(request));
    return id;
}

void AssetStore::release(int id) {
    auto found = textures.find(id);
    if (found == textures.end()) return;
    if (Texture *texture = found->second) {
        deleteTextures(*texture);
        delete texture;
    }
    textures.erase(found);
    failures.erase(id);
    if (loading.erase(id) && !(loader && loader->cancel(id))) released.insert(id);
}

std::string AssetStore::loadFailure(int id) const {
    auto found = failures.find(id);
    return found == failures.end() ? "" : found->second;
}

ImageLoader &AssetStore::backgroundLoader() {
    if (!loader) {
        // What the threads decode is handed to this thread and freed here:
        // large blocks go back to the system, not to the decoding thread's heap.
        returnLargeBlocksToSystem();
        loader = std::make_unique<ImageLoader>(loaderThreads(), loaderThreads() + 2, loadInBackground);
    }
    return *loader;
}

bool AssetStore::isLoading(int id) const { return loading.count(id) > 0; }

void AssetStore::upload(LoadedImage &image) {
    if (released.erase(image.id)) {   // no longer wanted: thrown away
        image = LoadedImage{};
        return;
    }
    if (!image.failure.empty()) failures[image.id] = image.failure;
    Texture *texture = image.texture.release();
    if (texture) uploadImage(*image.image, *texture);
    image.image.reset();
    textures[image.id] = texture;
    loading.erase(image.id);
}

void AssetStore::waitForFirstFrame() {
    LoadedImage image;
    while (loader && loader->waitForArrival(image, true)) upload(image);
}

void AssetStore::finishLoading() {
    LoadedImage image;
    while (loader && loader->waitForArrival(image, false)) upload(image);
}

int AssetStore::uploadArrived(int maxImages) {
    // Once everything has come, a frame does not take the loader's lock.
    if (!singleInstance || !singleInstance->loader || singleInstance->loading.empty()) return 0;
    int uploaded = 0;
    LoadedImage image;
    while (uploaded < maxImages && singleInstance->loader->takeArrived(image, false)) {
        singleInstance->upload(image);
        ++uploaded;
    }
    return uploaded;
}

void AssetStore::pauseLoading() { backgroundLoader().pause(); }

void AssetStore::resumeLoading() {
    if (loader) loader->resume();
}
