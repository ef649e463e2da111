#pragma once
// The one owner of every loaded image. Layers load images by archive file
// name during their init, keep the integer ids, and look the Texture up by id
// when they draw. Main thread only; loads need the current GL context.
#include "assets/texture.h"

#include <map>
#include <string>

class AssetStore {
public:
    // The store, created on the first call: copies the archive resource into
    // a temporary file and reads its table. An archive that cannot be read
    // leaves an empty table, so every load fails.
    static AssetStore *instance();

    // Closes the archive (deleting its temporary copy) and forgets the store.
    // Textures and their GL objects are not released. Safe without a store.
    static void destroyInstance();

    // Loads the named image and returns its new id: 1, 2, 3, ... in call
    // order over the run, never reused. A failed load still takes an id,
    // which maps to no texture.
    int loadTexture(const std::string &fileName);

    // The texture of id, or null for an id never issued (0 included) or a
    // failed load. Valid for the rest of the process.
    Texture *texture(int id) const;

    // Extracts, decodes and uploads one image; null on failure. The type
    // comes from the name's last "." on: exactly ".png" or ".jpg" (so
    // ".PNG", ".jpeg" and names without "." are no image). The extracted
    // file is deleted before returning, whatever the outcome.
    Texture *loadImage(const std::string &fileName);

    // The path of a new temporary file holding the named entry's bytes; the
    // caller owns the file and deletes it. Empty when there is no such entry.
    std::string extractToTempFile(const std::string &fileName);

private:
    AssetStore();
    ~AssetStore();

    std::map<int, Texture *> textures;  // null for a failed load; the records outlive the store
    int nextId = 1;                     // the id the next load receives
};
