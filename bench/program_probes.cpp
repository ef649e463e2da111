// The linker's wrappers around the program's functions. Each __wrap_ symbol
// replaces the function for calls from the program's other object files, and
// __real_ reaches the original. The asm labels spell the C++ names as the
// linker sees them.
#include "bench/program_probes.h"

#include <GL/gl.h>  // glTexImage2D, glFinish

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "assets/image_decoding.h"
#include "assets/image.h"
#include "bench/child_output.h"
#include "bench/stage_clock.h"

std::string realWriteResourceToTempFile() asm("__real__ZN15ResourceArchive23writeResourceToTempFileB5cxx11Ev");
int realOpenArchive(const char *path) asm("__real__ZN15ResourceArchive4openEPKc");
void realExtractEntry(const char *name, char *outPath) asm("__real__ZN15ResourceArchive12extractEntryEPKcPc");
bool realReadEntry(const char *name, std::vector<unsigned char> &bytes)
    asm("__real__ZN15ResourceArchive9readEntryEPKcRSt6vectorIhSaIhEE");
Image *realDecodeJpeg(const uint8_t *data, size_t size, JpegLayout layout)
    asm("__real__Z15decodeJpegBytesPKhm10JpegLayout");
Image *realDecodePng(const uint8_t *data, size_t size) asm("__real__Z14decodePngBytesPKhm");
std::vector<uint8_t> realPixelatedTexels(Image *image, uint32_t blockSize, uint32_t *width, uint32_t *height)
    asm("__real__ZN5Image15pixelatedTexelsEjPjS0_");
GLuint realUploadPixelatedTexture(const Image &image, uint32_t width, uint32_t height, const uint8_t *buffer)
    asm("__real__Z22uploadPixelatedTextureRK5ImagejjPKh");
void realLoadMusic() asm("__real__Z9loadMusicv");
bool realCreateDisplay(int32_t width, int32_t height, bool fullscreen) asm("__real__Z13createDisplayiib");
void realSwapBuffers() asm("__real__Z11swapBuffersv");
bool realRemoveTempFile(const std::string &path) asm("__real__Z14removeTempFileRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
extern "C" void __real_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void *pixels);

namespace {
ProbeCalls calls;
uint64_t uploadBytes = 0;
FrameHook frameHook = nullptr;

// The thread that runs main: the stage clock is its alone.
const std::thread::id mainThread = std::this_thread::get_id();

// Time spent in each stage on the loader's threads, in nanoseconds.
std::atomic<int64_t> loaderNs[int(Stage::Count)];

// Time the main thread spent uploading after start-up (between frames), ns.
int64_t uploadsBetweenFramesNs = 0;

// What opening the display added to the resident memory, kB.
long displayKb = 0;

// Runs call inside a span of stage: on the main thread while start-up is
// being timed (a span is open); on any other thread, its time goes to the
// stage's loader total; otherwise (frames after the first) untimed.
template <typename Call>
auto probed(Stage stage, Call call) {
    if (std::this_thread::get_id() == mainThread) {
        if (currentStage() == Stage::Count) return call();
        beginStage(stage);
        struct Ends {
            ~Ends() { endStage(); }
        } ends;
        return call();
    }
    const auto start = std::chrono::steady_clock::now();
    struct Adds {
        Stage stage;
        std::chrono::steady_clock::time_point start;
        ~Adds() {
            loaderNs[int(stage)] += std::chrono::duration_cast<std::chrono::nanoseconds>(
                                        std::chrono::steady_clock::now() - start).count();
        }
    } adds{stage, start};
    return call();
}
}  // namespace

void setFrameHook(FrameHook hook) { frameHook = hook; }
const ProbeCalls &probeCalls() { return calls; }
uint64_t uploadedBytes() { return uploadBytes; }
double loaderMs(Stage stage) { return double(loaderNs[int(stage)].load()) / 1e6; }
double uploadMsBetweenFrames() { return double(uploadsBetweenFramesNs) / 1e6; }

std::string wrapWriteResourceToTempFile() asm("__wrap__ZN15ResourceArchive23writeResourceToTempFileB5cxx11Ev");
std::string wrapWriteResourceToTempFile() {
    ++calls.archiveCopy;
    return probed(Stage::ArchiveCopy, [] { return realWriteResourceToTempFile(); });
}

int wrapOpenArchive(const char *path) asm("__wrap__ZN15ResourceArchive4openEPKc");
int wrapOpenArchive(const char *path) {
    return probed(Stage::ArchiveCopy, [&] { return realOpenArchive(path); });
}

void wrapExtractEntry(const char *name, char *outPath) asm("__wrap__ZN15ResourceArchive12extractEntryEPKcPc");
void wrapExtractEntry(const char *name, char *outPath) {
    // The music module's extraction is part of loading the music.
    if (currentStage() == Stage::Music && std::this_thread::get_id() == mainThread) {
        return realExtractEntry(name, outPath);
    }
    probed(Stage::Extraction, [&] { realExtractEntry(name, outPath); });
}

bool wrapReadEntry(const char *name, std::vector<unsigned char> &bytes)
    asm("__wrap__ZN15ResourceArchive9readEntryEPKcRSt6vectorIhSaIhEE");
bool wrapReadEntry(const char *name, std::vector<unsigned char> &bytes) {
    ++calls.extraction;
    return probed(Stage::Extraction, [&] { return realReadEntry(name, bytes); });
}

Image *wrapDecodeJpeg(const uint8_t *data, size_t size, JpegLayout layout)
    asm("__wrap__Z15decodeJpegBytesPKhm10JpegLayout");
Image *wrapDecodeJpeg(const uint8_t *data, size_t size, JpegLayout layout) {
    ++calls.decodeJpeg;
    return probed(Stage::DecodeJpeg, [&] { return realDecodeJpeg(data, size, layout); });
}

Image *wrapDecodePng(const uint8_t *data, size_t size) asm("__wrap__Z14decodePngBytesPKhm");
Image *wrapDecodePng(const uint8_t *data, size_t size) {
    ++calls.decodePng;
    return probed(Stage::DecodePng, [&] { return realDecodePng(data, size); });
}

std::vector<uint8_t> wrapPixelatedTexels(Image *image, uint32_t blockSize, uint32_t *width, uint32_t *height)
    asm("__wrap__ZN5Image15pixelatedTexelsEjPjS0_");
std::vector<uint8_t> wrapPixelatedTexels(Image *image, uint32_t blockSize, uint32_t *width, uint32_t *height) {
    ++calls.levels;
    return probed(Stage::Levels, [&] { return realPixelatedTexels(image, blockSize, width, height); });
}

GLuint wrapUploadPixelatedTexture(const Image &image, uint32_t width, uint32_t height, const uint8_t *buffer)
    asm("__wrap__Z22uploadPixelatedTextureRK5ImagejjPKh");
GLuint wrapUploadPixelatedTexture(const Image &image, uint32_t width, uint32_t height, const uint8_t *buffer) {
    return probed(Stage::UploadLevels, [&] { return realUploadPixelatedTexture(image, width, height, buffer); });
}

long displayResidentKb() { return displayKb; }

bool wrapCreateDisplay(int32_t width, int32_t height, bool fullscreen) asm("__wrap__Z13createDisplayiib");
bool wrapCreateDisplay(int32_t width, int32_t height, bool fullscreen) {
    const long before = procStatusKb("VmRSS");
    const bool opened = probed(Stage::Display, [&] { return realCreateDisplay(width, height, fullscreen); });
    displayKb = procStatusKb("VmRSS") - before;
    return opened;
}

void wrapLoadMusic() asm("__wrap__Z9loadMusicv");
void wrapLoadMusic() {
    ++calls.music;
    probed(Stage::Music, [] { realLoadMusic(); });
}

// removeTempFile: every temporary file the program deletes. The music's and
// the archive's are deleted at shutdown, when no span is open; those deleted
// while start-up is timed, or on the loader's threads, are the images'.
bool wrapRemoveTempFile(const std::string &path) asm("__wrap__Z14removeTempFileRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
bool wrapRemoveTempFile(const std::string &path) {
    if (std::this_thread::get_id() == mainThread && currentStage() == Stage::Count) return realRemoveTempFile(path);
    ++calls.tempRemovals;
    return probed(Stage::TempRemoval, [&] { return realRemoveTempFile(path); });
}

void wrapSwapBuffers() asm("__wrap__Z11swapBuffersv");
void wrapSwapBuffers() {
    ++calls.swaps;
    realSwapBuffers();
    if (frameHook) frameHook();
}

// Inside uploadPixelatedTexture the level's span is open already.
extern "C" void __wrap_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void *pixels) {
    ++calls.uploads;
    uploadBytes += uint64_t(width) * uint64_t(height) * (format == GL_RGBA ? 4 : 3);
    auto upload = [&] {
        __real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
    };
    if (currentStage() == Stage::UploadLevels) return upload();
    if (std::this_thread::get_id() == mainThread && currentStage() == Stage::Count) {
        const auto start = std::chrono::steady_clock::now();
        upload();
        uploadsBetweenFramesNs +=
            std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
        return;
    }
    probed(Stage::UploadImage, upload);
}
