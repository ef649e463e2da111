// decodeJpegBytes: JPEG files in memory through libjpeg's memory source,
// default decompression parameters, and an error manager that returns
// instead of ending the process (jpeg_errors.h).
#include "assets/image_decoding.h"

#include <memory>
#include <new>

#include <jerror.h>  // ERREXIT and its message codes

#include "assets/jpeg_errors.h"

namespace {

// Releases what one decoding holds; buffer may be null. Null, for the
// decoding's result.
Image *releaseJpeg(jpeg_decompress_struct *decoder, uint8_t *buffer) {
    jpeg_destroy_decompress(decoder);
    delete[] buffer;
    return nullptr;
}

// Has the decoder deliver layout's pixels and starts it; false when the
// picture is none it can: not colour or grey (CMYK, YCCK), or wider or
// taller than TEXTURE_MAX_SIDE.
bool startDecoding(jpeg_decompress_struct &decoder, JpegLayout layout) {
    // Colour (3 components) decodes to R G B by default; grey is widened to
    // R G B by libjpeg. libjpeg-turbo writes R G B A (alpha 255) as directly,
    // in its colour conversion.
    const bool colourOrGrey = decoder.num_components == 3 ||
                              (decoder.num_components == 1 && decoder.jpeg_color_space == JCS_GRAYSCALE);
    if (!colourOrGrey || decoder.image_width > TEXTURE_MAX_SIDE || decoder.image_height > TEXTURE_MAX_SIDE) {
        return false;
    }
    const bool rgba = layout == JpegLayout::OpaqueRgba;
    const J_COLOR_SPACE outSpace = rgba ? JCS_EXT_RGBA : JCS_RGB;
    decoder.out_color_space = outSpace;
    jpeg_start_decompress(&decoder);
    return decoder.output_components == (rgba ? 4 : 3) && decoder.out_color_space == outSpace;
}

// Reads every scanline into buffer, rows bottom-up, rowBytes apart.
void readScanlines(jpeg_decompress_struct &decoder, uint8_t *buffer, size_t rowBytes) {
    const uint32_t height = decoder.output_height;
    // Scanline k (k = 0 at the top) goes straight to its bottom-up row.
    while (decoder.output_scanline < height) {
        JSAMPROW row = buffer + (height - 1 - decoder.output_scanline) * rowBytes;
        if (jpeg_read_scanlines(&decoder, &row, 1) != 1) {
            ERREXIT(&decoder, JERR_INPUT_EMPTY);  // no progress: give up the same way
        }
    }
}

Image *decodeJpegFrom(const uint8_t *data, size_t size, JpegLayout layout) {
    jpeg_decompress_struct decoder;
    JpegErrorManager errors;
    useJpegErrors(decoder, errors);
    // Set after setjmp and released on the error path, hence volatile.
    uint8_t *volatile buffer = nullptr;
    if (setjmp(errors.failure)) return releaseJpeg(&decoder, buffer);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, data, static_cast<unsigned long>(size));
    jpeg_read_header(&decoder, TRUE);
    if (!startDecoding(decoder, layout)) return releaseJpeg(&decoder, buffer);

    const uint32_t width = decoder.output_width;
    const uint32_t height = decoder.output_height;
    const size_t rowBytes = size_t(width) * decoder.output_components;
    // Up to 768 MB for the largest picture: a refusal from the allocator (an
    // address-space limit, a small machine) fails this load, not the process.
    buffer = new (std::nothrow) uint8_t[rowBytes * height];
    if (!buffer) return releaseJpeg(&decoder, buffer);
    readScanlines(decoder, buffer, rowBytes);
    std::unique_ptr<uint8_t[]> pixels(buffer);
    releaseJpeg(&decoder, nullptr);
    Image *image = newImage(width, height, layout == JpegLayout::OpaqueRgba ? 1 : 0, std::move(pixels));
    if (image) image->opaque = true;
    return image;
}

}  // namespace

Image *decodeJpegBytes(const uint8_t *data, size_t size, JpegLayout layout) {
    if (!data || size == 0) return nullptr;
    return decodeJpegFrom(data, size, layout);
}
