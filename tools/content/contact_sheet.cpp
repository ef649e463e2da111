// The contact sheet: every photograph as a labelled thumbnail, then every
// graphic on a checkerboard so its transparency shows, then the banner.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "font.h"
#include "graphics.h"
#include "image_files.h"
#include "photos.h"

namespace {

const Rgba INK{0.85, 0.87, 0.92, 1.0};

void drawText(RgbaImage &sheet, const std::string &text, double x, double baseline, double scale, const Rgba &colour) {
    TextPlacement place;
    place.letterCase = LetterCase::Lower;
    place.x = x;
    place.baseline = baseline;
    place.scale = scale;
    place.spacing = 2.5;
    place.halfWidth = std::max(0.6, scale * 0.55);
    // Draw into a small float patch around the text, then blend it in.
    int x0 = std::max(0, int(x) - 4), y0 = std::max(0, int(baseline - 13 * scale) - 4);
    int w = std::min(sheet.width - x0, int(textWidth(text, place)) + 16);
    int h = std::min(sheet.height - y0, int(17 * scale) + 8);
    if (w <= 0 || h <= 0) return;
    RgbaFloatImage patch(w, h);
    place.x -= x0;
    place.baseline -= y0;
    DistanceField field(w, h, 3, 2.0);
    field.add(textSegments(text, place));
    shadeField(patch, field, 0, 0, [&](double, double, double d) -> Rgba {
        return d <= 0 ? colour : Rgba{0, 0, 0, 0};
    });
    blit(sheet, quantise(patch, 1), x0, y0);
}

void checkerboard(RgbaImage &sheet, int x, int y, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (x + i >= sheet.width || y + j >= sheet.height) continue;
            bool light = ((i / 8) + (j / 8)) % 2 == 0;
            uint8_t *p = sheet.at(x + i, y + j);
            p[0] = p[1] = p[2] = light ? 112 : 80;
            p[3] = 255;
        }
}

}   // namespace

namespace {

// The banner is a BMP: read it by hand (24 bits, bottom row first).
RgbaImage readBanner(const std::string &path) {
    RgbaImage banner;
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return banner;
    unsigned char header[54];
    if (std::fread(header, 1, 54, f) == 54 && header[28] == 24) {
        int w = header[18] | header[19] << 8, h = header[22] | header[23] << 8;
        int row = (w * 3 + 3) & ~3;
        std::vector<unsigned char> data(size_t(row) * h);
        if (w > 0 && h > 0 && std::fread(data.data(), 1, data.size(), f) == data.size()) {
            banner = RgbaImage(w, h);
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    const unsigned char *s = &data[size_t(h - 1 - j) * row + i * 3];
                    uint8_t *p = banner.at(i, j);
                    p[0] = s[2];
                    p[1] = s[1];
                    p[2] = s[0];
                    p[3] = 255;
                }
        }
    }
    std::fclose(f);
    return banner;
}

// The columns of a menu image that hold its label.
RgbaImage labelColumns(const RgbaImage &image) {
    RgbaImage out(272, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < 272; ++x)
            if (120 + x < image.width) std::copy_n(image.at(120 + x, y), 4, out.at(x, y));
    return out;
}

}   // namespace

RgbaImage contactSheet(const std::string &archiveDir, const std::string &bannerPath) {
    const int columns = 6, thumb = 200, gap = 24, label = 20, margin = 24;
    const int width = margin * 2 + columns * thumb + (columns - 1) * gap;
    const int photoTop = 60;
    const int graphicsTop = photoTop + 4 * (thumb + label + gap) + 40;
    const int height = graphicsTop + 256 + 36 + 512 + 40;
    RgbaImage sheet(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t *p = sheet.at(x, y);
            p[0] = 18;
            p[1] = 18;
            p[2] = 24;
            p[3] = 255;
        }
    drawText(sheet, "dorirova: the photographs", margin, 38, 1.6, INK);
    const auto &scenes = photoScenes();
    for (size_t i = 0; i < scenes.size(); ++i) {
        int cx = margin + int(i % columns) * (thumb + gap);
        int cy = photoTop + int(i / columns) * (thumb + label + gap);
        RgbaImage photo = readJpeg(archiveDir + scenes[i].fileName);
        if (photo.width == 0) {
            std::fprintf(stderr, "contact sheet: cannot read %s\n", scenes[i].fileName.c_str());
            continue;
        }
        blit(sheet, resize(photo, thumb, thumb), cx, cy);
        drawText(sheet, scenes[i].fileName, cx, cy + thumb + 14, 0.8, INK);
    }
    drawText(sheet, "the graphics, on a checkerboard", margin, graphicsTop - 14, 1.6, INK);
    auto place = [&](const std::string &name, const RgbaImage &image, int x, int top, int w, int h) {
        if (image.width == 0) {
            std::fprintf(stderr, "contact sheet: cannot read %s\n", name.c_str());
            return;
        }
        checkerboard(sheet, x, top, w, h);
        blit(sheet, resize(image, w, h), x, top);
        if (!name.empty()) drawText(sheet, name, x, top + h + 14, 0.8, INK);
    };
    // First row: backdrop, logo, frame, banner.
    int y = graphicsTop;
    place("background-star.png", readPng(archiveDir + "background-star.png"), margin, y, 256, 256);
    place("krv-logo.png", readPng(archiveDir + "krv-logo.png"), margin + 272, y, 512, 256);
    place("picture-frame.png", readPng(archiveDir + "picture-frame.png"), margin + 800, y, 256, 256);
    RgbaImage banner = bannerPath.empty() ? RgbaImage() : readBanner(bannerPath);
    if (banner.width == 0) banner = dialogBanner();
    place("banner.bmp", banner, margin + 1072, y, 300 * 2 / 3, 160 * 2 / 3);
    // Second row: the charset at twice its size; beside it the band and the menu.
    y += 256 + 36;
    place("charset.png, twice its size", readPng(archiveDir + "charset.png"), margin, y, 512, 512);
    int right = margin + 536, rightWidth = width - margin - right;
    place("scroller-border.png", readPng(archiveDir + "scroller-border.png"), right, y, rightWidth, rightWidth / 8);
    int my = y + rightWidth / 8 + 40;
    const char *keys[] = {"alb", "dun", "fem", "gol", "hix", "jup", "kes"};
    place("", labelColumns(readPng(archiveDir + "scroller-selection_title.png")), right, my, 272, 32);
    for (int k = 0; k < 7; ++k) {
        std::string base = std::string("scroller-selection_") + keys[k];
        int ty = my + 40 + k * 38;
        place("", labelColumns(readPng(archiveDir + base + "_hi.png")), right, ty, 272, 32);
        place("", labelColumns(readPng(archiveDir + base + "_lo.png")), right + 288, ty, 272, 32);
    }
    drawText(sheet, "menu: the title, each entry highlighted and plain", right, my + 40 + 7 * 38 + 10, 0.8, INK);
    return sheet;
}
