// loadPhotoFile: a first, plain version: the file read whole, decoded by the
// archive's decoders, and sampled into the square.
#include "assets/photo_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "assets/image_decoding.h"

Image *loadPhotoFile(const std::string &path, uint32_t side, PhotoFit fit, std::string &failure) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        failure = "cannot be read";
        return nullptr;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::unique_ptr<Image> decoded;
    if (bytes.size() > 3 && bytes[0] == 0xFF && bytes[1] == 0xD8) {
        decoded.reset(decodeJpegBytes(bytes.data(), bytes.size(), JpegLayout::OpaqueRgba));
    } else if (bytes.size() > 8 && bytes[0] == 0x89 && bytes[1] == 'P') {
        decoded.reset(decodePngBytes(bytes.data(), bytes.size()));
    } else {
        failure = "not a JPEG or PNG image";
        return nullptr;
    }
    if (!decoded) {
        failure = "corrupt or cut short";
        return nullptr;
    }
    const uint32_t width = decoded->imageWidth, height = decoded->imageHeight;
    const uint32_t channels = decoded->hasAlpha ? 4 : 3;
    // Nearest sampling into the square: the scale that fits (or fills).
    const double scale = fit == PhotoFit::Inside ? std::min(double(side) / width, double(side) / height)
                                                 : std::max(double(side) / width, double(side) / height);
    const double shownWidth = width * scale, shownHeight = height * scale;
    const double left = (side - shownWidth) / 2, bottom = (side - shownHeight) / 2;
    std::unique_ptr<uint8_t[]> square(new uint8_t[size_t(side) * side * 4]());
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            uint8_t *out = &square[(size_t(y) * side + x) * 4];
            out[3] = 255;
            const double sx = (x + 0.5 - left) / scale, sy = (y + 0.5 - bottom) / scale;
            if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
            const uint8_t *in = &decoded->pixels[(size_t(sy) * decoded->textureWidth + size_t(sx)) * channels];
            const uint32_t alpha = channels == 4 ? in[3] : 255;
            for (int c = 0; c < 3; ++c) out[c] = uint8_t(in[c] * alpha / 255);
        }
    }
    return newImage(side, side, 1, std::move(square));
}
