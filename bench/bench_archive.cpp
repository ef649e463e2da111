// Reading, completing and substituting the packed archive.
#include "bench/bench_archive.h"

#include <fcntl.h>     // open
#include <sys/mman.h>  // mapping the completed archive like the executable's data
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "assets/archive_format.h"
#include "bench/stand_in_assets.h"
#include "platform/embedded_resources.h"
#include "scene/archive_photos.h"

namespace {

constexpr int ARCHIVE_TYPE_ID = 102;

// The graphics the layers load, with their shipped sizes in pixels.
struct Graphic {
    const char *name;
    uint32_t width, height;
};
const Graphic GRAPHICS[] = {
    {"background-star.png", 1024, 1024},
    {"picture-frame.png", 592, 592},
    {"krv-logo.png", 1024, 512},
    {"scroller-border.png", 1024, 128},
    {"charset.png", 256, 256},
    {"scroller-selection_title.png", 512, 32},
    {"scroller-selection_alb_hi.png", 512, 32}, {"scroller-selection_alb_lo.png", 512, 32},
    {"scroller-selection_dun_hi.png", 512, 32}, {"scroller-selection_dun_lo.png", 512, 32},
    {"scroller-selection_fem_hi.png", 512, 32}, {"scroller-selection_fem_lo.png", 512, 32},
    {"scroller-selection_gol_hi.png", 512, 32}, {"scroller-selection_gol_lo.png", 512, 32},
    {"scroller-selection_hix_hi.png", 512, 32}, {"scroller-selection_hix_lo.png", 512, 32},
    {"scroller-selection_jup_hi.png", 512, 32}, {"scroller-selection_jup_lo.png", 512, 32},
    {"scroller-selection_kes_hi.png", 512, 32}, {"scroller-selection_kes_lo.png", 512, 32},
};

bool holds(const std::vector<ArchiveItem> &items, const std::string &name) {
    for (const ArchiveItem &item : items) {
        if (item.name == name) return true;
    }
    return false;
}

}  // namespace

std::vector<ArchiveItem> archiveItems(const unsigned char *archive, std::size_t size) {
    std::vector<ResourceArchiveEntry> table;
    if (!archive || !parseArchiveTable(archive, size, size, table)) return {};
    std::vector<ArchiveItem> items;
    for (const ResourceArchiveEntry &entry : table) {
        items.push_back({entry.name, archive + entry.offset, entry.size});
    }
    return items;
}

std::vector<ArchiveItem> currentArchiveItems() {
    const ResourceBytes resource = findResource("REZ", ARCHIVE_TYPE_ID);
    return archiveItems(resource.data, resource.size);
}

CompletedArchive completeShippedArchive() {
    const std::vector<ArchiveItem> shipped = currentArchiveItems();
    std::vector<std::pair<std::string, std::string>> made;  // name, bytes
    CompletedArchive result;
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        if (holds(shipped, PHOTO_FILES[i])) {
            ++result.shippedPhotos;
        } else {
            made.emplace_back(PHOTO_FILES[i], makeStandInPhoto(uint32_t(i) * 17));
            ++result.standInPhotos;
        }
    }
    uint32_t seed = 1000;
    for (const Graphic &g : GRAPHICS) {
        if (!holds(shipped, g.name)) made.emplace_back(g.name, makeStandInGraphic(g.width, g.height, seed++));
    }
    if (made.empty()) return result;

    std::vector<ArchivePart> parts;
    for (const ArchiveItem &item : shipped) {
        parts.push_back({item.name, {reinterpret_cast<const char *>(item.data), item.size}});
    }
    for (const auto &[name, bytes] : made) {
        parts.push_back({name, bytes});
        result.standIns.push_back(name);
    }
    result.bytes = archiveBytes(parts);
    return result;
}

bool useArchiveFile(const char *path) {
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0) return false;
    struct stat status{};
    void *mapped = MAP_FAILED;
    if (fstat(fd, &status) == 0 && status.st_size > 0) {
        mapped = mmap(nullptr, std::size_t(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);
    if (mapped == MAP_FAILED) return false;
    // Stays mapped until the process ends, as the executable's data does.
    overrideResource("REZ", ARCHIVE_TYPE_ID, static_cast<const unsigned char *>(mapped),
                     std::size_t(status.st_size));
    return true;
}
