// The floor child: the photographs decoded alone, and what fresh memory costs.
#include "bench/child_runs.h"

#include <cstdio>      // FILE, needed before jpeglib.h
#include <jpeglib.h>   // decoding the photographs
#include <sys/mman.h>  // fresh memory for the first-touch probe
#include <unistd.h>    // sysconf: the page size

#include <cstdint>
#include <memory>
#include <vector>

#include "bench/bench_archive.h"
#include "bench/child_output.h"
#include "bench/stage_clock.h"
#include "scene/archive_photos.h"

// One photograph decoded from memory the way the loader decodes its file:
// default parameters, one scanline per call, bottom-up rows into buffer.
static void decodeFromMemory(const ArchiveItem &item, uint8_t *buffer) {
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, item.data, (unsigned long)item.size);
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    const size_t rowBytes = size_t(decoder.output_width) * decoder.output_components;
    const uint32_t height = decoder.output_height;
    while (decoder.output_scanline < height) {
        JSAMPROW row = buffer + (height - 1 - decoder.output_scanline) * rowBytes;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_destroy_decompress(&decoder);
}

// Bytes a photograph decodes to, from its header alone.
static size_t decodedSize(const ArchiveItem &item) {
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, item.data, (unsigned long)item.size);
    jpeg_read_header(&decoder, TRUE);
    jpeg_calc_output_dimensions(&decoder);
    const size_t size = size_t(decoder.output_width) * decoder.output_height * decoder.output_components;
    jpeg_destroy_decompress(&decoder);
    return size;
}

// What a first touch of fresh memory costs here: 64 MiB of new anonymous
// memory written one byte a page. On a virtual machine this is often far
// more than the copy that follows it.
static void reportFirstTouchCost() {
    constexpr size_t SIZE = size_t(64) << 20;
    const long pageSize = sysconf(_SC_PAGESIZE);
    void *memory = mmap(nullptr, SIZE, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    volatile uint8_t *bytes = static_cast<uint8_t *>(memory);
    const long faults = minorPageFaults();
    const BenchClock::time_point start = BenchClock::now();
    for (size_t offset = 0; offset < SIZE; offset += size_t(pageSize)) bytes[offset] = 1;
    const double ms = millisecondsBetween(start, BenchClock::now());
    const long touched = minorPageFaults() - faults;
    munmap(memory, SIZE);
    report("first_touch_us_per_fault", touched > 0 ? ms * 1000 / double(touched) : 0);
    report("page_size", double(pageSize));
}

int runFloorChild() {
    const std::vector<ArchiveItem> items = currentArchiveItems();
    std::vector<const ArchiveItem *> photos;
    for (const char *name : PHOTO_FILES) {
        for (const ArchiveItem &item : items) {
            if (item.name == name) {
                photos.push_back(&item);
                break;
            }
        }
    }
    std::vector<size_t> sizes;
    for (const ArchiveItem *photo : photos) sizes.push_back(decodedSize(*photo));

    // As start-up must: a new buffer per photograph, all kept to the end.
    std::vector<std::unique_ptr<uint8_t[]>> kept;
    kept.reserve(photos.size());
    long faults = minorPageFaults();
    BenchClock::time_point start = BenchClock::now();
    for (size_t i = 0; i < photos.size(); ++i) {
        kept.emplace_back(new uint8_t[sizes[i]]);
        decodeFromMemory(*photos[i], kept.back().get());
    }
    report("floor_ms", millisecondsBetween(start, BenchClock::now()));
    report("floor_faults", double(minorPageFaults() - faults));

    // Decoding alone with no fresh memory: the same buffers again, now resident.
    faults = minorPageFaults();
    start = BenchClock::now();
    for (size_t i = 0; i < photos.size(); ++i) decodeFromMemory(*photos[i], kept[i].get());
    report("floor_warm_ms", millisecondsBetween(start, BenchClock::now()));
    report("floor_warm_faults", double(minorPageFaults() - faults));
    report("floor_photos", double(photos.size()));
    reportFirstTouchCost();
    return 0;
}
