// The PNG decoder against PngSuite, files nobody here wrote: every valid file
// decodes to its size, with three channels or four (four exactly when the
// file has an alpha channel or a transparency chunk), to the pixel values
// libpng's own simplified reader gives; every corrupt file gives null.
#include "assets/image_decoding.h"
#include "tests/support/image_files.h"

#include "tests/archive/archive_bytes.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <png.h>   // the simplified reader (png_image_*) as reference, and writing test files
#include <zlib.h>  // crc32, to patch a header chunk

#include <filesystem>

namespace {

const std::string PNGSUITE = DORIROVA_SOURCE_DIR "/tests/data/pngsuite/png";

struct Chunk {
    std::string type;
    std::string data;
};

// The chunks of a PNG stream, signature skipped, CRCs not checked.
std::vector<Chunk> readChunks(const std::string &png) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const auto *p = reinterpret_cast<const unsigned char *>(png.data() + at);
        uint32_t length = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (at + 12 + length > png.size()) break;
        chunks.push_back({png.substr(at + 4, 4), png.substr(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

// A copy without the colour-space chunks, so that the simplified reader takes
// the samples as they stand, as the decoder does (it applies no gamma).
std::string withoutColourSpace(const std::string &png) {
    std::string out = png.substr(0, 8);
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const auto *p = reinterpret_cast<const unsigned char *>(png.data() + at);
        uint32_t length = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        std::string type = png.substr(at + 4, 4);
        if (type != "gAMA" && type != "sRGB" && type != "iCCP" && type != "cHRM") {
            out += png.substr(at, 12 + length);
        }
        at += 12 + length;
    }
    return out;
}

struct Reference {
    uint32_t width = 0, height = 0;
    int channels = 0;
    int bitDepth = 0;
    std::vector<uint8_t> pixels;  // 8-bit sources: R G B (A), bottom row first
    std::vector<uint16_t> wide;   // 16-bit sources: the same, alpha premultiplied
};

// The file's own header, and libpng's simplified reading of it. 16-bit files
// are read as 16-bit linear samples: the simplified reader's 16-to-8 bit path
// garbles interlaced files, and reading them whole lets the test check that
// decoding keeps exactly the high byte.
Reference referenceDecode(const std::string &png) {
    Reference ref;
    std::vector<Chunk> chunks = readChunks(png);
    const auto &ihdr = chunks.at(0).data;
    ref.bitDepth = uint8_t(ihdr[8]);
    const int colourType = uint8_t(ihdr[9]);
    bool transparency = false;
    for (const Chunk &c : chunks) transparency = transparency || c.type == "tRNS";
    ref.channels = (colourType & PNG_COLOR_MASK_ALPHA) || transparency ? 4 : 3;

    std::string plain = withoutColourSpace(png);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_memory(&image, plain.data(), plain.size()));
    image.format = ref.channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    if (ref.bitDepth == 16) image.format |= PNG_FORMAT_FLAG_LINEAR;
    ref.width = image.width;
    ref.height = image.height;
    const int stride = int(PNG_IMAGE_ROW_STRIDE(image));
    void *buffer;
    if (ref.bitDepth == 16) {
        ref.wide.resize(PNG_IMAGE_SIZE(image) / 2);
        buffer = ref.wide.data();
    } else {
        ref.pixels.resize(PNG_IMAGE_SIZE(image));
        buffer = ref.pixels.data();
    }
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, buffer, -stride, nullptr)) << image.message;
    png_image_free(&image);
    return ref;
}

// Whether the decoded pixel (one byte per channel) agrees with the reference's.
bool samePixel(const Reference &ref, const uint8_t *ours, size_t index) {
    const int n = ref.channels;
    if (ref.bitDepth != 16) return std::equal(ours, ours + n, &ref.pixels[index * n]);
    const uint16_t *theirs = &ref.wide[index * n];
    const double alpha = n == 4 ? theirs[3] : 65535.0;
    if (n == 4 && ours[3] != theirs[3] >> 8) return false;
    if (alpha == 0) return true;  // premultiplied: the colour is gone
    for (int c = 0; c < 3; ++c) {
        // The sample lies in this range, given the rounded premultiplied value.
        const double low = (theirs[c] - 1) * 65535.0 / alpha, high = (theirs[c] + 1) * 65535.0 / alpha;
        if (ours[c] * 256.0 + 255 < low || ours[c] * 256.0 > high) return false;
        if (alpha == 65535 && ours[c] != theirs[c] >> 8) return false;
    }
    return true;
}

std::vector<std::string> pngSuiteFiles(bool corrupt) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(PNGSUITE)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && (name[0] == 'x') == corrupt) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PngDecodingTest : public ::testing::Test {
protected:
    GLTestContext gl{4, 4};
    ScopedTempDir temp;

    void SetUp() override { ASSERT_TRUE(gl.ok()); }

    std::unique_ptr<Image> loadBytes(const std::string &bytes) {
        std::string path = temp.path() + "/image.png";
        writeWholeFile(path, bytes);
        return decodePngFile(path);
    }
};

TEST_F(PngDecodingTest, EveryValidPngSuiteFileDecodesLikeLibpngReadsIt) {
    std::vector<std::string> names = pngSuiteFiles(false);
    ASSERT_GE(names.size(), 150u);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        const std::string bytes = readWholeFile(PNGSUITE + "/" + name);
        Reference ref = referenceDecode(bytes);
        std::unique_ptr<Image> t = decodePngFile(PNGSUITE + "/" + name);
        ASSERT_NE(t, nullptr);
        ASSERT_EQ(t->imageWidth, ref.width);
        ASSERT_EQ(t->imageHeight, ref.height);
        ASSERT_EQ(t->hasAlpha, ref.channels == 4 ? 1 : 0);
        size_t wrong = 0;
        bool opaque = true;   // as the reference's alpha says
        for (uint32_t y = 0; y < ref.height; ++y) {
            for (uint32_t x = 0; x < ref.width; ++x) {
                const uint8_t *ours = &t->pixels[(size_t(y) * t->textureWidth + x) * ref.channels];
                const size_t index = size_t(y) * ref.width + x;
                wrong += !samePixel(ref, ours, index);
                if (ref.channels == 4) {
                    opaque = opaque && (ref.bitDepth == 16 ? ref.wide[index * 4 + 3] >> 8 : ref.pixels[index * 4 + 3]) == 255;
                }
            }
        }
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(t->opaque, opaque);
    }
}

TEST_F(PngDecodingTest, EveryCorruptPngSuiteFileGivesNull) {
    std::vector<std::string> names = pngSuiteFiles(true);
    ASSERT_GE(names.size(), 10u);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(decodePngFile(PNGSUITE + "/" + name), nullptr);
    }
}

// A PNG made here by libpng's simplified writer.
std::string encodePng(uint32_t width, uint32_t height, png_uint_32 format) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 37);
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
    std::string out(size, '\0');
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
    return out;
}

// The same PNG with another width in its header (and the header's CRC redone).
std::string withWidth(std::string png, uint32_t width) {
    for (int i = 0; i < 4; ++i) png[16 + i] = char(width >> (24 - 8 * i));
    uLong crc = crc32(0, reinterpret_cast<const Bytef *>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

TEST_F(PngDecodingTest, WidthOrHeightOfZeroOrAboveTheLimitGivesNull) {
    EXPECT_NE(loadBytes(encodePng(16384, 1, PNG_FORMAT_GRAY)), nullptr);
    EXPECT_EQ(loadBytes(encodePng(16385, 1, PNG_FORMAT_GRAY)), nullptr);
    EXPECT_EQ(loadBytes(encodePng(1, 16385, PNG_FORMAT_GRAY)), nullptr);
    const std::string small = encodePng(4, 4, PNG_FORMAT_RGBA);
    EXPECT_NE(loadBytes(withWidth(small, 4)), nullptr) << "the patch itself keeps the file valid";
    EXPECT_EQ(loadBytes(withWidth(small, 0)), nullptr);
    // A header that claims a giant image over a few bytes of data.
    EXPECT_EQ(loadBytes(withWidth(small, 0x7fffffff)), nullptr);
}

TEST_F(PngDecodingTest, WhatIsNotAWholePngGivesNull) {
    const std::string valid = encodePng(64, 64, PNG_FORMAT_RGBA);
    ASSERT_NE(loadBytes(valid), nullptr);
    EXPECT_EQ(loadBytes(""), nullptr);
    EXPECT_EQ(loadBytes(valid.substr(0, 7)), nullptr);
    EXPECT_EQ(loadBytes(valid.substr(0, 40)), nullptr) << "cut inside the header";
    EXPECT_EQ(loadBytes(valid.substr(0, valid.size() / 2)), nullptr) << "cut inside the data";
    EXPECT_EQ(loadBytes(std::string("\xff\xd8\xff\xe0\0\x10JFIF\0", 11) + valid.substr(11)),
              nullptr) << "JPEG start";
    EXPECT_EQ(decodePngFile(temp.path() + "/absent.png"), nullptr);
}

}  // namespace
