// Replaying one input through the archive reader or an image loader, with
// the rules each outcome must satisfy.
#include "tests/fuzz/fuzz_replay.h"

#include "assets/image_decoding.h"
#include "assets/photo_file.h"
#include "assets/resource_archive.h"
#include "platform/temp_file.h"
#include "tests/support/image_files.h"

#include <dirent.h>  // checking that the temporary folder is empty again
#include <unistd.h>  // readlink, for the files held without a name

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A broken rule: one line on stdout, then abort so the fuzzer keeps the input.
#define REPLAY_CHECK(condition)                                                       \
    do {                                                                              \
        if (!(condition)) replayFailure(__FILE__, __LINE__, #condition);              \
    } while (0)

[[noreturn]] static void replayFailure(const char *file, int line, const char *condition) {
    std::printf("%s:%d: replay rule broken: %s\n", file, line, condition);
    std::fflush(stdout);
    std::abort();
}

static std::string writeInput(const uint8_t *data, size_t size) {
    std::string path = createTempFile();
    REPLAY_CHECK(!path.empty());
    FILE *file = std::fopen(path.c_str(), "wb");
    REPLAY_CHECK(file != nullptr);
    REPLAY_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    REPLAY_CHECK(std::fclose(file) == 0);
    return path;
}

static std::string readFile(const char *path) {
    std::string bytes;
    FILE *file = std::fopen(path, "rb");
    REPLAY_CHECK(file != nullptr);
    char chunk[4096];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

// How many entries a folder lists, "." and ".." aside.
static int entriesOf(const char *folder) {
    DIR *dir = opendir(folder);
    REPLAY_CHECK(dir != nullptr);
    int entries = 0;
    while (dirent *entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) ++entries;
    }
    closedir(dir);
    return entries;
}

// Every temporary file made during an input must be gone by its end: none
// in the folder, and none without a name that this process still holds there.
static void checkTempFolderEmpty() {
    const char *folder = std::getenv("TMPDIR");
    REPLAY_CHECK(folder != nullptr && *folder != '\0');
    REPLAY_CHECK(entriesOf(folder) == 0);
    DIR *fds = opendir("/proc/self/fd");
    if (!fds) return;
    const size_t length = std::strlen(folder);
    while (dirent *entry = readdir(fds)) {
        char link[320], target[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%s", entry->d_name);
        const ssize_t got = readlink(link, target, sizeof target - 1);
        if (got <= 0) continue;
        target[got] = '\0';
        REPLAY_CHECK(std::strncmp(target, folder, length) != 0 || target[length] != '/');
    }
    closedir(fds);
}

// ---------------------------------------------------------------- archive

// A name that no entry of the table has.
static std::string absentName(const std::vector<ResourceArchiveEntry> &table) {
    std::string name = "absent";
    auto taken = [&](const std::string &candidate) {
        return std::any_of(table.begin(), table.end(),
                           [&](const ResourceArchiveEntry &e) { return candidate == e.name; });
    };
    while (taken(name)) name += "_";
    return name;
}

ReplayOutcome replayArchive(const uint8_t *data, size_t size) {
    // The table the bytes describe, parsed in memory; the reader reads the file.
    std::vector<ResourceArchiveEntry> table;
    const bool wellFormed = parseArchiveTable(data, size, size, table);
    const std::string path = writeInput(data, size);

    const int opened = ResourceArchive::open(path.c_str());
    REPLAY_CHECK(opened == (wellFormed ? 0 : 1));
    REPLAY_CHECK(ResourceArchive::entryCount() == (wellFormed ? table.size() : 0));
    for (uint32_t i = 0; i < ResourceArchive::entryCount(); ++i) {
        const ResourceArchiveEntry &entry = ResourceArchive::entry(i);
        REPLAY_CHECK(std::memchr(entry.name, 0, RESOURCE_NAME_SIZE) != nullptr);
        REPLAY_CHECK(std::strcmp(table[i].name, entry.name) == 0);
        REPLAY_CHECK(table[i].size == entry.size);
        REPLAY_CHECK(table[i].offset == entry.offset);
    }

    // Each name gives its first entry's bytes, exactly; extractions in table
    // order also revisit earlier parts of the file for duplicate names. (A
    // refused archive has no table here, and the reader finds nothing.)
    char outPath[RESOURCE_PATH_SIZE];
    for (const ResourceArchiveEntry &entry : table) {
        const ResourceArchiveEntry &first =
            *std::find_if(table.begin(), table.end(), [&](const ResourceArchiveEntry &e) {
                return std::strcmp(e.name, entry.name) == 0;
            });
        std::memset(outPath, 'x', sizeof outPath);
        ResourceArchive::extractEntry(entry.name, outPath);
        REPLAY_CHECK(outPath[0] != '\0');
        const std::string bytes = readFile(outPath);
        REPLAY_CHECK(bytes.size() == first.size);
        REPLAY_CHECK(std::memcmp(bytes.data(), data + first.offset, first.size) == 0);
        REPLAY_CHECK(removeTempFile(outPath));
        std::vector<unsigned char> read;   // the same, read into memory
        REPLAY_CHECK(ResourceArchive::readEntry(entry.name, read));
        REPLAY_CHECK(read.size() == first.size);
        REPLAY_CHECK(first.size == 0 || std::memcmp(read.data(), data + first.offset, first.size) == 0);
    }
    std::memset(outPath, 'x', sizeof outPath);
    ResourceArchive::extractEntry(absentName(table).c_str(), outPath);
    REPLAY_CHECK(outPath[0] == '\0');
    std::vector<unsigned char> absent(1);
    REPLAY_CHECK(!ResourceArchive::readEntry(absentName(table).c_str(), absent) && absent.empty());

    ResourceArchive::close();  // deletes the archive file
    REPLAY_CHECK(ResourceArchive::entryCount() == 0);
    checkTempFolderEmpty();
    return opened == 0 ? ReplayOutcome::Accepted : ReplayOutcome::Refused;
}

// ---------------------------------------------------------------- images

// Above this many texels the levels are made but not compared texel by texel,
// which would make one input take seconds.
static constexpr size_t MAX_COMPARED_TEXELS = size_t(1) << 18;

// The level rule, written out plainly: the block size clamped to 1 .. the
// shorter side; every whole block's R, G and B summed and divided by its
// area, rounded down; alpha 255.
static std::vector<uint8_t> referenceLevel(const Image &t, uint32_t blockSize) {
    const uint32_t b = std::clamp<uint32_t>(blockSize, 1, std::min(t.textureWidth, t.textureHeight));
    const uint32_t bpp = t.hasAlpha ? 4 : 3, outW = t.textureWidth / b, outH = t.textureHeight / b;
    std::vector<uint8_t> out(size_t(outW) * outH * bpp);
    for (uint32_t by = 0; by < outH; ++by) {
        for (uint32_t bx = 0; bx < outW; ++bx) {
            uint64_t sum[3] = {0, 0, 0};
            for (uint32_t y = by * b; y < by * b + b; ++y) {
                for (uint32_t x = bx * b; x < bx * b + b; ++x) {
                    const uint8_t *texel = &t.pixels[(size_t(y) * t.textureWidth + x) * bpp];
                    for (int c = 0; c < 3; ++c) sum[c] += texel[c];
                }
            }
            uint8_t *o = &out[(size_t(by) * outW + bx) * bpp];
            for (int c = 0; c < 3; ++c) o[c] = uint8_t(sum[c] / (uint64_t(b) * b));
            if (bpp == 4) o[3] = 255;
        }
    }
    return out;
}

static void checkImage(Image &t) {
    REPLAY_CHECK(t.imageWidth >= 1 && t.imageWidth <= TEXTURE_MAX_SIDE);
    REPLAY_CHECK(t.imageHeight >= 1 && t.imageHeight <= TEXTURE_MAX_SIDE);
    REPLAY_CHECK(t.textureWidth == nextPowerOfTwo(t.imageWidth));
    REPLAY_CHECK(t.textureHeight == nextPowerOfTwo(t.imageHeight));
    REPLAY_CHECK(t.hasAlpha == 0 || t.hasAlpha == 1);
    REPLAY_CHECK(t.pixels != nullptr);

    // Padding: every byte right of and above the image is zero.
    const size_t bpp = t.hasAlpha ? 4 : 3;
    const size_t rowBytes = size_t(t.textureWidth) * bpp;
    for (size_t y = 0; y < t.textureHeight; ++y) {
        const uint8_t *row = &t.pixels[y * rowBytes];
        const size_t from = y < t.imageHeight ? size_t(t.imageWidth) * bpp : 0;
        REPLAY_CHECK(std::all_of(row + from, row + rowBytes, [](uint8_t b) { return b == 0; }));
    }

    // Levels in an order that uses the kept block sums (multiples of the last
    // block), leaves them (non-multiples) and clamps (beyond the texture).
    const size_t texels = size_t(t.textureWidth) * t.textureHeight;
    if (texels <= MAX_COMPARED_TEXELS) {
        for (uint32_t block : {1u, 2u, 4u, 8u, 3u, 6u, 12u, 64u, 5u, 1u << 20}) {
            uint32_t width = 0, height = 0;
            const std::vector<uint8_t> level = t.pixelatedTexels(block, &width, &height);
            const uint32_t clamped =
                std::clamp<uint32_t>(block, 1, std::min(t.textureWidth, t.textureHeight));
            REPLAY_CHECK(width == t.textureWidth / clamped);
            REPLAY_CHECK(height == t.textureHeight / clamped);
            REPLAY_CHECK(level == referenceLevel(t, block));
        }
    }
}

// Uploaded with levels, as the asset store uploads: a GL name for the texture
// and one for each level. Textures are never released by the program; here
// they are, or the fuzzer would run out of GL memory.
static void checkUpload(Image &image) {
    const std::vector<uint32_t> blocks = {1u, 2u, 64u, 0u, 1u << 20};
    image.makeLevels(blocks);
    std::unique_ptr<Texture> t = uploadNewTexture(image);
    REPLAY_CHECK(t->glName != 0);
    REPLAY_CHECK(t->pixelatedLevels.size() == blocks.size());
    REPLAY_CHECK(std::all_of(t->pixelatedLevels.begin(), t->pixelatedLevels.end(), [](GLuint n) { return n != 0; }));
    glDeleteTextures(1, &t->glName);
    glDeleteTextures(GLsizei(t->pixelatedLevels.size()), t->pixelatedLevels.data());
    while (glGetError() != GL_NO_ERROR) {
    }
}

static ReplayOutcome replayImage(std::unique_ptr<Image> (*decode)(const std::string &), const uint8_t *data,
                                 size_t size, bool alphaAllowed) {
    const std::string path = writeInput(data, size);
    std::unique_ptr<Image> image = decode(path);
    REPLAY_CHECK(removeTempFile(path));
    checkTempFolderEmpty();
    if (!image) return ReplayOutcome::Refused;
    REPLAY_CHECK(alphaAllowed || image->hasAlpha == 0);
    checkImage(*image);
    checkUpload(*image);
    return ReplayOutcome::Accepted;
}

ReplayOutcome replayPng(const uint8_t *data, size_t size) {
    return replayImage(decodePngFile, data, size, true);
}

ReplayOutcome replayJpeg(const uint8_t *data, size_t size) {
    return replayImage([](const std::string &path) { return decodeJpegFile(path); }, data, size, false);
}

ReplayOutcome replayPhoto(const uint8_t *data, size_t size) {
    constexpr uint32_t SIDE = 64;
    const std::string path = writeInput(data, size);
    std::string failure;
    std::unique_ptr<Image> image(
        loadPhotoFile(path, SIDE, size % 2 ? PhotoFit::Fill : PhotoFit::Inside, failure));
    REPLAY_CHECK(removeTempFile(path));
    checkTempFolderEmpty();
    if (!image) {
        REPLAY_CHECK(!failure.empty());
        return ReplayOutcome::Refused;
    }
    REPLAY_CHECK(image->imageWidth == SIDE && image->imageHeight == SIDE);
    REPLAY_CHECK(image->hasAlpha == 1 && image->opaque);
    for (size_t k = 3; k < size_t(SIDE) * SIDE * 4; k += 4) REPLAY_CHECK(image->pixels[k] == 255);
    checkImage(*image);
    return ReplayOutcome::Accepted;
}
