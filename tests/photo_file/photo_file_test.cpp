// The photograph file loader: JPEG and PNG files of any shape, colour model
// and orientation come out as the slideshow's opaque square, fitted or
// filled, the right way up; files it cannot show are refused with a reason.
#include "assets/photo_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <cstdio>     // FILE, needed before jpeglib.h
#include <jpeglib.h>  // colour space names, for JPEGs of every colour model
#include <png.h>      // writing PNGs of every colour type

#include <fstream>
#include <functional>
#include <memory>

namespace {

struct Rgb {
    int r, g, b;
};
constexpr Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255}, BLACK{0, 0, 0};

// A colour JPEG whose pixel (x, y) is colourAt(x, y).
Bytes colourJpeg(int width, int height, const std::function<Rgb(int, int)> &colourAt, const Bytes &app1 = {}) {
    return encodeJpegPixels(width, height, 3, JCS_RGB, JCS_YCbCr, [&](int x, int y, uint8_t *out) {
        const Rgb colour = colourAt(x, y);
        out[0] = uint8_t(colour.r), out[1] = uint8_t(colour.g), out[2] = uint8_t(colour.b);
    }, app1);
}

// A PNG of the given colour type and bit depth from its packed rows, top
// first; palette and transparency chunk as given.
Bytes pngOf(int width, int height, int bitDepth, int colourType, const Bytes &rows,
            const std::vector<png_color> &palette = {}, const Bytes &transparency = {}, bool interlaced = false) {
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, [](png_structp p, png_bytep data, size_t length) {
        auto *out = static_cast<Bytes *>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + length);
    }, nullptr);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!transparency.empty()) png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / height;
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y) pointers.push_back(const_cast<png_bytep>(&rows[y * rowBytes]));
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

// An Exif APP1 segment holding one orientation entry, in either byte order.
Bytes exifSegment(int orientation, bool bigEndian) {
    Bytes segment = {'E', 'x', 'i', 'f', 0, 0};
    const auto put16 = [&](int v) {
        bigEndian ? segment.insert(segment.end(), {uint8_t(v >> 8), uint8_t(v)})
                  : segment.insert(segment.end(), {uint8_t(v), uint8_t(v >> 8)});
    };
    const auto put32 = [&](int v) { bigEndian ? (put16(v >> 16), put16(v)) : (put16(v), put16(v >> 16)); };
    segment.push_back(bigEndian ? 'M' : 'I');
    segment.push_back(bigEndian ? 'M' : 'I');
    put16(42);
    put32(8);                       // the first directory, right after the header
    put16(1);                       // one entry:
    put16(0x0112), put16(3), put32(1), put16(orientation), put16(0);
    put32(0);                       // no next directory
    return segment;
}

class PhotoFileTest : public ::testing::Test {
protected:
    ScopedTempDir temp;
    std::string failure;

    std::string write(const std::string &name, const Bytes &bytes) {
        const std::string path = temp.path() + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
        return path;
    }
    // The square of the file holding bytes (checked: side x side, opaque).
    std::unique_ptr<Image> load(const Bytes &bytes, uint32_t side = 64, PhotoFit fit = PhotoFit::Inside) {
        failure.clear();
        std::unique_ptr<Image> image(loadPhotoFile(write("photo", bytes), side, fit, failure));
        EXPECT_NE(image, nullptr) << failure;
        if (!image) return image;
        EXPECT_EQ(image->imageWidth, side);
        EXPECT_EQ(image->imageHeight, side);
        EXPECT_TRUE(image->hasAlpha == 1 && image->opaque);
        for (size_t k = 3; k < size_t(side) * side * 4; k += 4) {
            if (image->pixels[k] != 255) {
                ADD_FAILURE() << "alpha " << int(image->pixels[k]) << " at byte " << k;
                break;
            }
        }
        return image;
    }
    // What refusing the file at path says (the loader must give null).
    std::string refusal(const std::string &path) {
        failure.clear();
        std::unique_ptr<Image> image(loadPhotoFile(path, 64, PhotoFit::Inside, failure));
        EXPECT_EQ(image, nullptr);
        return failure;
    }
};

// Pixel (x, y) of a square image, y counted from the top.
Rgb at(const Image &image, uint32_t x, uint32_t y) {
    const uint8_t *p = &image.pixels[((size_t(image.imageHeight) - 1 - y) * image.textureWidth + x) * 4];
    return {p[0], p[1], p[2]};
}

// Within a JPEG's rounding of each other.
::testing::AssertionResult near(Rgb got, Rgb want, int tolerance = 24) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got " << got.r << "," << got.g << "," << got.b << " want " << want.r
                                         << "," << want.g << "," << want.b;
}

// Three bands along the longer side: blue, red, green (left to right, or
// top to bottom).
Rgb band(int along, int length) { return along < length / 3 ? BLUE : along < 2 * length / 3 ? RED : GREEN; }

// Makes a JPEG's frame header claim side x side pixels.
void claimSize(Bytes &jpeg, int side) {
    for (size_t k = 0; k + 8 < jpeg.size(); ++k) {
        if (jpeg[k] == 0xFF && (jpeg[k + 1] == 0xC0 || jpeg[k + 1] == 0xC2)) {   // length and precision, then the sizes
            jpeg[k + 5] = jpeg[k + 7] = uint8_t(side >> 8);
            jpeg[k + 6] = jpeg[k + 8] = uint8_t(side);
            return;
        }
    }
    ADD_FAILURE() << "no frame header";
}

TEST_F(PhotoFileTest, FitsInsideOnBlackOrFillsCuttingBothEnds) {
    const Bytes landscape = colourJpeg(300, 100, [](int x, int) { return band(x, 300); });
    const Bytes portrait = colourJpeg(100, 300, [](int, int y) { return band(y, 300); });
    // Inside: 64 x 21 in the middle, black above and below; every band shows.
    auto wide = load(landscape);
    EXPECT_TRUE(near(at(*wide, 32, 4), BLACK, 0));
    EXPECT_TRUE(near(at(*wide, 32, 59), BLACK, 0));
    EXPECT_TRUE(near(at(*wide, 4, 32), BLUE));
    EXPECT_TRUE(near(at(*wide, 32, 32), RED));
    EXPECT_TRUE(near(at(*wide, 59, 32), GREEN));
    auto tall = load(portrait);
    EXPECT_TRUE(near(at(*tall, 4, 32), BLACK, 0));
    EXPECT_TRUE(near(at(*tall, 59, 32), BLACK, 0));
    EXPECT_TRUE(near(at(*tall, 32, 4), BLUE));
    EXPECT_TRUE(near(at(*tall, 32, 59), GREEN));
    // Fill: the middle third fills the square; both outer bands are cut.
    for (const Bytes &file : {landscape, portrait}) {
        auto filled = load(file, 64, PhotoFit::Fill);
        for (uint32_t corner : {2u, 61u}) {
            EXPECT_TRUE(near(at(*filled, corner, corner), RED));
            EXPECT_TRUE(near(at(*filled, corner, 63 - corner), RED));
        }
    }
    // A picture smaller than the square is enlarged to fit it.
    auto small = load(colourJpeg(32, 16, [](int, int) { return WHITE; }));
    EXPECT_TRUE(near(at(*small, 1, 32), WHITE));
    EXPECT_TRUE(near(at(*small, 62, 32), WHITE));
    EXPECT_TRUE(near(at(*small, 32, 10), BLACK, 0));
}

TEST_F(PhotoFileTest, ShrinksByAreaKeepingTheDetailTheSquareCanShow) {
    // One-pixel black and white checks: each output pixel covers 7.8 x 7.8
    // of them, so every one is mid grey; picking or interpolating source
    // pixels gives black, white or stripes.
    Bytes rows(500 * 500);
    for (size_t k = 0; k < rows.size(); ++k) rows[k] = ((k % 500) + (k / 500)) % 2 ? 255 : 0;
    auto checks = load(pngOf(500, 500, 8, PNG_COLOR_TYPE_GRAY, rows));
    for (uint32_t k : {0u, 13u, 40u, 63u}) EXPECT_TRUE(near(at(*checks, k, 63 - k), {128, 128, 128}, 4));
    // Stripes four pixels wide, one for each pixel of a 256 square: the JPEG
    // must not be decoded smaller than that.
    const Bytes stripes = encodeJpegPixels(1024, 1024, 1, JCS_GRAYSCALE, JCS_GRAYSCALE,
                                 [](int x, int, uint8_t *p) { p[0] = x / 4 % 2 ? 255 : 0; });
    auto striped = load(stripes, 256);
    EXPECT_TRUE(near(at(*striped, 100, 128), BLACK, 40));
    EXPECT_TRUE(near(at(*striped, 101, 128), WHITE, 40));
}

TEST_F(PhotoFileTest, ExifOrientationTurnsEveryPictureTheRightWayUp) {
    // Shown 160 x 80: red top left, green top right, blue bottom left, white
    // bottom right; stored as each orientation keeps it.
    const auto shown = [](int x, int y) { return y < 40 ? (x < 80 ? RED : GREEN) : (x < 80 ? BLUE : WHITE); };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const bool turned = orientation >= 5;
        const int width = turned ? 80 : 160, height = turned ? 160 : 80;
        // Where stored pixel (x, y) is shown.
        const auto stored = [&](int x, int y) {
            const int fx = width - 1 - x, fy = height - 1 - y;
            switch (orientation) {
                case 2: return shown(fx, y);
                case 3: return shown(fx, fy);
                case 4: return shown(x, fy);
                case 5: return shown(y, x);
                case 6: return shown(fy, x);
                case 7: return shown(fy, fx);
                case 8: return shown(y, fx);
                default: return shown(x, y);
            }
        };
        auto image = load(colourJpeg(width, height, stored, exifSegment(orientation, orientation % 2 == 0)));
        EXPECT_TRUE(near(at(*image, 32, 4), BLACK, 0));   // landscape once turned: black above
        EXPECT_TRUE(near(at(*image, 16, 24), RED));
        EXPECT_TRUE(near(at(*image, 48, 24), GREEN));
        EXPECT_TRUE(near(at(*image, 16, 40), BLUE));
        EXPECT_TRUE(near(at(*image, 48, 40), WHITE));
    }
    // A directory that points past the segment's end is no orientation.
    Bytes cut = exifSegment(6, false);
    cut[10] = 200;
    auto image = load(colourJpeg(160, 80, shown, cut));
    EXPECT_TRUE(near(at(*image, 16, 24), RED));
}

TEST_F(PhotoFileTest, EveryColourModelShowsItsColour) {
    const auto middle = [](const Image &image) { return at(image, 32, 32); };
    // Grey JPEG.
    EXPECT_TRUE(near(middle(*load(encodeJpegPixels(64, 64, 1, JCS_GRAYSCALE, JCS_GRAYSCALE,
                                         [](int, int, uint8_t *p) { p[0] = 200; }))), {200, 200, 200}, 4));
    // CMYK as Adobe writes it (inverted: 255 is no ink), plain and as YCCK:
    // magenta and yellow ink, no cyan or black, is red.
    for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        const Bytes file = encodeJpegPixels(64, 64, 4, JCS_CMYK, stored, [](int, int, uint8_t *p) {
            p[0] = 255, p[1] = 0, p[2] = 0, p[3] = 255;
        });
        EXPECT_TRUE(near(middle(*load(file)), RED)) << stored;
    }
    // 16-bit colour PNG: the high bytes.
    Bytes deep;
    for (int k = 0; k < 64 * 64; ++k) deep.insert(deep.end(), {0x12, 0x34, 0x80, 0x00, 0xF0, 0xFF});
    EXPECT_TRUE(near(middle(*load(pngOf(64, 64, 16, PNG_COLOR_TYPE_RGB, deep))), {0x12, 0x80, 0xF0}, 1));
    // Palette with transparency: half-transparent red over black is dark red.
    const Bytes indices(64 * 64, 0);
    const Bytes paletted = pngOf(64, 64, 8, PNG_COLOR_TYPE_PALETTE, indices, {{255, 0, 0}}, {128});
    EXPECT_TRUE(near(middle(*load(paletted)), {128, 0, 0}, 1));
    // Grey with alpha: the left half clear (black), the right half opaque.
    Bytes greyAlpha;
    for (int k = 0; k < 64 * 64; ++k) greyAlpha.insert(greyAlpha.end(), {200, uint8_t(k % 64 < 32 ? 0 : 255)});
    auto grey = load(pngOf(64, 64, 8, PNG_COLOR_TYPE_GRAY_ALPHA, greyAlpha));
    EXPECT_TRUE(near(at(*grey, 8, 32), BLACK, 0));
    EXPECT_TRUE(near(at(*grey, 56, 32), {200, 200, 200}, 1));
    // Interlaced colour PNG, top half red and bottom half blue.
    Bytes halves;
    for (int k = 0; k < 64 * 64; ++k) halves.insert(halves.end(), {uint8_t(k < 2048 ? 255 : 0), 0, uint8_t(k < 2048 ? 0 : 255)});
    auto interlaced = load(pngOf(64, 64, 8, PNG_COLOR_TYPE_RGB, halves, {}, {}, true));
    EXPECT_TRUE(near(at(*interlaced, 32, 8), RED, 0));
    EXPECT_TRUE(near(at(*interlaced, 32, 56), BLUE, 0));
}

TEST_F(PhotoFileTest, FilesItCannotShowAreRefusedWithTheReason) {
    EXPECT_EQ(refusal(write("notes.jpg", {'h', 'e', 'l', 'l', 'o', '\n'})), "not a JPEG or PNG image");
    EXPECT_EQ(refusal(write("empty.png", {})), "not a JPEG or PNG image");
    const Bytes jpeg = colourJpeg(64, 64, [](int x, int y) { return Rgb{x * 4, y * 4, 0}; });
    EXPECT_EQ(refusal(write("cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2))), "corrupt or cut short");
    Bytes rows(64 * 64 * 3);
    for (size_t k = 0; k < rows.size(); ++k) rows[k] = uint8_t(k * 7);
    const Bytes png = pngOf(64, 64, 8, PNG_COLOR_TYPE_RGB, rows);
    EXPECT_EQ(refusal(write("cut.png", Bytes(png.begin(), png.begin() + png.size() / 2))), "corrupt or cut short");
    EXPECT_EQ(refusal(temp.path() + "/gone.jpg"), "cannot be read: No such file or directory");
    EXPECT_EQ(refusal(temp.path()), "cannot be read: Is a directory");
    // A small, valid JPEG whose frame header claims 16384 x 16384 pixels.
    Bytes bomb = encodeJpegPixels(16, 16, 1, JCS_GRAYSCALE, JCS_GRAYSCALE, [](int, int, uint8_t *p) { p[0] = 0; });
    claimSize(bomb, 16384);
    EXPECT_EQ(refusal(write("bomb.jpg", bomb)), "too large for its size (a decompression bomb?)");
    // A progressive JPEG claiming 12000 x 12000, long enough for its size:
    // decoding it would take 430 MB of coefficients before its data run out.
    Bytes progressive = encodeJpeg(16, 16, Bytes(16 * 16 * 3, 0));
    claimSize(progressive, 12000);
    progressive.resize(progressive.size() + 64 * 1024);
    EXPECT_EQ(refusal(write("huge.jpg", progressive)), "too large");
}

TEST_F(PhotoFileTest, LargePhotographDecodesToItsPicture) {
    // 6000 x 4000, red on the left, blue on the right: a 24 Mpx camera's size.
    auto image = load(colourJpeg(6000, 4000, [](int x, int) { return x < 3000 ? RED : BLUE; }), 1024);
    EXPECT_TRUE(near(at(*image, 100, 512), RED));
    EXPECT_TRUE(near(at(*image, 900, 512), BLUE));
    EXPECT_TRUE(near(at(*image, 512, 50), BLACK, 0));   // 1024 x 683, centred
}

}  // namespace
