#pragma once
// The packed archive the benchmark's runs load: the one linked into the
// program (resources/archive/), completed with stand-ins (stand_in_assets.h)
// for the images the layers load that it does not hold yet.
#include <cstddef>
#include <string>
#include <vector>

// One entry of a packed archive, pointing into the archive's bytes.
struct ArchiveItem {
    std::string name;
    const unsigned char *data = nullptr;
    std::size_t size = 0;   // bytes
};

// The entries of a packed archive in table order; empty when it is malformed.
std::vector<ArchiveItem> archiveItems(const unsigned char *archive, std::size_t size);

// The entries of the archive the program finds now ("REZ" 102, or its override).
std::vector<ArchiveItem> currentArchiveItems();

struct CompletedArchive {
    std::string bytes;                    // the completed archive; empty when nothing was missing
    int shippedPhotos = 0;                // photographs the shipped archive holds
    int standInPhotos = 0;                // photographs made here in their place
    std::vector<std::string> standIns;    // names of every entry made here
};

// The shipped archive, with a stand-in for every image the layers load that
// it lacks: photographs of the shipped kind, graphics of the shipped sizes.
CompletedArchive completeShippedArchive();

// Child processes: make the program find the archive in this file ("REZ"
// 102), mapped read-only like the executable's own data. False on failure.
bool useArchiveFile(const char *path);
