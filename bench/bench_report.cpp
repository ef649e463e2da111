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

// The goals, as ratios against their floors, and the memory limit.
constexpr double FIRST_FRAME_GOAL = 0.6;    // Run to the first frame / decoding alone
constexpr double ALL_READY_GOAL = 1.0;      // Run to every photograph ready / decoding alone
constexpr double FRAME_GOAL = 1.5;          // a frame / the frame floor (clear, one quad, swap)
constexpr double PEAK_MEMORY_GOAL_MIB = 250;

// Milliseconds a frame of this kind takes: the median frame rate's frame.
double frameMsOf(const std::vector<Results> &runs) { return 1000.0 / spreadOf(runs, "fps").median; }

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
    std::snprintf(label[0], 64, "images read from the archive (%d)", int(number(first, "calls_extraction")));
    std::snprintf(label[1], 64, "decoding: %d photographs (JPEG)", photos);
    std::snprintf(label[2], 64, "decoding: %d graphics (PNG)", graphics);
    std::snprintf(label[3], 64, "pixelated levels: averaging (%d)", levels);
    std::snprintf(label[4], 64, "upload: full textures (%d)", photos + graphics);
    std::snprintf(label[5], 64, "upload: pixelated levels (%d)", levels);
    std::snprintf(label[6], 64, "temporary files deleted (%d)", int(number(first, "calls_temp_removal")));
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
        {Stage::SceneRest, "rest of initScene (waits included)"},
        {Stage::FirstFrame, "first frame: draw, swap, presented"},
    };
    std::printf("\n## 1. Start-up: Run to the first frame presented (1024 x 768 window)\n\n");
    std::printf("Median of %zu start-ups, each in a fresh process; min .. max beside it. \"ms\" is the main "
                "thread's, up to the first frame; \"loader ms\" the loader threads' time in the same stage, all "
                "images together, also those loaded after the first frame (counted per call; the threads "
                "overlap).\n\n", startups.size());
    std::printf("| %-38s | %9s | %-17s | %11s | %12s | %9s |\n", "stage", "ms", "min .. max", "page faults",
                "of which ~ms", "loader ms");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(40, '-').c_str(), std::string(11, '-').c_str(),
                std::string(19, '-').c_str(), std::string(13, '-').c_str(), std::string(14, '-').c_str(),
                std::string(11, '-').c_str());
    auto printRow = [touchUs](const char *label, const Spread &ms, const Spread &faults, double loader) {
        std::printf("| %-38s | %9.1f | %-17s | %11.0f | %12.0f | %9.1f |\n", label, ms.median,
                    rangeText(ms, "%.1f").c_str(), faults.median, faults.median * touchUs / 1000, loader);
    };
    for (const StageRow &row : rows) {
        printRow(row.label, spreadOf(startups, std::string("ms_") + stageKey(row.stage)),
                 spreadOf(startups, std::string("faults_") + stageKey(row.stage)),
                 spreadOf(startups, std::string("loader_ms_") + stageKey(row.stage)).median);
    }
    const Spread total = spreadOf(startups, "startup_ms");
    printRow("**start-up, Run to first frame**", total, spreadOf(startups, "startup_faults"), 0);
    const Spread floor = spreadOf(floors, "floor_ms");
    const Spread floorFaults = spreadOf(floors, "floor_faults");
    const int floorPhotos = int(number(floors.front(), "floor_photos"));
    char floorLabel[64];
    std::snprintf(floorLabel, sizeof floorLabel, "**floor: %d photographs decoded alone**", floorPhotos);
    printRow(floorLabel, floor, floorFaults, 0);
    printRow("(the same into resident buffers)", spreadOf(floors, "floor_warm_ms"),
             spreadOf(floors, "floor_warm_faults"), 0);
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
    std::printf("Start-up / floor: **%.2f** (%s; goal: at most %.1f)\n", ratio.median,
                rangeText(ratio, "%.2f").c_str(), FIRST_FRAME_GOAL);
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

void printStartup(const std::vector<Results> &startups, const std::vector<Results> &floors) {
    // First touches of fresh memory, at the cost the floor runs measured.
    const double touchUs = spreadOf(floors, "first_touch_us_per_fault").median;
    const Spread floor = spreadOf(floors, "floor_ms");
    printStageTable(startups, floors, touchUs);
    printFloorRatios(startups, floors, floor);
    const Results &first = startups.front();
    if (number(first, "calls_archive_copy") < 1 || number(first, "calls_extraction") < 1 ||
        number(first, "calls_decode_jpeg") < 1 || number(first, "calls_levels") < 1 ||
        number(first, "calls_uploads") < 1 || number(first, "calls_music") < 1) {
        std::printf("WARNING: a probe saw no call; its stage's time is counted in its caller's.\n");
    }
}

void printMemory(const std::vector<Results> &startups) {
    const Spread hwm = spreadOf(startups, "hwm_loaded_kb");
    const Spread rss = spreadOf(startups, "rss_loaded_kb");
    const Spread hwmFirst = spreadOf(startups, "hwm_first_frame_kb");
    const double startMiB = spreadOf(startups, "rss_process_start_kb").median / 1024;
    const double displayMiB = spreadOf(startups, "rss_display_kb").median / 1024;
    const Results &first = startups.front();
    const double pixels = number(first, "held_pixels_bytes") / MIB;
    const double full = number(first, "held_full_textures_bytes") / MIB;
    const double levels = number(first, "held_levels_bytes") / MIB;
    const double textures = pixels + full + levels;
    auto row = [](const char *label, double mib) { std::printf("| %-62s | %9.1f |\n", label, mib); };
    std::printf("\n## 3. Memory once every photograph is loaded (1024 x 768)\n\n");
    std::printf("| %-62s | %9s |\n", "", "MiB");
    std::printf("|%s|%s|\n", std::string(64, '-').c_str(), std::string(11, '-').c_str());
    row("**peak resident (VmHWM)**, median", hwm.median / 1024);
    row("resident (VmRSS), median", rss.median / 1024);
    row("peak resident at the first frame, median", hwmFirst.median / 1024);
    char held[64];
    std::snprintf(held, sizeof held, "what the %d textures hold:", int(number(first, "textures")));
    std::printf("| %-62s | %9s |\n", held, "");
    row("  decoded pixels the Textures keep", pixels);
    row("  full textures (3 or 4 bytes a texel as handed over)", full);
    row("  pixelated levels but the textures themselves (likewise)", levels);
    row("  **total**", textures);
    std::printf("| %-62s | %9s |\n", "the peak, divided:", "");
    row("  process start: program and libraries", startMiB);
    row("  opening the display: SDL, X11, the GL driver, the window", displayMiB);
    row("  the textures", textures);
    row("  the rest: work memory of the loads, archive, music, heap", hwm.median / 1024 - startMiB - displayMiB - textures);
    std::printf("\nPeak resident: %.1f MiB (%s over the start-ups; goal: at most %.0f MiB); / what the textures "
                "hold: %.2f.\n", hwm.median / 1024, rangeText({0, hwm.min / 1024, hwm.max / 1024}, "%.1f").c_str(),
                PEAK_MEMORY_GOAL_MIB, hwm.median / 1024 / textures);
}

void printFrames(const std::vector<std::pair<int, int>> &sizes,
                 const std::map<std::string, std::vector<Results>> &frames) {
    std::printf("\n## 2. Frames per second, Mesa llvmpipe under Xvfb\n\n");
    std::printf("The real loop (runFrameLoop) in the real window: \"layers\" with the scene, \"transition\" with "
                "the scene's clock moved on so that nearly every frame is a transition frame, \"floor\" the loop's "
                "clear, one full-screen linear-filtered quad of a 1024 x 1024 R G B texture without blending, and the "
                "swap, \"clear+swap\" no layers.\nfps: frames over the whole measured span, median of the runs "
                "(min .. max over the runs; over half-second windows).\n\n");
    std::printf("| %-11s | %-10s | %8s | %-15s | %-15s | %10s | %9s |\n", "size", "loop", "fps", "runs", "windows",
                "ms/frame", "p95 ms");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|\n", std::string(13, '-').c_str(), std::string(12, '-').c_str(),
                std::string(10, '-').c_str(), std::string(17, '-').c_str(), std::string(17, '-').c_str(),
                std::string(12, '-').c_str(), std::string(11, '-').c_str());
    const std::pair<const char *, const char *> kinds[] = {
        {"scene", "layers"}, {"transition", "transition"}, {"quad", "floor"}, {"clear", "clear+swap"}};
    std::vector<std::string> shares;
    for (const auto &[width, height] : sizes) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        for (const auto &[kind, label] : kinds) {
            const std::vector<Results> &runs = frames.at(size + " " + kind);
            const Spread fps = spreadOf(runs, "fps");
            std::vector<double> windows;
            for (const Results &r : runs) {
                auto found = r.find("window_fps");
                if (found == r.end()) continue;
                for (const std::string &v : found->second) windows.push_back(std::atof(v.c_str()));
            }
            char sizeText[16];
            std::snprintf(sizeText, sizeof sizeText, "%d x %d", width, height);
            std::printf("| %-11s | %-10s | %8.1f | %-15s | %-15s | %10.2f | %9.2f |\n", sizeText, label, fps.median,
                        rangeText(fps, "%.1f").c_str(), rangeText(spreadOf(windows), "%.1f").c_str(),
                        1000.0 / fps.median, spreadOf(runs, "frame_ms_p95").median);
        }
        const double scene = frameMsOf(frames.at(size + " scene")), clear = frameMsOf(frames.at(size + " clear"));
        char share[160];
        std::snprintf(share, sizeof share, "%d x %d: layers %.2f ms of a %.2f ms frame = %.0f%% (clear and swap %.2f ms)",
                      width, height, scene - clear, scene, 100 * (scene - clear) / scene, clear);
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


void printGoals(const std::vector<std::pair<int, int>> &sizes, const std::vector<Results> &startups,
                const std::vector<Results> &floors, const std::map<std::string, std::vector<Results>> &frames) {
    std::printf("\n## Goals, each against its floor\n\n");
    std::printf("| %-44s | %12s | %-30s | %6s | %6s | %-4s |\n", "what", "measured", "against", "ratio", "goal", "met");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(14, '-').c_str(),
                std::string(32, '-').c_str(), std::string(8, '-').c_str(), std::string(8, '-').c_str(),
                std::string(6, '-').c_str());
    auto row = [](const std::string &what, double measured, const char *unit, const std::string &against,
                  double ratio, double goal) {
        char value[32];
        std::snprintf(value, sizeof value, "%.1f %s", measured, unit);
        std::printf("| %-44s | %12s | %-30s | %6.2f | %6.2f | %-4s |\n", what.c_str(), value, against.c_str(), ratio,
                    goal, ratio <= goal ? "yes" : "no");
    };
    const double floor = spreadOf(floors, "floor_ms").median;
    char decoding[48];
    std::snprintf(decoding, sizeof decoding, "decoding alone, %.0f ms", floor);
    const double first = spreadOf(startups, "startup_ms").median;
    const double allReady = spreadOf(startups, "all_ready_ms").median;
    row("Run to first frame (1024 x 768)", first, "ms", decoding, first / floor, FIRST_FRAME_GOAL);
    row("Run to all 24 photographs ready", allReady, "ms", decoding, allReady / floor, ALL_READY_GOAL);
    const double peak = spreadOf(startups, "hwm_loaded_kb").median / 1024;
    row("peak resident, everything loaded", peak, "MiB", "250 MiB", peak / PEAK_MEMORY_GOAL_MIB, 1.0);
    for (const auto &[width, height] : sizes) {
        const std::string size = std::to_string(width) + "x" + std::to_string(height);
        const double quad = frameMsOf(frames.at(size + " quad"));
        char against[48];
        std::snprintf(against, sizeof against, "frame floor, %.2f ms", quad);
        for (const char *kind : {"scene", "transition"}) {
            const double ms = frameMsOf(frames.at(size + " " + kind));
            char what[64];
            std::snprintf(what, sizeof what, "frame at %d x %d, %s", width, height,
                          std::string(kind) == "scene" ? "plain" : "in transitions");
            row(what, ms, "ms", against, ms / quad, FRAME_GOAL);
        }
    }
    std::printf("\nMedians over the runs below; the frame floor is the same loop and window drawing one "
                "full-screen quad (section 2).\n");
}

void printLoading(const std::vector<Results> &startups, const std::vector<Results> &quadRuns) {
    // The start-up whose photographs were all ready at the median time.
    std::vector<const Results *> byReady;
    for (const Results &r : startups) byReady.push_back(&r);
    std::sort(byReady.begin(), byReady.end(), [](const Results *a, const Results *b) {
        return number(*a, "all_ready_ms") < number(*b, "all_ready_ms");
    });
    const Results &run = *byReady[byReady.size() / 2];
    const double target = FRAME_GOAL * frameMsOf(quadRuns);
    std::printf("\n### Loading in the background, on a time line (the start-up of median length)\n\n");
    std::printf("First frame %.1f ms after Run with %d photographs ready; all ready %.1f ms after Run.\n\n",
                number(run, "startup_ms"), int(number(run, "photos_ready_first_frame")), number(run, "all_ready_ms"));
    std::printf("Photograph ready, ms after Run (seen at the end of a frame):");
    auto found = run.find("photo_ready_ms");
    if (found != run.end()) {
        for (size_t i = 0; i < found->second.size(); ++i) {
            std::printf("%s%zu: %.0f", i % 8 == 0 ? "\n  " : ", ", i + 1, std::atof(found->second[i].c_str()));
        }
    }
    std::printf("\n\nFrames until the last photograph came and a few after (target: at most %.2f ms, "
                "%.1f x the 1024 x 768 frame floor):\n\n", target, FRAME_GOAL);
    found = run.find("timeline");
    std::vector<double> lengths, uploads;
    int over = 0;
    if (found != run.end()) {
        const std::vector<std::string> &v = found->second;
        std::printf("| %-12s | %-10s | %-13s | %-11s | %-12s |\n"
                    "|--------------|-------------|---------------|-------------|--------------|\n",
                    "ends at ms", "frame ms", "of it upload", "photos ready", "resident MiB");
        for (size_t i = 0; i + 4 < v.size(); i += 5) {
            const double end = std::atof(v[i].c_str()), length = std::atof(v[i + 1].c_str());
            const double upload = std::atof(v[i + 2].c_str());
            const int ready = std::atoi(v[i + 3].c_str());
            const double resident = std::atof(v[i + 4].c_str()) / 1024;
            lengths.push_back(length);
            uploads.push_back(upload);
            if (length > target) ++over;
            std::printf("| %12.1f | %10.2f%s | %13.2f | %11d | %12.1f |\n", end, length, length > target ? "*" : " ",
                        upload, ready, resident);
        }
    }
    const Spread spread = spreadOf(lengths);
    std::vector<double> uploading;   // the uploads of the frames that had one
    for (double u : uploads) {
        if (u > 0) uploading.push_back(u);
    }
    const Spread upload = spreadOf(uploading);
    std::printf("\n%zu frames: median %.2f ms, longest %.2f ms; %d over the target (marked *). Uploads in %zu of "
                "them: median %.2f ms, longest %.2f ms.\n", lengths.size(), spread.median, spread.max, over,
                uploading.size(), upload.median, upload.max);
}
