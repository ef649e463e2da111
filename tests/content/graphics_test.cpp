// The committed graphics: every PNG's format and size, the frame's fade, the
// logo's window, the scroller band's rows, the menu labels' columns, and the
// charset's cells.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "content_reading.h"

namespace {

struct Expected {
    std::string name;
    uint32_t width, height;
};

const std::vector<Expected> &expectedGraphics() {
    static const std::vector<Expected> list = [] {
        std::vector<Expected> l = {{"background-star.png", 1024, 1024}, {"charset.png", 256, 256},
                                   {"krv-logo.png", 1024, 512},         {"picture-frame.png", 592, 592},
                                   {"scroller-border.png", 1024, 128},  {"scroller-selection_title.png", 512, 32}};
        for (const char *key : {"alb", "dun", "fem", "gol", "hix", "jup", "kes"}) {
            l.push_back({std::string("scroller-selection_") + key + "_hi.png", 512, 32});
            l.push_back({std::string("scroller-selection_") + key + "_lo.png", 512, 32});
        }
        return l;
    }();
    return list;
}

PngFile load(const std::string &name) {
    PngFile png = readPngFile(archivePath(name));
    EXPECT_TRUE(png.ok) << name;
    return png;
}

// Alpha-weighted mean brightness (0..255) of a picture's visible pixels.
double visibleBrightness(const PngFile &png) {
    double sum = 0, weight = 0;
    for (size_t i = 0; i < png.rgba.size(); i += 4) {
        double a = png.rgba[i + 3] / 255.0;
        sum += a * (png.rgba[i] + png.rgba[i + 1] + png.rgba[i + 2]) / 3.0;
        weight += a;
    }
    return weight > 0 ? sum / weight : 0;
}

}   // namespace

TEST(Graphics, EveryPngIsEightBitRgbaOfItsSize) {
    for (const Expected &e : expectedGraphics()) {
        PngFile png = load(e.name);
        if (!png.ok) continue;
        EXPECT_EQ(png.width, e.width) << e.name;
        EXPECT_EQ(png.height, e.height) << e.name;
        EXPECT_EQ(png.colourType, 6) << e.name << " is not RGBA";
        EXPECT_EQ(png.bitDepth, 8) << e.name;
    }
}

TEST(Graphics, ArchiveHoldsOnlyFilesThatAreAskedFor) {
    // Nothing stray gets packed: the graphics, the 24 photographs, the music.
    std::vector<std::string> allowed;
    for (const Expected &e : expectedGraphics()) allowed.push_back(e.name);
    for (const auto &entry : std::filesystem::directory_iterator(repoPath("resources/archive"))) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".jpg" || name == "HALVIX.xm") continue;
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), name), allowed.end()) << name << " is not requested by anything";
    }
}

TEST(Graphics, StarBackgroundIsOpaqueDarkAndFullOfStars) {
    PngFile png = load("background-star.png");
    ASSERT_EQ(png.rgba.size(), 1024u * 1024u * 4u);
    int stars = 0;
    double brightness = 0;
    for (uint32_t y = 0; y < 1024; ++y) {
        for (uint32_t x = 0; x < 1024; ++x) {
            const uint8_t *p = png.at(x, y);
            ASSERT_EQ(p[3], 255) << "transparent at " << x << "," << y;
            int level = p[0] + p[1] + p[2];
            brightness += level / 3.0;
            // A star: clearly brighter than the sky and the brightest of its neighbours.
            if (level < 150 || x == 0 || y == 0 || x == 1023 || y == 1023) continue;
            bool peak = true;
            for (int dy = -1; dy <= 1 && peak; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const uint8_t *q = png.at(x + dx, y + dy);
                    if ((dx || dy) && q[0] + q[1] + q[2] > level) peak = false;
                }
            stars += peak;
        }
    }
    EXPECT_LT(brightness / (1024.0 * 1024.0), 40.0) << "the backdrop should be deep and dark";
    EXPECT_GT(stars, 2000);
}

TEST(Graphics, PictureFrameFadesExactlyFromItsOpaqueEdgeToAClearCentre) {
    PngFile png = load("picture-frame.png");
    ASSERT_EQ(png.rgba.size(), 592u * 592u * 4u);
    const uint8_t fade[8] = {132, 113, 94, 75, 56, 38, 19, 6};
    for (uint32_t y = 0; y < 592; ++y) {
        for (uint32_t x = 0; x < 592; ++x) {
            uint32_t ring = std::min(std::min(x, y), std::min(591 - x, 591 - y));
            uint8_t expected = ring < 3 ? 255 : ring < 11 ? fade[ring - 3] : 0;
            const uint8_t *p = png.at(x, y);
            ASSERT_EQ(p[3], expected) << "alpha at " << x << "," << y;
            if (expected > 0) {
                ASSERT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "not white at " << x << "," << y;
            }
        }
    }
}

TEST(Graphics, LogoShowsOnlyInsideItsTexelWindow) {
    PngFile png = load("krv-logo.png");
    ASSERT_EQ(png.rgba.size(), 1024u * 512u * 4u);
    // Columns 180 to 840 and rows 170 to 370 counted from the bottom.
    int inside = 0, opaque = 0;
    for (uint32_t y = 0; y < 512; ++y) {
        uint32_t fromBottom = 511 - y;
        for (uint32_t x = 0; x < 1024; ++x) {
            bool window = x >= 180 && x <= 840 && fromBottom >= 170 && fromBottom <= 370;
            uint8_t a = png.alpha(x, y);
            if (!window) {
                ASSERT_EQ(a, 0) << "visible outside the window at column " << x << ", row " << fromBottom << " from the bottom";
            } else {
                ++inside;
                opaque += a == 255;
            }
        }
    }
    EXPECT_GT(opaque, inside / 5) << "the letters should fill a good part of the window";
}

TEST(Graphics, LogoEdgesAreAntiAliasedAndItsShadowIsSoft) {
    PngFile png = load("krv-logo.png");
    ASSERT_EQ(png.rgba.size(), 1024u * 512u * 4u);
    int partial = 0, faint = 0;
    for (size_t i = 3; i < png.rgba.size(); i += 4) {
        partial += png.rgba[i] > 0 && png.rgba[i] < 255;
        faint += png.rgba[i] > 0 && png.rgba[i] < 64;
    }
    EXPECT_GT(partial, 4000) << "hard, jagged edges";
    EXPECT_GT(faint, 2000) << "no soft shadow";
}

TEST(Graphics, ScrollerBorderIsVisibleExactlyOnItsBandRows) {
    PngFile png = load("scroller-border.png");
    ASSERT_EQ(png.rgba.size(), 1024u * 128u * 4u);
    for (uint32_t y = 0; y < 128; ++y) {
        uint32_t fromBottom = 127 - y;
        bool band = fromBottom >= 40 && fromBottom <= 85;
        for (uint32_t x = 0; x < 1024; ++x) {
            if (band) {
                ASSERT_GT(png.alpha(x, y), 0) << "gap in the band at column " << x << ", row " << fromBottom << " from the bottom";
                ASSERT_LT(png.alpha(x, y), 255) << "the band should let the picture through";
            } else {
                ASSERT_EQ(png.alpha(x, y), 0) << "visible outside the band, row " << fromBottom << " from the bottom";
            }
        }
    }
}

TEST(Graphics, MenuLabelsStayInTheirColumnsAndHighlightedOnesStandOut) {
    std::vector<std::string> names = {"scroller-selection_title.png"};
    for (const char *key : {"alb", "dun", "fem", "gol", "hix", "jup", "kes"})
        for (const char *state : {"_hi", "_lo"}) names.push_back(std::string("scroller-selection_") + key + state + ".png");
    for (const std::string &name : names) {
        PngFile png = load(name);
        ASSERT_EQ(png.rgba.size(), 512u * 32u * 4u) << name;
        int visible = 0;
        for (uint32_t y = 0; y < 32; ++y)
            for (uint32_t x = 0; x < 512; ++x) {
                if (x < 130 || x > 380) {
                    ASSERT_EQ(png.alpha(x, y), 0) << name << " column " << x;
                }
                visible += png.alpha(x, y) > 0;
            }
        EXPECT_GT(visible, 300) << name << " shows no label";
    }
    for (const char *key : {"alb", "dun", "fem", "gol", "hix", "jup", "kes"}) {
        std::string base = std::string("scroller-selection_") + key;
        PngFile hi = load(base + "_hi.png"), lo = load(base + "_lo.png");
        EXPECT_GT(visibleBrightness(hi), visibleBrightness(lo) + 40) << key;
    }
}

TEST(Graphics, BannerIsAnUncompressed24BitBitmapOf300By160) {
    std::vector<uint8_t> bmp = fileBytes(repoPath("resources/banner.bmp"));
    ASSERT_GE(bmp.size(), 54u);
    auto le = [&](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint32_t(bmp[at + i]) << (8 * i);
        return v;
    };
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le(2, 4), bmp.size());
    EXPECT_EQ(le(10, 4), 54u);    // pixels right after the headers
    EXPECT_EQ(le(14, 4), 40u);    // BITMAPINFOHEADER
    EXPECT_EQ(le(18, 4), 300u);
    EXPECT_EQ(le(22, 4), 160u);   // positive: bottom row first
    EXPECT_EQ(le(28, 2), 24u);
    EXPECT_EQ(le(30, 4), 0u);     // BI_RGB, uncompressed
    EXPECT_EQ(bmp.size(), 54u + 900u * 160u);
}

TEST(Graphics, ContactSheetIsCommitted) {
    PngFile png = readPngFile(repoPath("docs/contact-sheet.png"));
    ASSERT_TRUE(png.ok);
    EXPECT_GT(png.width, 1000u);
    EXPECT_GT(png.height, 1000u);
}
