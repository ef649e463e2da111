// decodePhotoJpeg: a photograph's JPEG file, decoded by libjpeg at the
// smallest DCT scale that still gives the square all the detail it can show,
// one scanline at a time into the scaler, turned as its EXIF tag says.
#include <jerror.h>  // ERREXIT and its message codes

#include "assets/exif_orientation.h"
#include "assets/jpeg_errors.h"
#include "assets/photo_decoding.h"

namespace {

// No messages: the loader names the file and says why in one line.
void keepQuiet(j_common_ptr) {}

// The orientation in the first Exif segment that gives one; 1 without.
int markerOrientation(const jpeg_decompress_struct &decoder) {
    for (jpeg_saved_marker_ptr marker = decoder.marker_list; marker; marker = marker->next) {
        const int orientation =
            marker->marker == JPEG_APP0 + 1 ? exifOrientation(marker->data, marker->data_length) : 1;
        if (orientation != 1) return orientation;
    }
    return 1;
}

// Sets the smallest scale n/8 at which the decoded picture still has at least
// one pixel for each of the placement's, in both directions.
void chooseScale(jpeg_decompress_struct &decoder, const PhotoPlacement &placement) {
    decoder.scale_denom = 8;
    for (unsigned eighths = 1; eighths <= 8; ++eighths) {
        decoder.scale_num = eighths;
        jpeg_calc_output_dimensions(&decoder);
        if (decoder.output_width * placement.shownX >= placement.width &&
            decoder.output_height * placement.shownY >= placement.height) {
            return;
        }
    }
}

// C M Y K samples to R G B, in place (the R G B in the first three quarters).
// Adobe's files, nearly all CMYK JPEGs, store every ink inverted (255: none).
void cmykToRgb(uint8_t *samples, uint32_t width, bool inverted) {
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t *cmyk = samples + size_t(x) * 4;
        const uint32_t black = inverted ? cmyk[3] : 255 - cmyk[3];
        uint8_t rgb[3];
        for (int c = 0; c < 3; ++c) rgb[c] = uint8_t(((inverted ? cmyk[c] : 255 - cmyk[c]) * black + 127) / 255);
        for (int c = 0; c < 3; ++c) samples[size_t(x) * 3 + c] = rgb[c];
    }
}

// The memory libjpeg takes for every coefficient of the picture, which it
// keeps (zeroed first) to decode a file of several scans: a progressive one.
uint64_t coefficientBytes(const jpeg_decompress_struct &decoder) {
    uint64_t bytes = 0;
    for (int c = 0; c < decoder.num_components; ++c) {
        const jpeg_component_info &component = decoder.comp_info[c];
        bytes += uint64_t(component.width_in_blocks) * component.height_in_blocks * DCTSIZE2 * sizeof(JCOEF);
    }
    return bytes;
}

// Reads every scanline the scaler needs into it.
void readScanlines(jpeg_decompress_struct &decoder, PhotoScaler &scaler) {
    const bool cmyk = decoder.out_color_space == JCS_CMYK;
    JSAMPARRAY row = (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder), JPOOL_IMAGE,
                                                  decoder.output_width * decoder.output_components, 1);
    while (decoder.output_scanline < decoder.output_height && !scaler.complete()) {
        if (jpeg_read_scanlines(&decoder, row, 1) != 1) ERREXIT(&decoder, JERR_INPUT_EMPTY);
        if (cmyk) cmykToRgb(row[0], decoder.output_width, decoder.saw_Adobe_marker);
        scaler.addRow(row[0]);
    }
}

// Decodes into work.scaler; false with work.refusal set when the file is
// refused, false with it empty when the file breaks off or is corrupt.
bool decodeJpeg(const PhotoSource &source, PhotoWork &work) {
    jpeg_decompress_struct decoder;
    JpegErrorManager errors;
    useJpegErrors(decoder, errors);
    errors.standard.output_message = keepQuiet;
    if (setjmp(errors.failure)) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    jpeg_create_decompress(&decoder);
    jpeg_stdio_src(&decoder, source.file);
    jpeg_save_markers(&decoder, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&decoder, TRUE);
    const char *refusal = photoSizeRefusal(decoder.image_width, decoder.image_height, source.fileBytes);
    const int components = decoder.num_components;
    if (!refusal && components != 1 && components != 3 && components != 4) refusal = "colours of an unknown kind";
    if (!refusal && jpeg_has_multiple_scans(&decoder) && coefficientBytes(decoder) > PHOTO_PIXEL_BUDGET.wholeBytes) {
        refusal = "too large";
    }
    if (refusal) {
        work.refusal = refusal;
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    const int orientation = markerOrientation(decoder);
    const PhotoPlacement placement =
        photoPlacement(decoder.image_width, decoder.image_height, orientation, source.side, source.fit);
    chooseScale(decoder, placement);
    // Grey and colour come as R G B; CMYK and YCCK as C M Y K, turned to R G B here.
    decoder.out_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&decoder);
    if (decoder.output_components != (components == 4 ? 4 : 3)) ERREXIT(&decoder, JERR_CONVERSION_NOTIMPL);
    if (!startScaler(work, decoder.output_width, decoder.output_height, placement, orientation, source.side)) {
        jpeg_destroy_decompress(&decoder);
        return false;
    }
    readScanlines(decoder, *work.scaler);
    jpeg_destroy_decompress(&decoder);
    return true;
}

}  // namespace

Image *decodePhotoJpeg(const PhotoSource &source, std::string &failure) {
    PhotoWork work;
    const bool decoded = decodeJpeg(source, work);
    return photoResult(decoded, work, failure);
}
