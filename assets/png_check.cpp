#include "assets/png_check.h"

#include <png.h>   // PNG decoding, row by row, with handlers that keep quiet

#include <csetjmp>
#include <cstring>
#include <vector>

#include "assets/image.h"

namespace {
struct Reading {
    const uint8_t *data;
    size_t size;
    size_t position;
    const char *error = "";   // libpng's reason, kept rather than printed
};
}  // namespace

static void readBytes(png_structp png, png_bytep into, png_size_t length) {
    Reading &reading = *static_cast<Reading *>(png_get_io_ptr(png));
    if (length > reading.size - reading.position) png_error(png, "the file ends too soon");
    std::memcpy(into, reading.data + reading.position, length);
    reading.position += length;
}

static void keepError(png_structp png, png_const_charp message) {
    static_cast<Reading *>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

static void ignoreWarning(png_structp, png_const_charp) {}

std::string pngBytesFault(const uint8_t *data, size_t size) {
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return "not a PNG file";
    Reading reading{data, size, 8};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reading, keepError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::string fault;
    std::vector<png_byte> row;
    if (!png || !info) {
        fault = "out of memory";
    } else if (setjmp(png_jmpbuf(png))) {
        fault = std::string("a broken PNG file: ") + reading.error;
    } else {
        png_set_read_fn(png, &reading, readBytes);
        png_set_sig_bytes(png, 8);
        png_read_info(png, info);
        const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
        if (width > TEXTURE_MAX_SIDE || height > TEXTURE_MAX_SIDE) {
            fault = "larger than " + std::to_string(TEXTURE_MAX_SIDE) + " pixels on a side";
        } else {
            const int passes = png_set_interlace_handling(png);
            png_read_update_info(png, info);
            row.resize(png_get_rowbytes(png, info));
            for (int pass = 0; pass < passes; ++pass) {
                for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, row.data(), nullptr);
            }
            png_read_end(png, nullptr);
        }
    }
    png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
    return fault;
}
