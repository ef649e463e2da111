#pragma once
// The viewer's own files (photographs, pictures, music, text), read whole.
// Any thread.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the file at path into bytes, at most maxBytes of it. False, with
// failure saying why in a few words ("No such file or directory", "a
// folder", "larger than N bytes"), when it cannot be read whole.
bool readFileBytes(const std::string &path, std::vector<uint8_t> &bytes, std::string &failure,
                   size_t maxBytes = size_t(1) << 31);
