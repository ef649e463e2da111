// The asset store: ids for loaded images, over the packed archive.
#include "assets/asset_store.h"

#include "assets/image_decoding.h"
#include "assets/resource_archive.h"
#include "platform/embedded_resources.h"
#include "platform/temp_file.h"

#include <cstdio>
#include <vector>

static AssetStore *singleInstance = nullptr;

// Textures outlive the store that loaded them: layers may still hold their GL
// names, and the process end reclaims them. Kept here so they stay reachable.
static std::vector<Texture *> *outlivingTextures = nullptr;

// Says once per run, on stderr, that temporary files could not be written:
// the presentation goes on without what could not be extracted.
static void reportTempFileFailure() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    std::fprintf(stderr, "dorirova: cannot write temporary files in %s; running without what could not be extracted\n",
                 tempDirectory().c_str());
}

AssetStore::AssetStore() {
    // A failed open leaves an empty table; every load then fails on its own.
    const std::string copy = ResourceArchive::writeResourceToTempFile();
    if (copy.empty() && findResource("REZ", 102).data) reportTempFileFailure();
    ResourceArchive::open(copy.c_str());
}

AssetStore::~AssetStore() { ResourceArchive::close(); }

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

int AssetStore::loadTexture(const std::string &fileName) {
    textures[nextId] = loadImage(fileName);
    return nextId++;
}

Texture *AssetStore::texture(int id) const {
    auto found = textures.find(id);
    return found == textures.end() ? nullptr : found->second;
}

Texture *AssetStore::loadImage(const std::string &fileName) {
    std::string tempPath = extractToTempFile(fileName);
    if (tempPath.empty()) return nullptr;  // no such entry
    size_t dot = fileName.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot);
    Texture *loaded = nullptr;
    if (extension == ".png") {
        loaded = loadPng(tempPath.c_str());
    } else if (extension == ".jpg") {
        loaded = loadJpeg(tempPath.c_str());
    }
    removeTempFile(tempPath);
    return loaded;
}

// Whether the archive's table has an entry of exactly this name.
static bool archiveHas(const std::string &fileName) {
    for (uint32_t i = 0; i < ResourceArchive::entryCount(); ++i) {
        if (fileName == ResourceArchive::entry(i).name) return true;
    }
    return false;
}

std::string AssetStore::extractToTempFile(const std::string &fileName) {
    char path[RESOURCE_PATH_SIZE] = {};
    ResourceArchive::extractEntry(fileName.c_str(), path);
    if (!path[0] && archiveHas(fileName)) reportTempFileFailure();
    return path;
}
