// Decoding image files for tests, and uploading what they decode.
#include "tests/support/image_files.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace {

// The file's bytes; false when it cannot be read.
bool readFile(const std::string &path, std::vector<uint8_t> &bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::unique_ptr<Image> decodePngFile(const std::string &path) {
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes)) return nullptr;
    return std::unique_ptr<Image>(decodePngBytes(bytes.data(), bytes.size()));
}

std::unique_ptr<Image> decodeJpegFile(const std::string &path, JpegLayout layout) {
    std::vector<uint8_t> bytes;
    if (!readFile(path, bytes)) return nullptr;
    return std::unique_ptr<Image>(decodeJpegBytes(bytes.data(), bytes.size(), layout));
}

std::unique_ptr<Texture> uploadNewTexture(Image &image) {
    auto texture = std::make_unique<Texture>();
    uploadImage(image, *texture);
    return texture;
}
