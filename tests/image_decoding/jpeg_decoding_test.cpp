// The JPEG decoder against Debian's own cjpeg and djpeg: files cjpeg makes (baseline
// and progressive, colour and grey) decode to exactly the bytes djpeg gives,
// bottom row first; cut or foreign files give null without ending the process.
#include "assets/image_decoding.h"
#include "tests/support/image_files.h"

#include "tests/archive/archive_bytes.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <cstdio>     // FILE, needed before jpeglib.h
#include <jpeglib.h>  // writing JPEGs that cjpeg cannot make (CMYK, oversized)

#include <sstream>

namespace {

struct Pnm {
    uint32_t width = 0, height = 0;
    int channels = 0;           // 1 grey, 3 colour
    std::vector<uint8_t> rows;  // top row first, as in PNM
};

// A binary PGM or PPM as djpeg writes it.
Pnm parsePnm(const std::string &bytes) {
    Pnm image;
    std::istringstream in(bytes);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();  // the single whitespace before the samples
    image.channels = magic == "P5" ? 1 : 3;
    EXPECT_TRUE((magic == "P5" || magic == "P6") && maxValue == 255) << magic;
    size_t offset = size_t(in.tellg());
    image.rows.assign(bytes.begin() + offset, bytes.end());
    EXPECT_EQ(image.rows.size(), size_t(image.width) * image.height * image.channels);
    return image;
}

// A photo-like test picture: gradients, edges and texture, odd-sized so the
// last block row and column are partial.
std::string makePpm(uint32_t width, uint32_t height) {
    std::string out = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            out.push_back(char(x * 255 / width));
            out.push_back(char((x / 7 + y / 5) % 2 ? 200 : 40));
            out.push_back(char((x * x + y * 3) % 256));
        }
    }
    return out;
}

class JpegDecodingTest : public ::testing::Test {
protected:
    GLTestContext gl{4, 4};
    ScopedTempDir temp;

    void SetUp() override { ASSERT_TRUE(gl.ok()); }

    std::string file(const std::string &name) const { return temp.path() + "/" + name; }

    // cjpeg's output for the test picture with these options.
    std::string cjpeg(const std::string &options) {
        writeWholeFile(file("in.ppm"), makePpm(83, 61));
        std::string command = "cjpeg -quality 85 " + options + " -outfile " + file("out.jpg") +
                              " " + file("in.ppm");
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return readWholeFile(file("out.jpg"));
    }

    Pnm djpeg(const std::string &jpeg) {
        writeWholeFile(file("ref.jpg"), jpeg);
        std::string command = "djpeg -pnm -outfile " + file("ref.pnm") + " " + file("ref.jpg");
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return parsePnm(readWholeFile(file("ref.pnm")));
    }

    std::unique_ptr<Image> loadBytes(const std::string &bytes) {
        writeWholeFile(file("image.jpg"), bytes);
        return decodeJpegFile(file("image.jpg"));
    }
    std::unique_ptr<Image> decodeRgba(const std::string &bytes) {
        writeWholeFile(file("image.jpg"), bytes);
        return decodeJpegFile(file("image.jpg"), JpegLayout::OpaqueRgba);
    }
};

TEST_F(JpegDecodingTest, DecodesToDjpegsBytesBottomRowFirst) {
    const std::pair<const char *, int> kinds[] = {
        {"", 3},                        // baseline colour, 2 x 2 chroma subsampling
        {"-progressive", 3},            // the kind the photographs are
        {"-sample 1x1 -optimize", 3},   // full-resolution chroma
        {"-grayscale", 1},
        {"-grayscale -progressive", 1},
    };
    for (const auto &[options, channels] : kinds) {
        SCOPED_TRACE(options);
        const std::string jpeg = cjpeg(options);
        const Pnm reference = djpeg(jpeg);
        ASSERT_EQ(reference.channels, channels);
        // Both layouts: R G B, and R G B A with alpha 255.
        std::unique_ptr<Image> layouts[] = {loadBytes(jpeg), decodeRgba(jpeg)};
        for (const std::unique_ptr<Image> &t : layouts) {
            ASSERT_NE(t, nullptr);
            const int bytesPerPixel = t->hasAlpha ? 4 : 3;
            EXPECT_TRUE(t->opaque);
            ASSERT_EQ(t->imageWidth, 83u);
            ASSERT_EQ(t->imageHeight, 61u);
            EXPECT_EQ(t->textureWidth, 128u);
            EXPECT_EQ(t->textureHeight, 64u);
            size_t wrong = 0;
            for (uint32_t y = 0; y < 61; ++y) {
                const uint8_t *ours = &t->pixels[size_t(y) * 128 * bytesPerPixel];
                const uint8_t *theirs = &reference.rows[size_t(60 - y) * 83 * channels];
                for (uint32_t x = 0; x < 83; ++x) {
                    for (int c = 0; c < 3; ++c) {
                        wrong += ours[x * bytesPerPixel + c] != theirs[x * channels + (channels == 3 ? c : 0)];
                    }
                    if (bytesPerPixel == 4) wrong += ours[x * 4 + 3] != 255;
                }
            }
            EXPECT_EQ(wrong, 0u) << bytesPerPixel << " bytes a pixel";
        }
    }
}

TEST_F(JpegDecodingTest, CutOrForeignFilesGiveNull) {
    for (const char *options : {"", "-progressive"}) {
        SCOPED_TRACE(options);
        const std::string jpeg = cjpeg(options);
        ASSERT_NE(loadBytes(jpeg), nullptr);
        EXPECT_EQ(loadBytes(jpeg.substr(0, jpeg.size() / 2)), nullptr) << "cut inside the data";
        EXPECT_EQ(loadBytes(jpeg.substr(0, jpeg.size() - 40)), nullptr) << "cut near the end";
        EXPECT_EQ(loadBytes(jpeg.substr(0, 100)), nullptr) << "cut inside the header";
    }
    EXPECT_EQ(loadBytes(""), nullptr);
    EXPECT_EQ(loadBytes(binaryBytes(5000, 4)), nullptr);
    EXPECT_EQ(loadBytes(std::string("\xff\xd8") + binaryBytes(5000, 4)), nullptr)
        << "a JPEG start followed by garbage";
    EXPECT_EQ(loadBytes(readWholeFile(DORIROVA_SOURCE_DIR
                                      "/tests/data/pngsuite/png/basn2c08.png")),
              nullptr);
    EXPECT_EQ(decodeJpegFile(file("absent.jpg")), nullptr);
}

// A JPEG written here with libjpeg: width x height, the given colour space.
std::string encodeJpeg(uint32_t width, uint32_t height, J_COLOR_SPACE space, int components) {
    Bytes row(size_t(width) * components);
    for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i * 11);
    const Bytes file = encodeJpegRows(int(width), int(height), components, space, row);
    return std::string(file.begin(), file.end());
}

TEST_F(JpegDecodingTest, OtherComponentCountsGiveNull) {
    EXPECT_NE(loadBytes(encodeJpeg(16, 16, JCS_RGB, 3)), nullptr);
    EXPECT_EQ(loadBytes(encodeJpeg(16, 16, JCS_CMYK, 4)), nullptr);
}

TEST_F(JpegDecodingTest, WidthOrHeightAboveTheLimitGivesNull) {
    EXPECT_NE(loadBytes(encodeJpeg(16384, 8, JCS_GRAYSCALE, 1)), nullptr);
    EXPECT_EQ(loadBytes(encodeJpeg(16385, 8, JCS_GRAYSCALE, 1)), nullptr);
    EXPECT_EQ(loadBytes(encodeJpeg(8, 16385, JCS_GRAYSCALE, 1)), nullptr);
}

}  // namespace
