// dorirova_photo_bench: how long the photograph file loader takes, and how
// much memory it adds, for a camera's photograph: a generated, detailed
// WIDTHxHEIGHT picture (grain on gradients, as a photograph compresses)
// written as a baseline JPEG, a progressive JPEG and a PNG, each loaded into
// the slideshow's 1024 square a few times.
//
//   dorirova_photo_bench [WxH [RUNS]]     (defaults 6000x4000, 5)
//
// Prints each file's size, the median and fastest load in milliseconds, and
// the growth of the resident memory's peak over the loads of that kind,
// from what the program held before them: the loader's own.
#include <unistd.h>         // getpid

#include <png.h>            // writing the PNG
#include <cstdio>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "assets/photo_file.h"
#include "bench/stand_in_assets.h"
#include "platform/temp_file.h"

namespace {

// Row y of the picture: gradients with a fine grain, R G B.
void pictureRow(uint32_t width, uint32_t height, uint32_t y, std::vector<uint8_t> &row) {
    uint32_t seed = y * 2654435761u;
    for (uint32_t x = 0; x < width; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int grain = int(seed >> 28) - 8;
        row[x * 3] = uint8_t(std::clamp(int(x * 255 / width) + grain, 0, 255));
        row[x * 3 + 1] = uint8_t(std::clamp(int(y * 255 / height) + grain, 0, 255));
        row[x * 3 + 2] = uint8_t(std::clamp(128 + int((x / 40 + y / 40) % 2) * 60 + grain, 0, 255));
    }
}

void writeJpeg(const std::string &path, uint32_t width, uint32_t height, bool progressive) {
    std::vector<uint8_t> row(size_t(width) * 3);
    const std::string jpeg = encodeStandInJpeg(width, height, 92, progressive, [&](uint32_t y) {
        pictureRow(width, height, y, row);
        return row.data();
    });
    FILE *file = std::fopen(path.c_str(), "wb");
    std::fwrite(jpeg.data(), 1, jpeg.size(), file);
    std::fclose(file);
}

void writePng(const std::string &path, uint32_t width, uint32_t height) {
    FILE *file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(size_t(width) * 3);
    for (uint32_t y = 0; y < height; ++y) {
        pictureRow(width, height, y, row);
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// A line of /proc/self/status ("VmRSS", "VmHWM": the resident memory now
// and at its peak), in KiB.
long statusKiB(const char *field) {
    FILE *status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = -1;
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, field, std::strlen(field)) == 0) kib = std::atol(line + std::strlen(field) + 1);
    }
    if (status) std::fclose(status);
    return kib;
}

// Makes the peak resident memory the present one again (Linux 4.0 on).
void resetPeak() {
    FILE *refs = std::fopen("/proc/self/clear_refs", "w");
    if (refs) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

}  // namespace

int main(int argc, char **argv) {
    uint32_t width = 6000, height = 4000;
    if (argc > 1 && std::sscanf(argv[1], "%ux%u", &width, &height) != 2) {
        std::fprintf(stderr, "usage: dorirova_photo_bench [WxH [RUNS]]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const std::string base = tempDirectory() + "/dorirova-photo-bench-" + std::to_string(getpid());
    enum Format { Baseline, Progressive, Png };
    const struct {
        Format format;
        const char *kind, *suffix;
    } kinds[] = {{Baseline, "baseline JPEG", ".jpg"}, {Progressive, "progressive JPEG", "-p.jpg"}, {Png, "PNG", ".png"}};
    std::printf("%ux%u into a 1024 square, %d loads each\n", width, height, runs);
    for (const auto &kind : kinds) {
        const std::string path = base + kind.suffix;
        if (kind.format == Png) writePng(path, width, height);
        else writeJpeg(path, width, height, kind.format == Progressive);
        FILE *file = std::fopen(path.c_str(), "rb");
        std::fseek(file, 0, SEEK_END);
        const long bytes = std::ftell(file);
        std::fclose(file);
        resetPeak();
        const long residentBefore = statusKiB("VmRSS");
        std::vector<double> ms;
        for (int run = 0; run < runs; ++run) {
            std::string failure;
            const auto start = std::chrono::steady_clock::now();
            std::unique_ptr<Image> image(loadPhotoFile(path, 1024, PhotoFit::Inside, failure));
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (!image) std::printf("  %s: refused: %s\n", kind.kind, failure.c_str());
        }
        std::remove(path.c_str());
        std::sort(ms.begin(), ms.end());
        std::printf("%-17s %6.1f MB: median %7.1f ms, fastest %7.1f ms, peak memory +%.1f MiB\n", kind.kind,
                    bytes / 1e6, ms[ms.size() / 2], ms[0], (statusKiB("VmHWM") - residentBefore) / 1024.0);
    }
    return 0;
}
