// Stand-in photographs and graphics, made in memory.
#include "bench/stand_in_assets.h"

#include <cstdio>    // FILE, needed before jpeglib.h
#include <jpeglib.h> // encoding the stand-in photographs
#include <png.h>     // encoding the stand-in graphics (simplified write API)

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

constexpr uint32_t PHOTO_SIDE = 1024;  // pixels, as the shipped photographs

// Smooth value noise in 0..1, for content with detail at many scales.
static float valueNoise(float x, float y, uint32_t seed) {
    auto hash = [seed](int32_t i, int32_t j) {
        uint32_t h = uint32_t(i) * 374761393u + uint32_t(j) * 668265263u + seed * 2246822519u;
        h = (h ^ (h >> 13)) * 1274126177u;
        return float((h ^ (h >> 16)) & 0xffff) / 65535.0f;
    };
    const int32_t xi = int32_t(std::floor(x)), yi = int32_t(std::floor(y));
    float fx = x - float(xi), fy = y - float(yi);
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const float top = hash(xi, yi) + (hash(xi + 1, yi) - hash(xi, yi)) * fx;
    const float bottom = hash(xi, yi + 1) + (hash(xi + 1, yi + 1) - hash(xi, yi + 1)) * fx;
    return top + (bottom - top) * fy;
}

std::string makeStandInPhoto(uint32_t seed) { return makeStandInPhoto(seed, PHOTO_SIDE, PHOTO_SIDE, true); }

std::string makeStandInPhoto(uint32_t seed, uint32_t width, uint32_t height, bool progressive) {
    std::vector<uint8_t> rgb(size_t(width) * height * 3);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            float value = 0, amplitude = 0.5f, scale = 1.0f / 256;
            for (int octave = 0; octave < 7; ++octave, amplitude *= 0.55f, scale *= 2) {
                value += amplitude * valueNoise(x * scale, y * scale, seed + octave);
            }
            const float hue = valueNoise(x / 300.0f, y / 300.0f, seed + 99);
            // Fine detail and grain, as a photograph has, which the decoder pays for.
            const float detail = valueNoise(x / 2.1f, y / 2.1f, seed + 7) - 0.5f;
            const float grain = float((x * 2654435761u ^ y * 40503u ^ seed) % 9) - 4.0f;
            value = value * 255 + detail * 30 + grain;
            uint8_t *p = &rgb[(size_t(y) * width + x) * 3];
            p[0] = uint8_t(std::clamp(value * (0.6f + 0.8f * hue), 0.0f, 255.0f));
            p[1] = uint8_t(std::clamp(value * 0.9f, 0.0f, 255.0f));
            p[2] = uint8_t(std::clamp(value * (1.4f - 0.8f * hue), 0.0f, 255.0f));
        }
    }
    return encodeStandInJpeg(width, height, 88, progressive, [&](uint32_t y) { return &rgb[size_t(y) * width * 3]; });
}

std::string encodeStandInJpeg(uint32_t width, uint32_t height, int quality, bool progressive,
                              const std::function<const uint8_t *(uint32_t)> &rowAt) {
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char *memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &memory, &size);
    encoder.image_width = width;
    encoder.image_height = height;
    encoder.input_components = 3;
    encoder.in_color_space = JCS_RGB;
    jpeg_set_defaults(&encoder);
    jpeg_set_quality(&encoder, quality, TRUE);
    if (progressive) jpeg_simple_progression(&encoder);
    jpeg_start_compress(&encoder, TRUE);
    while (encoder.next_scanline < height) {
        JSAMPROW row = const_cast<JSAMPROW>(rowAt(encoder.next_scanline));
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    std::string out(reinterpret_cast<char *>(memory), size);
    jpeg_destroy_compress(&encoder);
    std::free(memory);
    return out;
}

std::string makeStandInGraphic(uint32_t width, uint32_t height, uint32_t seed) {
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const float n = valueNoise(x / 24.0f, y / 24.0f, seed);
            uint8_t *p = &rgba[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(255 * n);
            p[1] = uint8_t(255 * (1 - n));
            p[2] = uint8_t((x ^ y) & 0xff);
            p[3] = uint8_t(n < 0.3f ? 0 : n > 0.7f ? 255 : 255 * (n - 0.3f) / 0.4f);
        }
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::string out(size, '\0');
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}
