#pragma once
// Frames saved as PNG files, as a screenshot shows them: opaque RGB, top row
// first in the file.
#include <cstdint>
#include <string>

// Writes the frame (width x height pixels, R G B A, bottom row first, as the
// GL framebuffer is read; alpha is dropped) to path. False, with libpng's
// reason in error, when the file cannot be written.
bool savePngFrame(const std::string &path, const uint8_t *rgba, int width, int height, std::string &error);
