#pragma once
// The one EXIF tag a photograph's loader needs: which way up the picture is.
// Read by hand from the APP1 segment's bytes, each read checked against the
// segment's end, nothing allocated.
#include <cstddef>
#include <cstdint>

// The orientation (1 .. 8, as EXIF numbers them: 1 as stored, 2 mirrored
// left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored
// along the top-left to bottom-right diagonal, 6 to be turned a quarter
// clockwise, 7 mirrored along the other diagonal, 8 to be turned a quarter
// anticlockwise) that an APP1 segment's data (from "Exif\0\0" on, size bytes)
// gives in its first image directory; 1 for anything else: another segment,
// a broken or cut directory, a missing tag or a value outside 1 .. 8.
int exifOrientation(const uint8_t *segment, size_t size);
