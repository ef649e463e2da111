// The table of resources linked into the executable, by type and id, handed
// to the platform's resource lookup before main runs. The executable links
// this library whole: nothing else refers to this file.
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

[[maybe_unused]] const bool provided =
    (provideEmbeddedResources(EMBEDDED_RESOURCES, sizeof EMBEDDED_RESOURCES / sizeof EMBEDDED_RESOURCES[0]), true);
}  // namespace
