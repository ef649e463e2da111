// Start-up cost of the photographs: 24 progressive JPEGs of 1024 x 1024 are
// extracted from the archive, decoded, uploaded and given their seven
// pixelated levels. Reports each stage and the real path's total beside JPEG
// decoding alone, all in the same run (median of several rounds), on Mesa.
// Page faults are counted beside the times: first touches of fresh memory
// (texture storage above all) are costly on some virtual machines.
//
//   dorirova_bench [rounds]      (default 5)
//
// Uses the photographs of resources/archive/ when there are any; otherwise
// makes 24 of the shipped kind from procedural pixels (quality 88).
#include "assets/asset_store.h"
#include "assets/resource_archive.h"
#include "assets/texture.h"
#include "platform/embedded_resources.h"

#include <GL/osmesa.h>  // an off-screen GL context for the uploads
#include <cstdio>       // FILE, needed before jpeglib.h
#include <jpeglib.h>    // making the photographs, and decoding alone as the yardstick

#include <sys/resource.h>  // page-fault counts

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int PHOTO_COUNT = 24;
constexpr uint32_t PHOTO_SIZE = 1024;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Minor page faults of the process so far: first touches of fresh memory,
// which cost a lot on some virtual machines.
long pageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Smooth value noise in 0..1, for photo-like content with detail at many scales.
float valueNoise(float x, float y, uint32_t seed) {
    auto hash = [seed](int32_t i, int32_t j) {
        uint32_t h = uint32_t(i) * 374761393u + uint32_t(j) * 668265263u + seed * 2246822519u;
        h = (h ^ (h >> 13)) * 1274126177u;
        return float((h ^ (h >> 16)) & 0xffff) / 65535.0f;
    };
    int32_t xi = int32_t(std::floor(x)), yi = int32_t(std::floor(y));
    float fx = x - float(xi), fy = y - float(yi);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    float top = hash(xi, yi) + (hash(xi + 1, yi) - hash(xi, yi)) * fx;
    float bottom = hash(xi, yi + 1) + (hash(xi + 1, yi + 1) - hash(xi, yi + 1)) * fx;
    return top + (bottom - top) * fy;
}

std::string makePhoto(uint32_t seed) {
    std::vector<uint8_t> rgb(size_t(PHOTO_SIZE) * PHOTO_SIZE * 3);
    for (uint32_t y = 0; y < PHOTO_SIZE; ++y) {
        for (uint32_t x = 0; x < PHOTO_SIZE; ++x) {
            float value = 0, amplitude = 0.5f, scale = 1.0f / 256;
            for (int octave = 0; octave < 7; ++octave, amplitude *= 0.55f, scale *= 2) {
                value += amplitude * valueNoise(x * scale, y * scale, seed + octave);
            }
            float hue = valueNoise(x / 300.0f, y / 300.0f, seed + 99);
            // Fine detail and grain, as a photograph has, which the decoder pays for.
            float detail = valueNoise(x / 2.1f, y / 2.1f, seed + 7) - 0.5f;
            float grain = float((x * 2654435761u ^ y * 40503u ^ seed) % 9) - 4.0f;
            value = value * 255 + detail * 30 + grain;
            uint8_t *p = &rgb[(size_t(y) * PHOTO_SIZE + x) * 3];
            p[0] = uint8_t(std::clamp(value * (0.6f + 0.8f * hue), 0.0f, 255.0f));
            p[1] = uint8_t(std::clamp(value * 0.9f, 0.0f, 255.0f));
            p[2] = uint8_t(std::clamp(value * (1.4f - 0.8f * hue), 0.0f, 255.0f));
        }
    }
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char *memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &memory, &size);
    encoder.image_width = PHOTO_SIZE;
    encoder.image_height = PHOTO_SIZE;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, 88, TRUE);
    jpeg_simple_progression(&encoder);
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < PHOTO_SIZE) {
        JSAMPROW row = &rgb[size_t(encoder.next_scanline) * PHOTO_SIZE * 3];
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    std::string out(reinterpret_cast<char *>(memory), size);
    jpeg_destroy_compress(&encoder);
    std::free(memory);
    return out;
}

struct Photo {
    std::string name;
    std::string bytes;
};

std::vector<Photo> shippedOrMadePhotos() {
    std::vector<Photo> photos;
    const std::filesystem::path dir = DORIROVA_SOURCE_DIR "/resources/archive";
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec)) {
        if (entry.path().extension() != ".jpg") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        photos.push_back({entry.path().filename().string(),
                          std::string(std::istreambuf_iterator<char>(in), {})});
    }
    std::sort(photos.begin(), photos.end(), [](auto &a, auto &b) { return a.name < b.name; });
    if (!photos.empty()) {
        std::printf("photographs: %zu from resources/archive\n", photos.size());
        return photos;
    }
    for (int i = 0; i < PHOTO_COUNT; ++i) {
        photos.push_back({"photo-" + std::to_string(i + 1) + ".jpg", makePhoto(uint32_t(i) * 17)});
    }
    size_t total = 0;
    for (const Photo &p : photos) total += p.bytes.size();
    std::printf("photographs: %d made here, progressive, quality 88, %zu KiB each on average\n",
                PHOTO_COUNT, total / PHOTO_COUNT / 1024);
    return photos;
}

std::string buildArchive(const std::vector<Photo> &photos) {
    std::string out;
    auto put32 = [&out](uint32_t v) {
        for (int s = 0; s < 32; s += 8) out.push_back(char((v >> s) & 0xff));
    };
    put32(uint32_t(photos.size()));
    for (const Photo &p : photos) {
        std::string field = p.name;
        field.resize(RESOURCE_NAME_SIZE, '\0');
        out += field;
        put32(uint32_t(p.bytes.size()));
    }
    for (const Photo &p : photos) out += p.bytes;
    return out;
}

// JPEG decoding alone: the loader's decoding (default parameters, one
// scanline per call, bottom-up rows into one new buffer), without any
// texture work.
std::unique_ptr<uint8_t[]> decodeAlone(const std::string &path, uint32_t *width, uint32_t *height) {
    FILE *file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, file);
    jpeg_read_header(&decoder, TRUE);
    jpeg_start_decompress(&decoder);
    *width = decoder.output_width;
    *height = decoder.output_height;
    const size_t rowBytes = size_t(*width) * decoder.output_components;
    std::unique_ptr<uint8_t[]> pixels(new uint8_t[rowBytes * *height]);
    while (decoder.output_scanline < *height) {
        JSAMPROW row = &pixels[(*height - 1 - decoder.output_scanline) * rowBytes];
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    jpeg_destroy_decompress(&decoder);
    std::fclose(file);
    return pixels;
}

void releaseTexture(Texture *t) {
    glDeleteTextures(1, &t->glName);
    glDeleteTextures(GLsizei(t->pixelatedLevels.size()), t->pixelatedLevels.data());
    delete t;
}

// One stage's cost over all photographs of a round.
struct Stage {
    double milliseconds = 0;
    long pageFaults = 0;
};

struct Round {
    Stage extract, decode, levels, upload, total;
};

template <typename Work>
void measure(Stage &stage, Work work) {
    const long faults = pageFaults();
    const auto start = Clock::now();
    work();
    glFinish();
    stage.milliseconds = millisecondsSince(start);
    stage.pageFaults = pageFaults() - faults;
}

// One round: the stages one after the other, each photograph's memory kept
// to the end of the round as start-up keeps it; then the real path (store
// load and seven levels) as the presentation runs it.
Round runRound(const std::vector<Photo> &photos) {
    Round round;
    AssetStore *store = AssetStore::instance();
    std::vector<std::string> paths;
    measure(round.extract, [&] {
        for (const Photo &p : photos) paths.push_back(store->extractToTempFile(p.name));
    });

    std::vector<std::unique_ptr<Texture>> textures;
    measure(round.decode, [&] {
        for (const std::string &path : paths) {
            auto texture = std::make_unique<Texture>();
            texture->pixels = decodeAlone(path, &texture->imageWidth, &texture->imageHeight);
            texture->textureWidth = texture->imageWidth;
            texture->textureHeight = texture->imageHeight;
            textures.push_back(std::move(texture));
        }
    });
    for (const std::string &path : paths) std::remove(path.c_str());

    struct Level {
        uint32_t width = 0, height = 0;
        std::vector<uint8_t> texels;
    };
    std::vector<std::vector<Level>> levels(textures.size());
    measure(round.levels, [&] {
        for (size_t i = 0; i < textures.size(); ++i) {
            for (uint32_t block = 2; block <= 64; block *= 2) {
                Level level;
                level.texels = textures[i]->pixelatedTexels(block, &level.width, &level.height);
                levels[i].push_back(std::move(level));
            }
        }
    });

    measure(round.upload, [&] {
        for (size_t i = 0; i < textures.size(); ++i) {
            Texture *t = textures[i].get();
            t->glName = uploadTexture(t);
            // Level 0 of an RGB photograph is the texture itself, uploaded again.
            t->pixelatedLevels.push_back(
                uploadPixelatedTexture(t, t->textureWidth, t->textureHeight, t->pixels.get()));
            for (const Level &level : levels[i]) {
                t->pixelatedLevels.push_back(
                    uploadPixelatedTexture(t, level.width, level.height, level.texels.data()));
            }
        }
    });
    levels.clear();
    for (auto &t : textures) releaseTexture(t.release());

    std::vector<Texture *> loaded;
    measure(round.total, [&] {
        for (const Photo &p : photos) {
            Texture *t = store->texture(store->loadTexture(p.name));
            for (uint32_t block = 1; block <= 64; block *= 2) t->addPixelatedLevel(block);
            loaded.push_back(t);
        }
    });
    for (Texture *t : loaded) releaseTexture(t);
    return round;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<uint8_t> frame(64 * 64 * 4);
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!context || !OSMesaMakeCurrent(context, frame.data(), GL_UNSIGNED_BYTE, 64, 64)) {
        std::fprintf(stderr, "dorirova_bench: no OSMesa context\n");
        return 1;
    }
    std::printf("GL: %s\n", reinterpret_cast<const char *>(glGetString(GL_RENDERER)));

    const std::vector<Photo> photos = shippedOrMadePhotos();
    const std::string archive = buildArchive(photos);
    overrideResource("REZ", 102, reinterpret_cast<const unsigned char *>(archive.data()),
                     archive.size());
    AssetStore::instance();

    runRound(photos);  // warm-up: first GL use, page cache
    std::vector<Round> results;
    for (int r = 0; r < rounds; ++r) results.push_back(runRound(photos));
    AssetStore::destroyInstance();
    overrideResource("REZ", 102, nullptr, 0);
    OSMesaDestroyContext(context);

    auto stage = [&results](Stage Round::*field) {
        std::vector<double> ms, faults;
        for (const Round &r : results) {
            ms.push_back((r.*field).milliseconds);
            faults.push_back(double((r.*field).pageFaults));
        }
        return std::pair{median(ms), median(faults)};
    };
    std::printf("%zu photographs, median of %d rounds, for all of them:\n", photos.size(), rounds);
    std::printf("  %-42s %10s %12s\n", "", "ms", "page faults");
    auto row = [&](const char *label, Stage Round::*field) {
        auto [ms, faults] = stage(field);
        std::printf("  %-42s %10.1f %12.0f\n", label, ms, faults);
        return ms;
    };
    row("extraction", &Round::extract);
    const double decode = row("JPEG decode alone", &Round::decode);
    row("level building, blocks 2..64", &Round::levels);
    row("upload, texture and 7 levels", &Round::upload);
    const double total = row("total: store load and 7 levels", &Round::total);
    std::printf("  total / JPEG decoding alone                %10.2f  (goal: at most 1.25)\n",
                total / decode);
    return 0;
}
