#include "content_reading.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include <jpeglib.h>   // JPEG header and pixel decoding
#include <png.h>       // PNG header and pixel decoding

std::string repoPath(const std::string &relative) { return std::string(DORIROVA_SOURCE_DIR) + "/" + relative; }
std::string archivePath(const std::string &name) { return repoPath("resources/archive/" + name); }

PngFile readPngFile(const std::string &path) {
    PngFile out;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return PngFile{};
    }
    png_init_io(png, file);
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.colourType = png_get_color_type(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    // Pixels are only compared for the format the presentation ships.
    if (out.colourType == PNG_COLOR_TYPE_RGBA && out.bitDepth == 8) {
        out.rgba.resize(size_t(out.width) * out.height * 4);
        std::vector<png_bytep> rows(out.height);
        for (uint32_t y = 0; y < out.height; ++y) rows[y] = &out.rgba[size_t(y) * out.width * 4];
        png_read_image(png, rows.data());
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    out.ok = true;
    return out;
}

namespace {
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};
void jpegFailure(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorTrap *>(info->err)->jump, 1); }
}   // namespace

JpegFile readJpegFile(const std::string &path, int scale) {
    JpegFile out;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) return out;
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jpegFailure;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return JpegFile{};
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    out.width = info.image_width;
    out.height = info.image_height;
    out.components = info.num_components;
    out.progressive = info.progressive_mode;
    info.scale_num = 1;
    info.scale_denom = unsigned(scale);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.decodedWidth = info.output_width;
    out.decodedHeight = info.output_height;
    out.rgb.resize(size_t(out.decodedWidth) * out.decodedHeight * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &out.rgb[size_t(info.output_scanline) * out.decodedWidth * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    out.ok = true;
    return out;
}

long fileSize(const std::string &path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? long(in.tellg()) : -1;
}

std::vector<uint8_t> fileBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
