#include "image_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <png.h>       // PNG encoding and decoding
#include <jpeglib.h>   // JPEG encoding and decoding (libjpeg 6b interface)

bool writePng(const std::string &path, const RgbaImage &image) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        std::fprintf(stderr, "PNG encoding failed for %s\n", path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) png_write_row(png, image.at(0, y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

// libjpeg's default error handler ends the process; the generator would
// rather report and go on, so errors jump back here.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

static void jpegErrorExit(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    std::fprintf(stderr, "JPEG: %s\n", message);
    std::longjmp(reinterpret_cast<JpegErrorTrap *>(info->err)->jump, 1);
}

static std::vector<unsigned char> encodeJpeg(const RgbaImage &image, int quality) {
    jpeg_compress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jpegErrorExit;
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> rgb(size_t(image.width) * 3);
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width);
    info.image_height = JDIMENSION(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const uint8_t *src = image.at(0, int(info.next_scanline));
        for (int x = 0; x < image.width; ++x) std::memcpy(&rgb[size_t(x) * 3], src + x * 4, 3);
        JSAMPROW row = rgb.data();
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

JpegResult writeJpeg(const std::string &path, const RgbaImage &image, int quality, int minQuality, int maxQuality,
                     size_t minBytes, size_t maxBytes) {
    auto distance = [&](size_t n) { return n < minBytes ? minBytes - n : n > maxBytes ? n - maxBytes : 0; };
    std::vector<unsigned char> best = encodeJpeg(image, quality);
    if (best.empty()) return {};
    int bestQuality = quality;
    // Sizes grow with quality: walk one way until the size fits or the range ends.
    int step = best.size() > maxBytes ? -1 : best.size() < minBytes ? +1 : 0;
    for (int q = quality + step; step != 0 && q >= minQuality && q <= maxQuality; q += step) {
        std::vector<unsigned char> bytes = encodeJpeg(image, q);
        if (bytes.empty()) return {};
        if (distance(bytes.size()) < distance(best.size())) {
            best = std::move(bytes);
            bestQuality = q;
        }
        if (distance(best.size()) == 0) break;
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return {};
    }
    bool ok = std::fwrite(best.data(), 1, best.size(), file) == best.size();
    ok = std::fclose(file) == 0 && ok;
    return {ok, bestQuality, best.size()};
}

static void putLe(std::vector<unsigned char> &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

bool writeBmp24(const std::string &path, const RgbaImage &image) {
    uint32_t rowBytes = (uint32_t(image.width) * 3 + 3) & ~3u;
    uint32_t dataBytes = rowBytes * uint32_t(image.height);
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + dataBytes, 4);       // file size
    putLe(out, 0, 4);                    // reserved
    putLe(out, 54, 4);                   // offset of the pixels
    putLe(out, 40, 4);                   // BITMAPINFOHEADER size
    putLe(out, uint32_t(image.width), 4);
    putLe(out, uint32_t(image.height), 4);   // positive: bottom row first
    putLe(out, 1, 2);                    // planes
    putLe(out, 24, 2);                   // bits per pixel
    putLe(out, 0, 4);                    // BI_RGB, uncompressed
    putLe(out, dataBytes, 4);
    putLe(out, 2835, 4);                 // 72 dpi
    putLe(out, 2835, 4);
    putLe(out, 0, 4);                    // no palette
    putLe(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t *p = image.at(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (uint32_t pad = uint32_t(image.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}

RgbaImage readPng(const std::string &path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return {};
    png.format = PNG_FORMAT_RGBA;
    RgbaImage image(int(png.width), int(png.height));
    if (!png_image_finish_read(&png, nullptr, image.bytes.data(), 0, nullptr)) {
        png_image_free(&png);
        return {};
    }
    return image;
}

RgbaImage readJpeg(const std::string &path) {
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return {};
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jpegErrorExit;
    RgbaImage image;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = RgbaImage(int(info.output_width), int(info.output_height));
    std::vector<unsigned char> row(size_t(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        int y = int(info.output_scanline);
        JSAMPROW rows = row.data();
        jpeg_read_scanlines(&info, &rows, 1);
        for (int x = 0; x < image.width; ++x) {
            uint8_t *p = image.at(x, y);
            std::memcpy(p, &row[size_t(x) * 3], 3);
            p[3] = 255;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return image;
}
