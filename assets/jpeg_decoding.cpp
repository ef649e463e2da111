// loadJpeg and decodeJpeg: JPEG files through libjpeg's file-stream source
// (or bytes in memory through its memory source), default decompression
// parameters, and an error manager that returns instead of ending the process.
#include "assets/image_decoding.h"

#include <csetjmp>
#include <cstdio>  // FILE, needed before jpeglib.h
#include <memory>
#include <new>

#include <jerror.h>   // message codes, to tell a premature end of the data
#include <jpeglib.h>  // JPEG decoding (libjpeg 6b interface, libjpeg-turbo)

namespace {

// libjpeg's standard manager (messages to stderr), but fatal errors jump
// back to the loader, and so do the warnings that mean the file lacks part of
// its picture: the file ends, a segment's coded data stops at a marker, or a
// progressive scan refines coefficients no earlier scan coded (say, AC before
// any DC). libjpeg would make the missing part up and carry on, which also let
// a file of 300 to 500 bytes claim 16384 x 16384 pixels and cost many seconds
// and 2 GB to decode and upload.
struct JpegErrorManager {
    jpeg_error_mgr standard;
    void (*standardEmit)(j_common_ptr, int) = nullptr;
    std::jmp_buf failure;
};

[[noreturn]] void failDecoding(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorManager *>(info->err)->failure, 1);
}

void emitMessage(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    const bool partMissing =
        code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_BOGUS_PROGRESSION;
    if (level < 0 && partMissing) failDecoding(info);
    reinterpret_cast<JpegErrorManager *>(info->err)->standardEmit(info, level);
}

// Where a decoding reads from: an open file (closed at the end), or bytes.
struct JpegSource {
    FILE *file = nullptr;
    const uint8_t *data = nullptr;
    size_t size = 0;
};

// Releases what one decoding holds; buffer may be null.
void releaseJpeg(jpeg_decompress_struct *decoder, JpegSource source, uint8_t *buffer) {
    jpeg_destroy_decompress(decoder);
    if (source.file) std::fclose(source.file);
    delete[] buffer;
}

Texture *decodeJpegFrom(JpegSource source, JpegLayout layout);

}  // namespace

Texture *loadJpeg(const char *path) { return uploadDecoded(decodeJpeg(path)); }

Texture *decodeJpeg(const char *path, JpegLayout layout) {
    FILE *file = std::fopen(path, "rb");
    if (!file) return nullptr;
    return decodeJpegFrom({file, nullptr, 0}, layout);
}

Texture *decodeJpegBytes(const uint8_t *data, size_t size, JpegLayout layout) {
    if (!data || size == 0) return nullptr;
    return decodeJpegFrom({nullptr, data, size}, layout);
}

namespace {

Texture *decodeJpegFrom(JpegSource source, JpegLayout layout) {
    const bool rgba = layout == JpegLayout::OpaqueRgba;

    jpeg_decompress_struct decoder;
    JpegErrorManager errors;
    decoder.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = failDecoding;
    errors.standardEmit = errors.standard.emit_message;
    errors.standard.emit_message = emitMessage;
    // Set after setjmp and released on the error path, hence volatile.
    uint8_t *volatile buffer = nullptr;
    if (setjmp(errors.failure)) {
        releaseJpeg(&decoder, source, buffer);
        return nullptr;
    }
    jpeg_create_decompress(&decoder);
    if (source.file) jpeg_stdio_src(&decoder, source.file);
    else jpeg_mem_src(&decoder, source.data, static_cast<unsigned long>(source.size));
    jpeg_read_header(&decoder, TRUE);

    // Colour (3 components) decodes to R G B by default; grey is widened to
    // R G B by libjpeg; anything else (CMYK, YCCK) is refused. libjpeg-turbo
    // writes R G B A (alpha 255) as directly, in its colour conversion.
    bool usable = decoder.num_components == 3 ||
                  (decoder.num_components == 1 && decoder.jpeg_color_space == JCS_GRAYSCALE);
    const J_COLOR_SPACE outSpace = rgba ? JCS_EXT_RGBA : JCS_RGB;
    const int outComponents = rgba ? 4 : 3;
    decoder.out_color_space = outSpace;
    usable = usable && decoder.image_width <= TEXTURE_MAX_SIDE &&
             decoder.image_height <= TEXTURE_MAX_SIDE;
    if (usable) {
        jpeg_start_decompress(&decoder);
        usable = decoder.output_components == outComponents && decoder.out_color_space == outSpace;
    }
    if (!usable) {
        releaseJpeg(&decoder, source, buffer);
        return nullptr;
    }

    const uint32_t width = decoder.output_width;
    const uint32_t height = decoder.output_height;
    const size_t rowBytes = size_t(width) * outComponents;
    // Up to 768 MB for the largest picture: a refusal from the allocator (an
    // address-space limit, a small machine) fails this load, not the process.
    buffer = new (std::nothrow) uint8_t[rowBytes * height];
    if (!buffer) {
        releaseJpeg(&decoder, source, buffer);
        return nullptr;
    }
    // Scanline k (k = 0 at the top) goes straight to its bottom-up row.
    while (decoder.output_scanline < height) {
        JSAMPROW row = buffer + (height - 1 - decoder.output_scanline) * rowBytes;
        if (jpeg_read_scanlines(&decoder, &row, 1) != 1) {
            ERREXIT(&decoder, JERR_INPUT_EMPTY);  // no progress: give up the same way
        }
    }
    std::unique_ptr<uint8_t[]> pixels(buffer);
    releaseJpeg(&decoder, source, nullptr);
    Texture *texture = newPreparedTexture(width, height, rgba ? 1 : 0, std::move(pixels));
    if (texture) texture->opaque = true;
    return texture;
}

}  // namespace
