#pragma once
// Stand-ins for assets the shipped archive does not hold yet, of the shipped
// kind and size, so that start-up and drawing cost what they will cost.
#include <cstdint>
#include <functional>
#include <string>

// A 1024 x 1024 progressive 3-component JPEG (quality 88) of photo-like
// content: smooth shapes, fine detail and grain at many scales. Distinct
// seeds give distinct pictures. About 0.15 s to make.
std::string makeStandInPhoto(uint32_t seed);

// The same content at width x height, baseline (as cameras write) or progressive.
std::string makeStandInPhoto(uint32_t seed, uint32_t width, uint32_t height, bool progressive);

// A JPEG (3 components) of width x height R G B pixels, row y (top first)
// at rowAt(y), of the given quality, progressive or baseline.
std::string encodeStandInJpeg(uint32_t width, uint32_t height, int quality, bool progressive,
                              const std::function<const uint8_t *(uint32_t)> &rowAt);

// A width x height RGBA PNG, one byte per channel, with a soft pattern and
// partly transparent texels.
std::string makeStandInGraphic(uint32_t width, uint32_t height, uint32_t seed);
