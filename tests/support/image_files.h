#pragma once
// Images from files, for tests: the program reads its images from its
// archive, in memory; tests decode files through the same decoders.
#include <memory>
#include <string>

#include "assets/image_decoding.h"
#include "assets/texture.h"

// The image in the PNG or JPEG file at path, or null when the file cannot be
// read or decoded.
std::unique_ptr<Image> decodePngFile(const std::string &path);
std::unique_ptr<Image> decodeJpegFile(const std::string &path, JpegLayout layout = JpegLayout::Rgb);

// A new Texture of image, uploaded as the asset store uploads an image that
// arrived (GL thread): the image keeps its shape alone.
std::unique_ptr<Texture> uploadNewTexture(Image &image);
