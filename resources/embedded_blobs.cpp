// The table of resources linked into the executable, by type and id.
#include "resources/embedded_blobs.h"

#include "platform/embedded_resources.h"

extern "C" const unsigned char dorirova_rez_start[];
extern "C" const unsigned char dorirova_rez_end[];
extern "C" const unsigned char dorirova_banner_start[];
extern "C" const unsigned char dorirova_banner_end[];

namespace {
const EmbeddedResource EMBEDDED_RESOURCES[] = {
    {"REZ", 102, dorirova_rez_start, dorirova_rez_end},
    {"BITMAP", 103, dorirova_banner_start, dorirova_banner_end},
};
}  // namespace

void provideProgramResources() {
    provideEmbeddedResources(EMBEDDED_RESOURCES, sizeof EMBEDDED_RESOURCES / sizeof EMBEDDED_RESOURCES[0]);
}
