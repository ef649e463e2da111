// The benchmark's report.
#include "bench/bench_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/stage_clock.h"

double number(const Results &results, const std::string &key) {
    auto found = results.find(key);
    return found == results.end() || found->second.empty() ? 0 : std::atof(found->second[0].c_str());
}

namespace {

struct Spread {
    double median = 0, min = 0, max = 0;
};

Spread spreadOf(std::vector<double> values) {
    if (values.empty()) return {};
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

Spread spreadOf(const std::vector<Results> &runs, const std::string &key) {
    std::vector<double> values;
    for (const Results &r : runs) values.push_back(number(r, key));
    return spreadOf(values);
}

std::string rangeText(const Spread &s, const char *format) {
    char min[32], max[32];
    std::snprintf(min, sizeof min, format, s.min);
    std::snprintf(max, sizeof max, format, s.max);
    return std::string(min) + " .. " + max;
}

constexpr double MIB = 1024.0 * 1024.0;

struct StageRow {
    Stage stage;
    const char *label;
};

}  // namespace

std::string cpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    }
    return "unknown CPU";
}

// The system's load average over the last minute: how busy the shared machine was.
std::string loadAverage() {
    std::ifstream loadavg("/proc/loadavg");
    std::string oneMinute;
    loadavg >> oneMinute;
    return oneMinute.empty() ? "?" : oneMinute;
}

// Section 1's table: each stage's time and page faults, then the start-up,
// the floor and the floor into resident buffers, with what the faults cost.
static void printStageTable(const std::vector<Results> &startups, const std::vector<Results> &floors,
                            double touchUs) {
    const Results &first = startups.front();
    const int photos = int(number(first, "calls_decode_jpeg"));
    const int graphics = int(number(first, "calls_decode_png"));
    const int levels = int(number(first, "calls_levels"));
    char label[9][64];
    std::snprintf(label[0], 64, "extraction (%d images)", int(number(first, "calls_extraction")));
    std::snprintf(label[1], 64, "decoding: %d photographs (JPEG)", photos);
    std::snprintf(label[2], 64, "decoding: %d graphics (PNG)", graphics);
    std::snprintf(label[3], 64, "pixelated levels: averaging (%d)", levels);
    std::snprintf(label[4], 64, "upload: full textures (%d)", photos + graphics);
    std::snprintf(label[5], 64, "upload: pixelated levels (%d)", levels);
    std::snprintf(label[6], 64, "extracted files deleted (%d)", int(number(first, "calls_temp_removal")));
    const StageRow rows[] = {
        {Stage::Display, "display: window and GL context"},
        {Stage::ArchiveCopy, "archive copy (temp file + table)"},
        {Stage::Extraction, label[0]},
        {Stage::TempRemoval, label[6]},
        {Stage::DecodeJpeg, label[1]},
        {Stage::DecodePng, label[2]},
        {Stage::Levels, label[3]},
        {Stage::UploadImage, label[4]},
        {Stage::UploadLevels, label[5]},
        {Stage::Music, "music load (extract + module)"},
        {Stage::SceneRest, "rest of initScene"},
        {Stage::FirstFrame, "first frame: draw, swap, presented"},
    };
    std::printf("\n## 1. Start-up: Run to the first frame presented (1024 x 768 window)\n\n");
    std::printf("Median of %zu start-ups, each in a fresh process; min .. max beside it.\n\n",
                startups.size());
    std::printf("| %-38s | %9s | %-17s | %11s | %12s |\n", "stage", "ms", "min .. max", "page faults",
                "of which ~ms");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(11, '-').c_str(),
                std::string(19, '-').c_str(), std::string(13, '-').c_str(), std::string(14, '-').c_str());
    auto printRow = [touchUs](const char *label, const Spread &ms, const Spread &faults) {
        std::printf("| %-38s | %9.1f | %-17s | %11.0f | %12.0f |\n", label, ms.median,
                    rangeText(ms, "%.1f").c_str(), faults.median, faults.median * touchUs / 1000);
    };
    for (const StageRow &row : rows) {
        printRow(row.label, spreadOf(startups, std::string("ms_") + stageKey(row.stage)),
                 spreadOf(startups, std::string("faults_") + stageKey(row.stage)));
    }
    const Spread total = spreadOf(startups, "startup_ms");
    printRow("**start-up, Run to first frame**", total, spreadOf(startups, "startup_faults"));
    const Spread floor = spreadOf(floors, "floor_ms");
    const Spread floorFaults = spreadOf(floors, "floor_faults");
    const int floorPhotos = int(number(floors.front(), "floor_photos"));
    char floorLabel[64];
    std::snprintf(floorLabel, sizeof floorLabel, "**floor: %d photographs decoded alone**", floorPhotos);
    printRow(floorLabel, floor, floorFaults);
    printRow("(the same into resident buffers)", spreadOf(floors, "floor_warm_ms"),
             spreadOf(floors, "floor_warm_faults"));
    std::printf("\n\"of which ~ms\": the page faults at %.1f us each, what a first touch of fresh memory "
                "costs on this machine (measured in the floor runs: %s us).\n",
                touchUs, rangeText(spreadOf(floors, "first_touch_us_per_fault"), "%.1f").c_str());
}

// The start-ups and their assets alone against the floor's median; the fresh
// memory the upload took.
static void printFloorRatios(const std::vector<Results> &startups, const std::vector<Results> &floors,
                             const Spread &floor) {
    const Results &first = startups.front();
    // The ratio per start-up against the floor's median; its spread follows.
    std::vector<double> ratios, assetRatios;
    for (const Results &r : startups) {
        ratios.push_back(number(r, "startup_ms") / floor.median);
        double assets = 0;
        for (Stage s : {Stage::ArchiveCopy, Stage::Extraction, Stage::TempRemoval, Stage::DecodeJpeg, Stage::DecodePng,
                        Stage::Levels, Stage::UploadImage, Stage::UploadLevels}) {
            assets += number(r, std::string("ms_") + stageKey(s));
        }
        assetRatios.push_back(assets / floor.median);
    }
    const Spread ratio = spreadOf(ratios), assetRatio = spreadOf(assetRatios);
    std::printf("Start-up / floor: **%.2f** (%s; goal: at most 1.25)\n", ratio.median,
                rangeText(ratio, "%.2f").c_str());
    std::printf("Assets alone (archive copy to the last upload) / floor: %.2f (%s)\n", assetRatio.median,
                rangeText(assetRatio, "%.2f").c_str());
    const double pageSize = number(floors.front(), "page_size");
    const double uploadMiB = number(first, "uploaded_bytes") / MIB;
    const double uploadFaults = spreadOf(startups, "faults_upload_image").median +
                                spreadOf(startups, "faults_upload_levels").median;
    std::printf("Upload: %.0f MiB of texels handed to GL; %.0f page faults there, %.0f MiB of fresh "
                "memory (%.2f bytes per byte handed over)\n",
                uploadMiB, uploadFaults, uploadFaults * pageSize / MIB, uploadFaults * pageSize / MIB / uploadMiB);
}

// The least start-up could cost here: decode (the floor into resident
// buffers), make resident what the design holds (the kept pixels, and the
// texture storage at the fresh memory the upload needed), open the display
// and draw the first frame.
static void printLeastStartup(const std::vector<Results> &startups, const std::vector<Results> &floors,
                              double touchUs, const Spread &floor) {
    const Results &first = startups.front();
    const double pageSize = number(floors.front(), "page_size");
    const double uploadFaults = spreadOf(startups, "faults_upload_image").median +
                                spreadOf(startups, "faults_upload_levels").median;
    const double heldPixels = number(first, "held_pixels_bytes");
    const double heldPages = heldPixels / pageSize + uploadFaults;
    const double bound = spreadOf(floors, "floor_warm_ms").median + heldPages * touchUs / 1000;

    const double displayAndFrame = spreadOf(startups, "ms_display").median + spreadOf(startups, "ms_first_frame").median;
    const double warm = spreadOf(floors, "floor_warm_ms").median;
    std::printf("Least start-up possible here, were all work but decoding free except touching the memory the "
                "design keeps: decoding into resident buffers %.0f ms + first touches of %.0f MiB (kept pixels "
                "%.0f, texture storage %.0f) at %.1f us a page = %.0f ms = **%.2f x the floor**; with the display "
                "and the first frame (%.0f ms): %.2f x.\n",
                warm, heldPages * pageSize / MIB, heldPixels / MIB, uploadFaults * pageSize / MIB, touchUs, bound,
                bound / floor.median, displayAndFrame, (bound + displayAndFrame) / floor.median);
}

void printStartup(const std::vector<Results> &startups, const std::vector<Results> &floors) {
    // First touches of fresh memory, at the cost the floor runs measured.
    const double touchUs = spreadOf(floors, "first_touch_us_per_fault").median;
    const Spread floor = spreadOf(floors, "floor_ms");
    printStageTable(startups, floors, touchUs);
    printFloorRatios(startups, floors, floor);
    printLeastStartup(startups, floors, touchUs, floor);
    const Results &first = startups.front();
    if (number(first, "calls_archive_copy") < 1 || number(first, "calls_extraction") < 1 ||
        number(first, "calls_decode_jpeg") < 1 || number(first, "calls_levels") < 1 ||
        number(first, "calls_uploads") < 1 || number(first, "calls_music") < 1) {
        std::printf("WARNING: a probe saw no call; its stage's time is counted in its caller's.\n");
    }
}

void printMemory(const std::vector<Results> &startups, const std::vector<Results> &floors) {
    const Spread hwm = spreadOf(startups, "hwm_first_frame_kb");
    const Spread rss = spreadOf(startups, "rss_first_frame_kb");
    const double displayMiB = spreadOf(startups, "rss_after_display_kb").median / 1024;
    const double startMiB = spreadOf(startups, "rss_process_start_kb").median / 1024;
    const Results &first = startups.front();
    const double pixels = number(first, "held_pixels_bytes") / MIB;
    const double full = number(first, "held_full_textures_bytes") / MIB;
    const double levels = number(first, "held_levels_bytes") / MIB;
    const double design = pixels + full + levels;
    const double storage = (spreadOf(startups, "faults_upload_image").median +
                            spreadOf(startups, "faults_upload_levels").median) *
                           number(floors.front(), "page_size") / MIB;
    auto row = [](const char *label, double mib) { std::printf("| %-62s | %9.1f |\n", label, mib); };
    std::printf("\n## 3. Memory after start-up (at the first frame)\n\n");
    std::printf("| %-62s | %9s |\n", "", "MiB");
    std::printf("|%s|%s|\n", std::string(64, '-').c_str(), std::string(11, '-').c_str());
    row("**peak resident (VmHWM)**, median", hwm.median / 1024);
    row("resident (VmRSS), median", rss.median / 1024);
    char held[64];
    std::snprintf(held, sizeof held, "held by design, %d textures:", int(number(first, "textures")));
    std::printf("| %-62s | %9s |\n", held, "");
    row("  decoded pixels each Texture keeps", pixels);
    row("  full textures (3 or 4 bytes a texel)", full);
    row("  pixelated levels (3 or 4 bytes a texel)", levels);
    row("  **total the design must hold**", design);
    std::printf("| %-62s | %9s |\n", "the peak, divided:", "");
    row("  process start: program and libraries", startMiB);
    row("  display: SDL, X11, the GL driver, the window", displayMiB - startMiB);
    row("  decoded pixels kept", pixels);
    row("  texture storage in llvmpipe (fresh memory of the uploads)", storage);
    row("  the rest: decoders' and levels' work memory, archive, music", hwm.median / 1024 - displayMiB - pixels - storage);
    std::printf("\nPeak resident / design: %.2f (VmHWM %s MiB over the start-ups); without what the process "
                "held before initScene: %.2f. llvmpipe keeps an R G B texture in 4 bytes a texel, so the "
                "textures take %.0f MiB instead of %.0f.\n",
                hwm.median / 1024 / design, rangeText({0, hwm.min / 1024, hwm.max / 1024}, "%.1f").c_str(),
                (hwm.median / 1024 - displayMiB) / design, storage, full + levels);
}

void printFrames(const std::vector<std::pair<int, int>> &sizes,
                 const std::map<std::string, std::vector<Results>> &frames) {
    std::printf("\n## 2. Frames per second, Mesa llvmpipe under Xvfb\n\n");
    std::printf("The real loop (runFrameLoop) in the real window; \"clear and swap\" is the same loop with "
                "no layers.\nfps: frames over the whole measured span, median of the runs (min .. max "
                "over the runs; over half-second windows).\n\n");
    std::printf("| %-11s | %-8s | %8s | %-15s | %-15s | %10s | %9s |\n", "size", "loop", "fps",
                "runs", "windows", "ms/frame", "p95 ms");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|\n", std::string(13, '-').c_str(), std::string(10, '-').c_str(),
                std::string(10, '-').c_str(), std::string(17, '-').c_str(), std::string(17, '-').c_str(),
                std::string(12, '-').c_str(), std::string(11, '-').c_str());
    std::vector<std::string> shares;
    for (const auto &[width, height] : sizes) {
        double frameMs[2] = {0, 0};
        for (int scene = 1; scene >= 0; --scene) {
            const std::string key = std::to_string(width) + "x" + std::to_string(height) + (scene ? " scene" : " clear");
            const std::vector<Results> &runs = frames.at(key);
            const Spread fps = spreadOf(runs, "fps");
            std::vector<double> windows;
            for (const Results &r : runs) {
                auto found = r.find("window_fps");
                if (found == r.end()) continue;
                for (const std::string &v : found->second) windows.push_back(std::atof(v.c_str()));
            }
            const Spread windowSpread = spreadOf(windows);
            frameMs[scene] = 1000.0 / fps.median;
            char size[16];
            std::snprintf(size, sizeof size, "%d x %d", width, height);
            std::printf("| %-11s | %-8s | %8.1f | %-15s | %-15s | %10.2f | %9.2f |\n", size,
                        scene ? "layers" : "clear+swap", fps.median, rangeText(fps, "%.1f").c_str(),
                        rangeText(windowSpread, "%.1f").c_str(), frameMs[scene],
                        spreadOf(runs, "frame_ms_p95").median);
        }
        char share[160];
        std::snprintf(share, sizeof share,
                      "%d x %d: layers %.2f ms of a %.2f ms frame = %.0f%% (clear and swap %.2f ms)", width,
                      height, frameMs[1] - frameMs[0], frameMs[1], 100 * (frameMs[1] - frameMs[0]) / frameMs[1],
                      frameMs[0]);
        shares.push_back(share);
    }
    std::printf("\nThe layers' own share of the frame time:\n");
    for (const std::string &s : shares) std::printf("- %s\n", s.c_str());
}

void printLayerCosts(const std::vector<std::pair<int, int>> &sizes, const std::vector<Results> &splits) {
    std::printf("\nWhere a frame's time goes (one run per size; glFinish after the clear and after each "
                "layer, so each is charged with its own rasterisation), ms per frame:\n\n");
    std::printf("| %-15s |", "");
    for (const auto &[width, height] : sizes) std::printf(" %4d x %-4d |", width, height);
    std::printf("\n|%s|", std::string(17, '-').c_str());
    for (size_t i = 0; i < sizes.size(); ++i) std::printf("%s|", std::string(13, '-').c_str());
    std::printf("\n");
    auto row = [&](const std::string &label, auto value) {
        std::printf("| %-15s |", label.c_str());
        for (const Results &r : splits) std::printf(" %11.2f |", value(r));
        std::printf("\n");
    };
    row("clear", [](const Results &r) { return number(r, "split_clear_ms"); });
    // "@ split_layer Name ms" lines arrive as one key with name, ms pairs.
    const std::vector<std::string> &first = splits.front().at("split_layer");
    for (size_t i = 0; i + 1 < first.size(); i += 2) {
        row(first[i], [i](const Results &r) {
            const std::vector<std::string> &v = r.at("split_layer");
            return i + 1 < v.size() ? std::atof(v[i + 1].c_str()) : 0.0;
        });
    }
    row("swap", [](const Results &r) { return number(r, "split_swap_ms"); });
}

