// Images and their textures on a real GL context (Mesa): power-of-two
// padding, what GL holds after upload, and the pixelated levels against the
// block-mean rule.
#include "assets/texture.h"

#include "tests/support/gl_test_context.h"
#include "tests/support/image_files.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Bytes = std::vector<uint8_t>;

std::unique_ptr<uint8_t[]> copyToBuffer(const Bytes &bytes) {
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    return buffer;
}

Bytes randomBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out(size);
    for (uint8_t &b : out) b = uint8_t(random());
    return out;
}

// What GL holds for the named texture, as R G B or R G B A bytes.
Bytes readTexture(GLuint name, int hasAlpha, uint32_t width, uint32_t height) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint glWidth = 0, glHeight = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &glWidth);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &glHeight);
    EXPECT_EQ(uint32_t(glWidth), width);
    EXPECT_EQ(uint32_t(glHeight), height);
    Bytes out(size_t(width) * height * (hasAlpha ? 4 : 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, hasAlpha ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, out.data());
    return out;
}

GLint filterOf(GLuint name) {
    glBindTexture(GL_TEXTURE_2D, name);
    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, min);
    return mag;
}

// The level rule, written out plainly: every whole b x b block's R, G and B
// summed and divided by b x b, rounded down; alpha 255.
Bytes referenceLevel(const Image &t, uint32_t b) {
    const uint32_t bpp = t.hasAlpha ? 4 : 3, outW = t.textureWidth / b, outH = t.textureHeight / b;
    Bytes out(size_t(outW) * outH * bpp);
    for (uint32_t by = 0; by < outH; ++by) {
        for (uint32_t bx = 0; bx < outW; ++bx) {
            uint32_t sum[3] = {0, 0, 0};
            for (uint32_t y = by * b; y < by * b + b; ++y) {
                for (uint32_t x = bx * b; x < bx * b + b; ++x) {
                    for (int c = 0; c < 3; ++c) sum[c] += t.pixels[(size_t(y) * t.textureWidth + x) * bpp + c];
                }
            }
            uint8_t *texel = &out[(size_t(by) * outW + bx) * bpp];
            for (int c = 0; c < 3; ++c) texel[c] = uint8_t(sum[c] / (b * b));
            if (bpp == 4) texel[3] = 255;
        }
    }
    return out;
}

class TextureTest : public ::testing::Test {
protected:
    GLTestContext gl{16, 16};
    std::vector<std::unique_ptr<Image>> images;
    std::vector<std::unique_ptr<Texture>> made;

    void SetUp() override { ASSERT_TRUE(gl.ok()); }

    Image *picture(uint32_t width, uint32_t height, int alpha, const Bytes &pixels) {
        images.emplace_back(newImage(width, height, alpha, copyToBuffer(pixels)));
        return images.back().get();
    }

    // The texture of image with a level for each block size.
    Texture *upload(Image &image, const std::vector<uint32_t> &blocks = {}) {
        image.makeLevels(blocks);
        made.push_back(uploadNewTexture(image));
        return made.back().get();
    }
};

TEST(NextPowerOfTwo, RoundsUpAndKeepsPowersOfTwo) {
    EXPECT_EQ(nextPowerOfTwo(1), 1u);
    EXPECT_EQ(nextPowerOfTwo(2), 2u);
    EXPECT_EQ(nextPowerOfTwo(3), 4u);
    EXPECT_EQ(nextPowerOfTwo(300), 512u);
    EXPECT_EQ(nextPowerOfTwo(592), 1024u);
    EXPECT_EQ(nextPowerOfTwo(1024), 1024u);
    EXPECT_EQ(nextPowerOfTwo(1025), 2048u);
    EXPECT_EQ(nextPowerOfTwo(16384), 16384u);
    EXPECT_EQ(nextPowerOfTwo(0x80000000u), 0x80000000u);
}

TEST_F(TextureTest, PaddedImageSitsLowerLeftWithZeroTexelsAround) {
    const Bytes image = randomBytes(592 * 592 * 4, 1);
    Image *decoded = picture(592, 592, 1, image);
    Bytes expected(1024 * 1024 * 4, 0);
    for (size_t row = 0; row < 592; ++row) {
        std::copy_n(&image[row * 592 * 4], 592 * 4, &expected[row * 1024 * 4]);
    }
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), decoded->pixels.get()));
    Texture *t = upload(*decoded);
    EXPECT_EQ(t->textureWidth, 1024u);
    EXPECT_EQ(t->textureHeight, 1024u);
    EXPECT_EQ(t->imageWidth, 592u);
    EXPECT_EQ(t->imageHeight, 592u);
    EXPECT_EQ(float(t->imageWidth) / float(t->textureWidth), 0.578125f);
    EXPECT_EQ(readTexture(t->glName, 1, 1024, 1024), expected);
}

TEST_F(TextureTest, OnlyTheDimensionThatIsNoPowerOfTwoGrows) {
    const Bytes image = randomBytes(300 * 512 * 3, 2);
    Texture *t = upload(*picture(300, 512, 0, image));
    EXPECT_EQ(t->textureWidth, 512u);
    EXPECT_EQ(t->textureHeight, 512u);
    Bytes expected(512 * 512 * 3, 0);
    for (size_t row = 0; row < 512; ++row) {
        std::copy_n(&image[row * 300 * 3], 300 * 3, &expected[row * 512 * 3]);
    }
    EXPECT_EQ(readTexture(t->glName, 0, 512, 512), expected);
}

TEST_F(TextureTest, PowerOfTwoImagesKeepTheirSizeAndBuffer) {
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{1, 1}, {512, 32}, {1024, 512}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        std::unique_ptr<uint8_t[]> buffer = copyToBuffer(randomBytes(size_t(w) * h * 4, w));
        const uint8_t *decoded = buffer.get();
        const Bytes pixels(decoded, decoded + size_t(w) * h * 4);
        images.emplace_back(newImage(w, h, 1, std::move(buffer)));
        EXPECT_EQ(images.back()->pixels.get(), decoded) << "taken over without a copy";
        Texture *t = upload(*images.back());
        EXPECT_EQ(t->textureWidth, w);
        EXPECT_EQ(t->textureHeight, h);
        EXPECT_EQ(readTexture(t->glName, 1, w, h), pixels);
    }
}

TEST_F(TextureTest, FullTextureFiltersLinearAndRepeats) {
    Texture *t = upload(*picture(4, 4, 0, randomBytes(4 * 4 * 3, 3)));
    EXPECT_NE(t->glName, 0u);
    EXPECT_EQ(filterOf(t->glName), GL_LINEAR);
    GLint wrapS = 0, wrapT = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapS, GL_REPEAT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_TRUE(t->pixelatedLevels.empty());
}

TEST_F(TextureTest, BlockOneKeepsColoursAndMakesAlphaOpaque) {
    Bytes image = randomBytes(8 * 8 * 4, 4);
    Texture *t = upload(*picture(8, 8, 1, image), {1});
    ASSERT_EQ(t->pixelatedLevels.size(), 1u);
    EXPECT_EQ(filterOf(t->pixelatedLevels[0]), GL_NEAREST);
    for (size_t i = 3; i < image.size(); i += 4) image[i] = 255;
    EXPECT_EQ(readTexture(t->pixelatedLevels[0], 1, 8, 8), image);
}

TEST_F(TextureTest, BlockSixtyFourGivesSixteenBySixteenRoundedDownMeans) {
    // Each 64 x 64 block holds one value of 0..63 per row: its mean is not whole.
    Bytes image(1024 * 1024 * 3);
    for (size_t y = 0; y < 1024; ++y) {
        for (size_t x = 0; x < 1024; ++x) {
            uint8_t *p = &image[(y * 1024 + x) * 3];
            p[0] = uint8_t(y % 64);                   // mean 31.5 -> 31
            p[1] = uint8_t((x % 64) * 3 + (y / 64));  // mean 94.5 + block row
            p[2] = uint8_t(x / 64 == y / 64 ? 255 : (x + y) % 2);
        }
    }
    Texture *t = upload(*picture(1024, 1024, 0, image), {64});
    const Bytes level = readTexture(t->pixelatedLevels.at(0), 0, 16, 16);
    for (size_t by = 0; by < 16; ++by) {
        for (size_t bx = 0; bx < 16; ++bx) {
            const uint8_t *p = &level[(by * 16 + bx) * 3];
            EXPECT_EQ(p[0], 31);
            EXPECT_EQ(p[1], 94 + by);
            EXPECT_EQ(p[2], bx == by ? 255 : 0) << "2048 of 4096 ones average to 0.5";
        }
    }
}

TEST_F(TextureTest, SevenLevelsFollowTheCallOrderAndMatchTheRule) {
    for (int alpha : {0, 1}) {
        SCOPED_TRACE(alpha ? "RGBA" : "RGB");
        Image *image = picture(1024, 1024, alpha, randomBytes(1024 * 1024 * (alpha ? 4 : 3), 5 + alpha));
        std::vector<uint32_t> blocks;
        std::vector<Bytes> references;
        for (uint32_t block = 1; block <= 64; block *= 2) {
            blocks.push_back(block);
            references.push_back(referenceLevel(*image, block));
        }
        Texture *t = upload(*image, blocks);
        EXPECT_EQ(image->pixels, nullptr) << "freed once uploaded";
        ASSERT_EQ(t->pixelatedLevels.size(), 7u);
        EXPECT_EQ(t->pixelatedLevels[0] == t->glName, alpha == 0) << "block 1 of R G B is the texture itself";
        for (uint32_t k = 0; k < 7; ++k) {
            SCOPED_TRACE("level " + std::to_string(k));
            const uint32_t side = 1024 >> k;
            EXPECT_EQ(readTexture(t->pixelatedLevels[k], alpha, side, side), references[k]);
        }
    }
}

// Levels reuse the sums of the level before; any order of block sizes must
// still give the rule's bytes.
TEST_F(TextureTest, LevelsInAnyOrderMatchTheRule) {
    Image *t = picture(256, 128, 1, randomBytes(256 * 128 * 4, 7));
    for (uint32_t block : {8u, 2u, 16u, 4u, 4u, 64u, 1u, 32u, 6u, 12u, 128u}) {
        SCOPED_TRACE("block " + std::to_string(block));
        uint32_t w = 0, h = 0;
        EXPECT_EQ(t->pixelatedTexels(block, &w, &h), referenceLevel(*t, block));
        EXPECT_EQ(w, 256 / block);
        EXPECT_EQ(h, 128 / block);
    }
}

// Block sizes that do not divide the texture take whole blocks only; sizes
// above the texture are clamped to its shorter side, 0 to 1. Every block
// size makes one level and nothing is written outside a buffer (the
// sanitizer build checks).
TEST_F(TextureTest, BlockSizesThatDoNotFitAreClamped) {
    Image *image = picture(16, 8, 0, randomBytes(16 * 8 * 3, 8));
    struct Case { uint32_t block, width, height, effective; };
    const Case cases[] = {{3, 5, 2, 3}, {5, 3, 1, 5}, {9, 2, 1, 8}, {1000, 2, 1, 8}, {0, 16, 8, 1}};
    std::vector<uint32_t> blocks;
    std::vector<Bytes> references;
    for (const Case &c : cases) {
        blocks.push_back(c.block);
        references.push_back(referenceLevel(*image, c.effective));
    }
    Texture *t = upload(*image, blocks);
    ASSERT_EQ(t->pixelatedLevels.size(), std::size(cases));
    for (size_t k = 0; k < std::size(cases); ++k) {
        SCOPED_TRACE("block " + std::to_string(cases[k].block));
        EXPECT_EQ(readTexture(t->pixelatedLevels[k], 0, cases[k].width, cases[k].height), references[k]);
    }
}

// A 20 x 12 picture frame, padded to 32 x 16: alpha 255 on its outer ring,
// 9 on the next, a clear middle of 14 x 6 texels (one texel of it set to
// alpha 1 when marked), alpha 0 outside the image.
Bytes frameImage(bool marked) {
    Bytes image(20 * 12 * 4, 200);
    for (uint32_t y = 0; y < 12; ++y) {
        for (uint32_t x = 0; x < 20; ++x) {
            const uint32_t ring = std::min(std::min(x, 19 - x), std::min(y, 11 - y));
            image[(y * 20 + x) * 4 + 3] = ring == 0 ? 255 : ring == 1 ? 9 : 0;
        }
    }
    if (marked) image[(4 * 20 + 15) * 4 + 3] = 1;
    return image;
}

TEST_F(TextureTest, TransparencyIsMeasuredAsShownBoundsAndAClearMiddle) {
    auto rect = [](const TexelRect &r) { return std::vector<uint32_t>{r.x0, r.y0, r.x1, r.y1}; };
    Image *frame = picture(20, 12, 1, frameImage(false));
    measureTransparency(*frame);
    EXPECT_FALSE(frame->opaque);
    EXPECT_EQ(rect(frame->shown), (std::vector<uint32_t>{0, 0, 20, 12})) << "the padding is clear";
    EXPECT_EQ(rect(frame->clearMiddle), (std::vector<uint32_t>{2, 2, 18, 10}));
    Image *marked = picture(20, 12, 1, frameImage(true));
    measureTransparency(*marked);
    EXPECT_TRUE(marked->clearMiddle.empty()) << "one texel of alpha 1 in the middle's span";

    Bytes label(16 * 8 * 4, 0);   // a label in columns 5..9 of rows 2..3
    for (uint32_t y = 2; y < 4; ++y) {
        for (uint32_t x = 5; x < 10; ++x) label[(y * 16 + x) * 4 + 3] = 255;
    }
    Image *menu = picture(16, 8, 1, label);
    measureTransparency(*menu);
    EXPECT_EQ(rect(menu->shown), (std::vector<uint32_t>{5, 2, 10, 4}));
    EXPECT_EQ(rect(menu->clearMiddle), (std::vector<uint32_t>{0, 4, 16, 8})) << "clear above the label";

    Bytes solid(8 * 8 * 4, 255);
    Image *opaque = picture(8, 8, 1, solid);
    measureTransparency(*opaque);
    EXPECT_TRUE(opaque->opaque);
    EXPECT_EQ(rect(opaque->shown), (std::vector<uint32_t>{0, 0, 8, 8}));
}

TEST_F(TextureTest, AnImageWhosePixelsWereReleasedGetsEmptyLevels) {
    Image *t = picture(8, 8, 0, randomBytes(8 * 8 * 3, 10));
    t->pixels.reset();
    uint32_t width = 1, height = 1;
    EXPECT_TRUE(t->pixelatedTexels(2, &width, &height).empty());
    EXPECT_EQ(width, 0u);
    EXPECT_EQ(height, 0u);
    t->makeLevels({2});
    ASSERT_EQ(t->levels.size(), 1u);
    EXPECT_TRUE(t->levels[0].texels.empty());
}

// A nearest-filtered level drawn texel for pixel shows its texels unblended.
TEST_F(TextureTest, LevelDrawnOneToOneShowsItsTexels) {
    Image *image = picture(32, 32, 1, randomBytes(32 * 32 * 4, 9));
    const Bytes reference = referenceLevel(*image, 2);
    Texture *t = upload(*image, {2});
    glViewport(0, 0, 16, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glBindTexture(GL_TEXTURE_2D, t->pixelatedLevels[0]);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(0, 0);
    glTexCoord2f(1, 0); glVertex2f(1, 0);
    glTexCoord2f(1, 1); glVertex2f(1, 1);
    glTexCoord2f(0, 1); glVertex2f(0, 1);
    glEnd();
    EXPECT_EQ(gl.readPixels(), reference);
}

}  // namespace
