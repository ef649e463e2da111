// The program's side of the video module: finds and loads it on the first
// videoFileOpen, then forwards every call. Nothing here needs FFmpeg.
#include "platform/video_module.h"

#include <dlfcn.h>      // dlopen, dlsym
#include <sys/auxv.h>   // getauxval(AT_EXECFN): the program's path without /proc
#include <unistd.h>     // readlink

#include <cctype>
#include <climits>      // PATH_MAX
#include <cstdlib>      // realpath
#include <mutex>

namespace {

constexpr char MODULE_NAME[] = "dorirova-video.so";

const VideoModule *loaded = nullptr;
std::string loadFailure;
std::once_flag loadOnce;

// The folder of the running program, or "" when it cannot be told.
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string program;
    if (length > 0) {
        program.assign(path, size_t(length));
    } else if (const auto *started = reinterpret_cast<const char *>(getauxval(AT_EXECFN))) {
        // No /proc: the path the program was started by, with its links
        // resolved, as /proc would give it (the program never changes folder).
        if (realpath(started, path)) program = path;
    }
    return program.substr(0, program.rfind('/'));
}

// Where the module may be, first match wins: beside the program (the build
// tree), one folder up (the build tree's tests and benchmarks), and where
// installation puts it, relative to the program's folder.
void load() {
    const std::string folder = programFolder();
    const std::string candidates[] = {
        folder + "/" + MODULE_NAME,
        folder + "/../" + MODULE_NAME,
        folder + "/" + DORIROVA_VIDEO_MODULE_FROM_BINDIR + "/" + MODULE_NAME,
    };
    std::string tried;
    for (const std::string &path : candidates) {
        if (access(path.c_str(), R_OK) != 0) continue;
        // Kept open for the rest of the process: its code may still be running
        // in an encoder's thread when a recording ends.
        void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            loadFailure = std::string("cannot load the video module: ") + dlerror();
            return;
        }
        auto entry = reinterpret_cast<const VideoModule *(*)()>(dlsym(handle, VIDEO_MODULE_ENTRY));
        const VideoModule *module = entry ? entry() : nullptr;
        if (!module || module->version != VIDEO_MODULE_VERSION) {
            loadFailure = "the video module " + path + " belongs to another build of dorirova";
            return;
        }
        loaded = module;
        return;
    }
    loadFailure = std::string("the video module ") + MODULE_NAME + " is not installed beside " +
                  (folder.empty() ? std::string("the program") : folder);
}

}  // namespace

VideoContainer videoContainerForName(const std::string &path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return VideoContainer::None;
    std::string extension = path.substr(dot + 1);
    for (char &c : extension) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "mp4") return VideoContainer::Mp4;
    if (extension == "mkv") return VideoContainer::Matroska;
    if (extension == "webm") return VideoContainer::WebM;
    return VideoContainer::None;
}

VideoFile *videoFileOpen(const std::string &path, const VideoFileFormat &format, std::string &error) {
    std::call_once(loadOnce, load);
    if (!loaded) {
        error = loadFailure;
        return nullptr;
    }
    return loaded->open(path, format, error);
}

// A file exists only where the module is loaded.
bool videoFileWriteFrame(VideoFile *file, const uint8_t *pixels) {
    return file && loaded->writeFrame(file, pixels);
}

bool videoFileWriteSound(VideoFile *file, const float *stereo, size_t frames) {
    return file && loaded->writeSound(file, stereo, frames);
}

bool videoFileFinish(VideoFile *file, std::string &error) { return file && loaded->finish(file, error); }

void videoFileClose(VideoFile *file) {
    if (file) loaded->close(file);
}

VideoFileTimes videoFileTimes(const VideoFile *file) { return file ? loaded->times(file) : VideoFileTimes{}; }
