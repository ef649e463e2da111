#include "scene/photo_source.h"

#include "assets/asset_store.h"

bool PhotoSource::photoReady(uint32_t index) const { return !AssetStore::instance()->isLoading(photoId(index)); }

void PhotoSource::keepNear(uint32_t, uint32_t) {}

bool PhotoSource::dropFailed(uint32_t &) { return false; }
