// decodePngBytes: PNG files in memory through libpng, with a reading function
// of its own.
#include "assets/image_decoding.h"

#include "assets/png_expansion.h"

#include <csetjmp>
#include <cstring>
#include <memory>
#include <new>

// Checked before libpng is told that it has been read already.
static constexpr size_t SIGNATURE_SIZE = 8;

// Where a decoding reads from: the bytes, read on from position.
struct PngSource {
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

// libpng's reading function for bytes in memory: an end too soon is an error.
static void readPngBytes(png_structp png, png_bytep out, size_t length) {
    PngSource &source = *static_cast<PngSource *>(png_get_io_ptr(png));
    if (length > source.size - source.position) png_error(png, "the data end too soon");
    std::memcpy(out, source.data + source.position, length);
    source.position += length;
}

// Releases what one decoding holds; safe on null parts. Null, for the
// decoding's result.
static Image *releasePng(png_structp *png, png_infop *info, uint8_t *buffer, png_bytep *rows) {
    if (*png) png_destroy_read_struct(png, info, nullptr);
    delete[] buffer;
    delete[] rows;
    return nullptr;
}

// Reads the chunks up to the image data, past the signature.
static void readPngInfo(png_structp png, png_infop info, PngSource *source) {
    png_set_read_fn(png, source, readPngBytes);
    png_set_sig_bytes(png, SIGNATURE_SIZE);
    // Skip every ancillary chunk but tRNS unread: no transformation below uses
    // them, and libpng would first allocate (and touch) whatever length a
    // broken text or palette-suggestion chunk claims, up to 2 GB, only to find
    // the file far shorter. Skipped chunks are read in small pieces.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
}

static Image *decodePngFrom(PngSource source) {
    // libpng's default handlers: messages to stderr, errors jump to the setjmp below.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // Set after setjmp and released on the error path, hence volatile.
    uint8_t *volatile buffer = nullptr;
    png_bytep *volatile rows = nullptr;
    if (!png || !info) return releasePng(&png, &info, buffer, rows);
    if (setjmp(png_jmpbuf(png))) return releasePng(&png, &info, buffer, rows);
    readPngInfo(png, info, &source);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > TEXTURE_MAX_SIDE || height > TEXTURE_MAX_SIDE) {
        return releasePng(&png, &info, buffer, rows);
    }
    const int channels = expandPngToRgb(png, info);
    const size_t rowBytes = size_t(width) * channels;
    if ((channels != 3 && channels != 4) || png_get_rowbytes(png, info) != rowBytes) {
        return releasePng(&png, &info, buffer, rows);
    }
    // Up to 1 GB for the largest picture: a refusal from the allocator (an
    // address-space limit, a small machine) fails this load, not the process.
    buffer = new (std::nothrow) uint8_t[rowBytes * height];
    rows = new (std::nothrow) png_bytep[height];
    if (!buffer || !rows) return releasePng(&png, &info, buffer, rows);
    // Row k of the file (k = 0 at the top) goes straight to its bottom-up place.
    for (png_uint_32 k = 0; k < height; ++k) rows[k] = buffer + (height - 1 - k) * rowBytes;
    png_read_image(png, rows);

    std::unique_ptr<uint8_t[]> pixels(buffer);
    buffer = nullptr;
    releasePng(&png, &info, buffer, rows);
    Image *image = newImage(width, height, channels == 4 ? 1 : 0, std::move(pixels));
    if (image) measureTransparency(*image);
    return image;
}

Image *decodePngBytes(const uint8_t *data, size_t size) {
    if (!data || size < SIGNATURE_SIZE || png_sig_cmp(data, 0, SIGNATURE_SIZE) != 0) return nullptr;
    return decodePngFrom({data, size, SIGNATURE_SIZE});
}

// The channel count after the transformations decides the layout, so grey
// with alpha and transparency chunks get their four bytes per pixel.
int expandPngToRgb(png_structp png, png_infop info) {
    const int bitDepth = png_get_bit_depth(png, info);
    const int colourType = png_get_color_type(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    png_set_interlace_handling(png);  // png_read_image then de-interlaces
    png_read_update_info(png, info);
    return png_get_channels(png, info);
}
