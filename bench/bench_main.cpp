// dorirova_bench: start-up, frame rate and memory of the presentation on
// this machine, in one run. `make bench` runs it through bench/run_bench.sh,
// which gives it a private Xvfb.
//
//   dorirova_bench [startups [frame-runs [seconds]]]     (defaults 5, 3, 3)
//
// The parent makes the archive (the shipped one, completed with stand-ins
// for whatever it lacks yet), then runs every measurement in a child process
// of its own (child_runs.h), interleaving the kinds so that a busy moment on
// the shared machine does not fall on one kind alone, and prints medians
// with their spread.
#include <sys/stat.h>  // mkdir
#include <unistd.h>    // readlink, mkstemp, link

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_archive.h"
#include "bench/bench_report.h"
#include "bench/child_runs.h"
#include "bench/stand_in_assets.h"
#include "resources/embedded_blobs.h"

namespace {

int childMain(int argc, char **argv) {
    int arg = 0;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--archive") == 0) {
        if (!useArchiveFile(argv[arg + 1])) {
            std::fprintf(stderr, "dorirova_bench: cannot map %s\n", argv[arg + 1]);
            return 1;
        }
        arg += 2;
    }
    const std::string mode = arg < argc ? argv[arg] : "";
    if (mode == "startup" && arg + 2 < argc) {
        return runStartupChild(std::atoi(argv[arg + 1]), std::atoi(argv[arg + 2]));
    }
    if (mode == "frames" && arg + 4 < argc) {
        return runFramesChild(std::atoi(argv[arg + 1]), std::atoi(argv[arg + 2]), argv[arg + 3],
                              std::atof(argv[arg + 4]));
    }
    if (mode == "layer-costs" && arg + 3 < argc) {
        return runLayerCostsChild(std::atoi(argv[arg + 1]), std::atoi(argv[arg + 2]), std::atof(argv[arg + 3]));
    }
    if (mode == "frame-work" && arg + 4 < argc) {
        return runFrameWorkChild(std::atoi(argv[arg + 1]), std::atoi(argv[arg + 2]), argv[arg + 3],
                                 std::atoi(argv[arg + 4]));
    }
    if (mode == "own-show" && arg + 5 < argc) {
        return runOwnShowChild(argv[arg + 1], std::atoi(argv[arg + 2]), std::atoi(argv[arg + 3]),
                               std::atof(argv[arg + 4]), std::atoi(argv[arg + 5]));
    }
    if (mode == "floor") return runFloorChild();
    std::fprintf(stderr, "dorirova_bench child: unknown mode\n");
    return 2;
}

std::string selfPath;
std::string archiveArgument;  // "--archive PATH " or empty

bool runChild(const std::string &arguments, Results &results) {
    const std::string command = "'" + selfPath + "' child " + archiveArgument + arguments;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[1 << 16];
    while (std::fgets(line, sizeof line, pipe)) {
        if (line[0] != '@' || line[1] != ' ') continue;
        std::istringstream fields(line + 2);
        std::string key, value;
        fields >> key;
        std::vector<std::string> &values = results[key];
        while (fields >> value) values.push_back(value);
    }
    const int status = pclose(pipe);
    if (status != 0) std::fprintf(stderr, "dorirova_bench: child \"%s\" failed\n", arguments.c_str());
    return status == 0;
}

// The machine and the sound the figures come from; the load average at the
// start, which the report's end repeats.
std::string printMachine() {
    std::printf("# dorirova: start-up, frame rate and memory\n\n");
    std::printf("Machine: %s, %ld cores (shared with other work); X display %s\n", cpuModel().c_str(),
                sysconf(_SC_NPROCESSORS_ONLN), std::getenv("DISPLAY"));
    const std::string loadAtStart = loadAverage();
    const char *audio = std::getenv("SDL_AUDIODRIVER");
    std::printf("Sound: %s\n", audio ? (std::string("SDL audio driver \"") + audio + "\"").c_str()
                                     : "the machine's own (none here: the music loads, plays silent)");
    return loadAtStart;
}

// The archive the children load: the shipped one, completed where it still
// lacks assets and then written to a temporary file, whose path goes to
// *path (empty when the shipped one is complete). Says which on stdout;
// false when the completed archive cannot be written.
bool prepareArchive(std::string *path) {
    const CompletedArchive archive = completeShippedArchive();
    if (archive.bytes.empty()) {
        std::printf("Archive: the shipped one, linked into the program: all %d photographs and every "
                    "graphic from resources/archive/\n", archive.shippedPhotos);
        return true;
    }
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/dorirova-bench-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0 || write(fd, archive.bytes.data(), archive.bytes.size()) != ssize_t(archive.bytes.size())) {
        std::fprintf(stderr, "dorirova_bench: cannot write the completed archive\n");
        return false;
    }
    close(fd);
    *path = name.data();
    archiveArgument = "--archive '" + *path + "' ";
    std::printf("Archive: the shipped one (resources/archive/) COMPLETED WITH %zu STAND-INS made here, "
                "because it lacks them yet:\n", archive.standIns.size());
    if (archive.standInPhotos > 0) {
        std::printf("  %d of 24 photographs are stand-ins, NOT the shipped photographs: generated "
                    "1024 x 1024 progressive JPEGs (quality 88)\n", archive.standInPhotos);
    }
    const size_t graphics = archive.standIns.size() - size_t(archive.standInPhotos);
    if (graphics > 0) std::printf("  %zu graphics are stand-in PNGs of the shipped sizes\n", graphics);
    return true;
}

const std::vector<std::pair<int, int>> FRAME_SIZES = {{1024, 768}, {1920, 1080}};
const char *const FRAME_KINDS[] = {"scene", "transition", "quad", "clear"};

// Everything the children measured.
struct Measurements {
    std::vector<Results> startups, floors;
    std::map<std::string, std::vector<Results>> frames;  // by "WxH kind", FRAME_KINDS
    std::vector<Results> splits;                         // layer costs, one per size
    std::string renderer;
    bool ok = true;                                      // every child succeeded
};

// Start-ups and floors alternate; then the frame-rate runs, kinds interleaved;
// then the layer costs.
Measurements measure(int startupRuns, int frameRuns, double seconds) {
    Measurements m;
    for (int i = 0; i < startupRuns; ++i) {
        Results startup, floor;
        m.ok = runChild("startup 1024 768", startup) && m.ok;
        m.ok = runChild("floor", floor) && m.ok;
        if (!startup.empty()) m.startups.push_back(startup);
        if (!floor.empty()) m.floors.push_back(floor);
    }
    for (int i = 0; i < frameRuns; ++i) {
        for (const auto &[width, height] : FRAME_SIZES) {
            for (const char *loop : FRAME_KINDS) {
                Results r;
                char arguments[64];
                std::snprintf(arguments, sizeof arguments, "frames %d %d %s %.2f", width, height, loop, seconds);
                m.ok = runChild(arguments, r) && m.ok;
                if (r.empty()) continue;
                if (m.renderer.empty()) {
                    for (const std::string &word : r["renderer"]) {
                        m.renderer += (m.renderer.empty() ? "" : " ") + word;
                    }
                }
                m.frames[std::to_string(width) + "x" + std::to_string(height) + " " + loop].push_back(r);
            }
        }
    }
    for (const auto &[width, height] : FRAME_SIZES) {
        Results r;
        char arguments[64];
        std::snprintf(arguments, sizeof arguments, "layer-costs %d %d 2", width, height);
        m.ok = runChild(arguments, r) && m.ok;
        if (r.count("split_layer")) m.splits.push_back(r);
    }
    return m;
}

// ---- Your own show: photographs from a folder, at several counts.

constexpr uint32_t OWN_PHOTO_WIDTH = 6000, OWN_PHOTO_HEIGHT = 4000;   // 24 Mpx, as a camera's
constexpr int OWN_DISTINCT_PHOTOS = 4;   // the folders' names are links to these, in turn
const int OWN_COUNTS[] = {24, 1000, 10000, 100000};
constexpr int OWN_PRESSES = 40;

double medianOf(const std::vector<Results> &runs, const std::string &key, bool largest = false) {
    std::vector<double> values;
    for (const Results &r : runs) values.push_back(number(r, key));
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return largest ? values.back() : values[values.size() / 2];
}

// Makes folder/N for each count: N names linked to the distinct photographs
// in folder/src. False when a file cannot be made.
bool makeOwnPhotoFolders(const std::string &folder) {
    const std::string source = folder + "/src";
    if (mkdir(source.c_str(), 0700) != 0) return false;
    for (int i = 0; i < OWN_DISTINCT_PHOTOS; ++i) {
        const std::string bytes = makeStandInPhoto(1000 + i, OWN_PHOTO_WIDTH, OWN_PHOTO_HEIGHT, false);
        FILE *file = std::fopen((source + "/" + std::to_string(i) + ".jpg").c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
            return false;
        }
    }
    for (int count : OWN_COUNTS) {
        const std::string names = folder + "/" + std::to_string(count);
        if (mkdir(names.c_str(), 0700) != 0) return false;
        for (int i = 0; i < count; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "/photo-%d.jpg", i + 1);
            const std::string target = source + "/" + std::to_string(i % OWN_DISTINCT_PHOTOS) + ".jpg";
            if (link(target.c_str(), (names + name).c_str()) != 0) return false;
        }
    }
    return true;
}

// `dorirova_bench own-show [runs [seconds]]`: the goals of a show of one's own.
int measureOwnShow(int runs, double seconds) {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/dorirova-own-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) return 1;
    const std::string folder = name.data();
    const auto began = std::chrono::steady_clock::now();
    const bool made = makeOwnPhotoFolders(folder);
    std::printf("# dorirova: your own show\n\nPhotographs: %d distinct generated %u x %u baseline JPEGs "
                "(%.1f s to make), linked under 24 to 100,000 names; live at 1024 x 768 on the real clock\n",
                OWN_DISTINCT_PHOTOS, OWN_PHOTO_WIDTH, OWN_PHOTO_HEIGHT,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    std::map<int, std::vector<Results>> byCount;
    std::vector<Results> defaultFrames;
    bool ok = made;
    for (int run = 0; ok && run < runs; ++run) {
        for (int count : OWN_COUNTS) {
            Results r;
            char arguments[512];
            std::snprintf(arguments, sizeof arguments, "own-show '%s/%d' 1024 768 %.2f %d", folder.c_str(), count,
                          seconds, OWN_PRESSES);
            ok = runChild(arguments, r) && ok;
            if (!r.empty()) byCount[count].push_back(r);
        }
        Results r;
        char arguments[64];
        std::snprintf(arguments, sizeof arguments, "frames 1024 768 scene %.2f", seconds);
        ok = runChild(arguments, r) && ok;
        if (!r.empty()) defaultFrames.push_back(r);
    }
    std::filesystem::remove_all(folder);
    if (!ok || byCount.size() != std::size(OWN_COUNTS)) {
        std::fprintf(stderr, "dorirova_bench: the own show was not measured\n");
        return 1;
    }
    const double startup24 = medianOf(byCount[24], "startup_ms");
    const double defaultFrame = medianOf(defaultFrames, "frame_ms_median");
    std::printf("\nMedians of %d runs each (peak memory, lateness: the largest). The default show's frame: %.2f ms.\n\n",
                runs, defaultFrame);
    std::printf("| photographs | Run to first frame | x the 24's (goal 1.2) | peak resident memory (goal 300 MiB) "
                "| transitions late by at most (%.1f s plain, each) | frame | x the default show's |\n",
                seconds);
    std::printf("|---|---|---|---|---|---|---|\n");
    for (int count : OWN_COUNTS) {
        const std::vector<Results> &r = byCount[count];
        const double startup = medianOf(r, "startup_ms"), frame = medianOf(r, "frame_ms");
        std::printf("| %d | %.1f ms | %.2f | %.1f MiB | %.1f ms (%.0f transitions) | %.2f ms | %.2f |\n", count,
                    startup, startup / startup24, medianOf(r, "hwm_kb", true) / 1024, medianOf(r, "late_ms", true),
                    medianOf(r, "transitions"), frame, frame / defaultFrame);
    }
    std::printf("\n(load average over a minute at the end: %s)\n", loadAverage().c_str());
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    provideProgramResources();   // as the program's start-up does first
    if (argc > 1 && std::strcmp(argv[1], "child") == 0) return childMain(argc - 2, argv + 2);
    if (argc > 1 && std::strcmp(argv[1], "own-show") == 0) {
        char self[4096] = {};
        if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
        selfPath = self;
        return measureOwnShow(argc > 2 ? std::max(1, std::atoi(argv[2])) : 3,
                              argc > 3 ? std::max(1.0, std::atof(argv[3])) : 13.5);
    }

    const int startupRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int frameRuns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const double seconds = argc > 3 ? std::max(0.5, std::atof(argv[3])) : 3;
    const auto began = std::chrono::steady_clock::now();

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return 1;
    selfPath = self;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "dorirova_bench: needs an X display; `make bench` gives it a private Xvfb\n");
        return 1;
    }

    const std::string loadAtStart = printMachine();
    std::string archivePath;
    if (!prepareArchive(&archivePath)) return 1;
    const Measurements m = measure(startupRuns, frameRuns, seconds);
    if (!archivePath.empty()) std::remove(archivePath.c_str());

    std::printf("GL: %s, in an SDL window on that X display (createDisplay)\n", m.renderer.c_str());
    if (m.startups.empty() || m.floors.empty()) {
        std::fprintf(stderr, "dorirova_bench: no start-up measured\n");
        return 1;
    }
    const bool allFrames = m.frames.size() == std::size(FRAME_KINDS) * FRAME_SIZES.size();
    if (allFrames) printGoals(FRAME_SIZES, m.startups, m.floors, m.frames);
    printStartup(m.startups, m.floors);
    if (allFrames) printLoading(m.startups, m.frames.at("1024x768 quad"));
    if (allFrames) printFrames(FRAME_SIZES, m.frames);
    if (m.splits.size() == FRAME_SIZES.size()) printLayerCosts(FRAME_SIZES, m.splits);
    printMemory(m.startups);
    std::printf("\n(%.0f s for this run; load average over a minute %s at its start, %s at its end)\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count(),
                loadAtStart.c_str(), loadAverage().c_str());
    return m.ok && allFrames ? 0 : 1;
}
