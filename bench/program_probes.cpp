// The linker's wrappers around the program's functions. Each __wrap_ symbol
// replaces the function for calls from the program's other object files, and
// __real_ reaches the original. The asm labels spell the C++ names as the
// linker sees them.
#include "bench/program_probes.h"

#include <GL/gl.h>  // glTexImage2D, glFinish

#include <string>

#include "assets/texture.h"
#include "bench/stage_clock.h"

std::string realWriteResourceToTempFile() asm("__real__ZN15ResourceArchive23writeResourceToTempFileB5cxx11Ev");
int realOpenArchive(const char *path) asm("__real__ZN15ResourceArchive4openEPKc");
void realExtractEntry(const char *name, char *outPath) asm("__real__ZN15ResourceArchive12extractEntryEPKcPc");
Texture *realLoadJpeg(const char *path) asm("__real__Z8loadJpegPKc");
Texture *realLoadPng(const char *path) asm("__real__Z7loadPngPKc");
void realAddPixelatedLevel(Texture *texture, uint32_t blockSize) asm("__real__ZN7Texture17addPixelatedLevelEj");
void realLoadMusic() asm("__real__Z9loadMusicv");
void realSwapBuffers() asm("__real__Z11swapBuffersv");
bool realRemoveTempFile(const std::string &path) asm("__real__Z14removeTempFileRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
extern "C" void __real_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void *pixels);

namespace {
ProbeCalls calls;
uint64_t uploadBytes = 0;
FrameHook frameHook = nullptr;
}  // namespace

void setFrameHook(FrameHook hook) { frameHook = hook; }
const ProbeCalls &probeCalls() { return calls; }
uint64_t uploadedBytes() { return uploadBytes; }

std::string wrapWriteResourceToTempFile() asm("__wrap__ZN15ResourceArchive23writeResourceToTempFileB5cxx11Ev");
std::string wrapWriteResourceToTempFile() {
    ++calls.archiveCopy;
    beginStage(Stage::ArchiveCopy);
    std::string path = realWriteResourceToTempFile();
    endStage();
    return path;
}

int wrapOpenArchive(const char *path) asm("__wrap__ZN15ResourceArchive4openEPKc");
int wrapOpenArchive(const char *path) {
    beginStage(Stage::ArchiveCopy);
    const int result = realOpenArchive(path);
    endStage();
    return result;
}

void wrapExtractEntry(const char *name, char *outPath) asm("__wrap__ZN15ResourceArchive12extractEntryEPKcPc");
void wrapExtractEntry(const char *name, char *outPath) {
    // The music module's extraction is part of loading the music.
    if (currentStage() == Stage::Music) return realExtractEntry(name, outPath);
    ++calls.extraction;
    beginStage(Stage::Extraction);
    realExtractEntry(name, outPath);
    endStage();
}

Texture *wrapLoadJpeg(const char *path) asm("__wrap__Z8loadJpegPKc");
Texture *wrapLoadJpeg(const char *path) {
    ++calls.decodeJpeg;
    beginStage(Stage::DecodeJpeg);
    Texture *texture = realLoadJpeg(path);
    endStage();
    return texture;
}

Texture *wrapLoadPng(const char *path) asm("__wrap__Z7loadPngPKc");
Texture *wrapLoadPng(const char *path) {
    ++calls.decodePng;
    beginStage(Stage::DecodePng);
    Texture *texture = realLoadPng(path);
    endStage();
    return texture;
}

void wrapAddPixelatedLevel(Texture *texture, uint32_t blockSize) asm("__wrap__ZN7Texture17addPixelatedLevelEj");
void wrapAddPixelatedLevel(Texture *texture, uint32_t blockSize) {
    ++calls.levels;
    beginStage(Stage::Levels);
    realAddPixelatedLevel(texture, blockSize);
    endStage();
}

void wrapLoadMusic() asm("__wrap__Z9loadMusicv");
void wrapLoadMusic() {
    ++calls.music;
    beginStage(Stage::Music);
    realLoadMusic();
    endStage();
}

// removeTempFile: every temporary file the program deletes. Counted only
// while the scene is set up outside the music's loading, where what it
// deletes is an image's extracted file.
bool wrapRemoveTempFile(const std::string &path) asm("__wrap__Z14removeTempFileRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
bool wrapRemoveTempFile(const std::string &path) {
    if (currentStage() != Stage::SceneRest) return realRemoveTempFile(path);
    ++calls.tempRemovals;
    beginStage(Stage::TempRemoval);
    const bool removed = realRemoveTempFile(path);
    endStage();
    return removed;
}

void wrapSwapBuffers() asm("__wrap__Z11swapBuffersv");
void wrapSwapBuffers() {
    ++calls.swaps;
    realSwapBuffers();
    if (frameHook) frameHook();
}

extern "C" void __wrap_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void *pixels) {
    ++calls.uploads;
    uploadBytes += uint64_t(width) * uint64_t(height) * (format == GL_RGBA ? 4 : 3);
    beginStage(currentStage() == Stage::Levels ? Stage::UploadLevels : Stage::UploadImage);
    __real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
    endStage();
}
