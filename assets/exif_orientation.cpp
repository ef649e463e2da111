// exifOrientation: the TIFF structure inside an Exif segment, as far as the
// first directory's orientation entry.
#include "assets/exif_orientation.h"

#include <cstring>

// Reads 16- and 32-bit numbers in the byte order the TIFF header names.
struct TiffBytes {
    const uint8_t *data;
    size_t size;
    bool bigEndian;

    uint32_t at16(size_t offset) const {
        const uint8_t *p = data + offset;
        return bigEndian ? uint32_t(p[0] << 8 | p[1]) : uint32_t(p[1] << 8 | p[0]);
    }
    uint32_t at32(size_t offset) const {
        return bigEndian ? at16(offset) << 16 | at16(offset + 2) : at16(offset + 2) << 16 | at16(offset);
    }
};

int exifOrientation(const uint8_t *segment, size_t size) {
    constexpr size_t EXIF_HEADER = 6;            // "Exif\0\0"
    constexpr uint32_t ORIENTATION_TAG = 0x0112;
    constexpr uint32_t SHORT_TYPE = 3;
    constexpr size_t ENTRY_BYTES = 12;           // tag, type, count, value
    if (!segment || size < EXIF_HEADER + 8 || std::memcmp(segment, "Exif\0\0", EXIF_HEADER) != 0) return 1;
    const uint8_t *tiff = segment + EXIF_HEADER;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I', big = tiff[0] == 'M' && tiff[1] == 'M';
    const TiffBytes bytes{tiff, size - EXIF_HEADER, big};
    if ((!little && !big) || bytes.at16(2) != 42) return 1;
    const size_t directory = bytes.at32(4);
    if (directory > bytes.size - 2) return 1;
    const size_t entries = bytes.at16(directory);
    for (size_t k = 0; k < entries; ++k) {
        const size_t entry = directory + 2 + k * ENTRY_BYTES;
        if (entry + ENTRY_BYTES > bytes.size) break;
        if (bytes.at16(entry) != ORIENTATION_TAG) continue;
        if (bytes.at16(entry + 2) != SHORT_TYPE || bytes.at32(entry + 4) != 1) return 1;
        const uint32_t orientation = bytes.at16(entry + 8);
        return orientation >= 1 && orientation <= 8 ? int(orientation) : 1;
    }
    return 1;
}
