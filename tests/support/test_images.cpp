#include "tests/support/test_images.h"

#include <png.h>   // encoding test PNGs
#include <cstdio>
#include <jpeglib.h>  // encoding test JPEGs

#include "assets/archive_format.h"
#include "assets/asset_store.h"
#include "platform/embedded_resources.h"

Bytes encodePng(int width, int height, const Bytes &rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    Bytes file(size);
    png_image_write_to_memory(&image, file.data(), &size, 0, rgba.data(), 0, nullptr);
    file.resize(size);
    return file;
}

// Compresses height rows, row y taken from rowAt(y), with the settings given;
// storedSpace -1 keeps libjpeg's choice for colourSpace; app1 (if any) is
// written as an APP1 segment.
template <typename RowAt>
static Bytes compressJpeg(int width, int height, int components, int colourSpace, bool progressive, RowAt rowAt,
                          int storedSpace = -1, const Bytes &app1 = {}) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = J_COLOR_SPACE(colourSpace);
    jpeg_set_defaults(&cinfo);
    if (storedSpace >= 0) jpeg_set_colorspace(&cinfo, J_COLOR_SPACE(storedSpace));
    if (progressive || storedSpace >= 0) jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.empty()) jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(), unsigned(app1.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rowAt(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes file(out, out + outSize);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return file;
}

Bytes encodeJpeg(int width, int height, const Bytes &rgb) {
    return compressJpeg(width, height, 3, JCS_RGB, true, [&](int y) { return &rgb[size_t(y) * width * 3]; });
}

Bytes encodeJpegRows(int width, int height, int components, int colourSpace, const Bytes &row) {
    return compressJpeg(width, height, components, colourSpace, false, [&](int) { return row.data(); });
}

Bytes encodeJpegPixels(int width, int height, int components, int givenSpace, int storedSpace,
                       const std::function<void(int, int, uint8_t *)> &pixel, const Bytes &app1) {
    Bytes row(size_t(width) * components);
    return compressJpeg(width, height, components, givenSpace, false, [&](int y) {
        for (int x = 0; x < width; ++x) pixel(x, y, &row[size_t(x) * components]);
        return row.data();
    }, storedSpace, app1);
}

Bytes packArchive(const std::vector<std::pair<std::string, Bytes>> &entries) {
    std::vector<ArchivePart> parts;
    for (const auto &[name, data] : entries) {
        parts.push_back({name, {reinterpret_cast<const char *>(data.data()), data.size()}});
    }
    const std::string archive = archiveBytes(parts);
    return Bytes(archive.begin(), archive.end());
}

int loadTextureNow(const std::string &fileName) {
    AssetStore *store = AssetStore::instance();
    const int id = store->requestTexture(fileName, LoadWhen::FirstFrame);
    store->waitForFirstFrame();
    return id;
}

ScopedArchive::ScopedArchive(Bytes archive) : bytes(std::move(archive)) {
    AssetStore::destroyInstance();
    overrideResource("REZ", 102, bytes.data(), bytes.size());
}

ScopedArchive::~ScopedArchive() {
    AssetStore::destroyInstance();
    overrideResource("REZ", 102, nullptr, 0);
}
