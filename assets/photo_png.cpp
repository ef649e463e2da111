// decodePhotoPng: a photograph's PNG file, row by row into the scaler
// (interlaced files, whose rows come in seven passes, decoded whole first),
// transparency drawn over black.
#include <memory>
#include <new>

#include "assets/photo_decoding.h"
#include "assets/png_expansion.h"

namespace {

// A decoding's PhotoWork and its row buffers.
struct PngWork : PhotoWork {
    std::unique_ptr<uint8_t[]> pixels;   // one row, or every row of an interlaced file
    std::unique_ptr<png_bytep[]> rows;   // an interlaced file's rows, top first
    std::unique_ptr<uint8_t[]> rgb;      // one row, over black
};

// libpng's errors jump back without a message: the loader names the file
// and says why in one line. Warnings are dropped too.
[[noreturn]] void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void warnQuietly(png_structp, png_const_charp) {}

// A row of width pixels, channels 3 or 4, to R G B drawn over black.
void overBlack(const uint8_t *in, uint8_t *rgb, uint32_t width, int channels) {
    for (uint32_t x = 0; x < width; ++x, in += channels, rgb += 3) {
        const uint32_t alpha = channels == 4 ? in[3] : 255;
        for (int c = 0; c < 3; ++c) rgb[c] = uint8_t((in[c] * alpha + 127) / 255);
    }
}

// Reads the rows into the scaler, the whole picture first when interlaced;
// false when the memory for that is refused.
bool readRows(png_structp png, png_infop info, PngWork &work) {
    const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const int channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    work.rgb.reset(new (std::nothrow) uint8_t[size_t(width) * 3]);
    work.pixels.reset(new (std::nothrow) uint8_t[rowBytes * (interlaced ? height : 1)]);
    if (interlaced) work.rows.reset(new (std::nothrow) png_bytep[height]);
    if (!work.rgb || !work.pixels || (interlaced && !work.rows)) return false;
    if (interlaced) {
        for (uint32_t y = 0; y < height; ++y) work.rows[y] = work.pixels.get() + y * rowBytes;
        png_read_image(png, work.rows.get());
    }
    for (uint32_t y = 0; y < height && !work.scaler->complete(); ++y) {
        uint8_t *row = interlaced ? work.rows[y] : work.pixels.get();
        if (!interlaced) png_read_row(png, row, nullptr);
        overBlack(row, work.rgb.get(), width, channels);
        work.scaler->addRow(work.rgb.get());
    }
    return true;
}

// Decodes into work.scaler; false with work.refusal set when the file is
// refused, false with it empty when the file breaks off or is corrupt.
bool decodePng(const PhotoSource &source, PngWork &work) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, warnQuietly);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        if (png) png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, source.file);
    // Every ancillary chunk but tRNS skipped unread, as for the archive's
    // images: a broken one could claim gigabytes.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    const char *refusal = photoSizeRefusal(width, height, source.fileBytes);
    const bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    // Four bytes a pixel at the most, once expanded.
    if (!refusal && interlaced && uint64_t(width) * height * 4 > PHOTO_PIXEL_BUDGET.wholeBytes) refusal = "too large";
    const int channels = refusal ? 0 : expandPngToRgb(png, info);
    if (!refusal && (channels != 3 && channels != 4)) refusal = PHOTO_CORRUPT;
    if (!refusal) {
        const PhotoPlacement placement = photoPlacement(width, height, 1, source.side, source.fit);
        if (!startScaler(work, width, height, placement, 1, source.side) || !readRows(png, info, work)) {
            refusal = PHOTO_NO_MEMORY;
        }
    }
    if (refusal) work.refusal = refusal;
    png_destroy_read_struct(&png, &info, nullptr);
    return !refusal;
}

}  // namespace

Image *decodePhotoPng(const PhotoSource &source, std::string &failure) {
    PngWork work;
    const bool decoded = decodePng(source, work);
    return photoResult(decoded, work, failure);
}
