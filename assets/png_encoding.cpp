#include "assets/png_encoding.h"

#include <png.h>   // PNG encoding (the simplified write API)

#include <vector>

bool savePngFrame(const std::string &path, const uint8_t *rgba, int width, int height, std::string &error) {
    if (!rgba || width < 1 || height < 1) {
        error = "no frame";
        return false;
    }
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    for (size_t i = 0, n = size_t(width) * size_t(height); i < n; ++i) {
        rgb[i * 3] = rgba[i * 4];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.format = PNG_FORMAT_RGB;
    // A negative row stride starts at the last row: the file gets the top row first.
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), -width * 3, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}
