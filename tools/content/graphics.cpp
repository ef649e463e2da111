// The archive's PNG graphics by file name, and the simple ones: the picture
// frame, the scroller's band and the menu labels.
#include "graphics.h"

#include <cmath>

#include "font.h"
#include "noise.h"

const std::vector<GraphicAsset> &graphicAssets() {
    static const std::vector<GraphicAsset> assets = [] {
        std::vector<GraphicAsset> a = {
            {"background-star.png", starBackground},
            {"charset.png", charsetImage},
            {"krv-logo.png", krvLogo},
            {"picture-frame.png", pictureFrame},
            {"scroller-border.png", scrollerBorder},
        };
        for (const char *key : {"alb", "dun", "fem", "gol", "hix", "jup", "kes"}) {
            std::string k = key;
            a.push_back({"scroller-selection_" + k + "_hi.png", [k] { return menuEntry(k, true); }});
            a.push_back({"scroller-selection_" + k + "_lo.png", [k] { return menuEntry(k, false); }});
        }
        a.push_back({"scroller-selection_title.png", menuTitle});
        return a;
    }();
    return assets;
}

RgbaImage pictureFrame() {
    // White; the outer 3 pixels opaque, the next 8 fading towards the
    // transparent centre through which the photograph shows.
    static const uint8_t FADE[8] = {132, 113, 94, 75, 56, 38, 19, 6};
    const int size = 592;
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            int ring = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            uint8_t *p = image.at(x, y);
            p[0] = p[1] = p[2] = 255;
            p[3] = ring < 3 ? 255 : ring < 11 ? FADE[ring - 3] : 0;
        }
    }
    return image;
}

RgbaImage scrollerBorder() {
    // Drawn at virtual (0, 64), 1024 x 128: image rows 40 to 85 counted from
    // the bottom are the band (virtual y 104 to 149); the text runs through
    // rows 50 to 74. Rows from the top are 127 minus rows from the bottom.
    const int width = 1024, height = 128;
    const int top = 127 - 85, bottom = 127 - 40;   // 42 and 87, inclusive
    RgbaFloatImage image(width, height);
    for (Rgba &p : image.pixels) p = {0.02, 0.02, 0.06, 0.0};
    for (int y = top; y <= bottom; ++y) {
        for (int x = 0; x < width; ++x) {
            double u = x / double(width - 1);
            // Edge lines cycle through cold and warm colours along the band.
            Vec3 cool{0.3, 0.85, 1.0}, violet{0.75, 0.35, 1.0}, warm{1.0, 0.7, 0.25};
            double phase = std::sin(u * 2 * PI * 1.5) * 0.5 + 0.5;
            Vec3 line = phase < 0.5 ? mix(cool, violet, phase * 2) : mix(violet, warm, phase * 2 - 1);
            int fromTop = y - top, fromBottom = bottom - y;
            int edge = std::min(fromTop, fromBottom);
            Rgba c;
            if (edge <= 1) {
                // Two bright rows, the outer one slightly dimmer.
                double k = edge == 0 ? 0.75 : 1.0;
                c = {line.x * k, line.y * k, line.z * k, 0.95};
            } else {
                // The dark glass of the band, with a glow near the edge lines
                // and faint scan lines.
                double glow = std::exp(-(edge - 2) / 2.5);
                double scan = (y % 2 == 0) ? 0.04 : 0.0;
                double shimmer = fbm2(u * 12.0, y * 0.05, 3, 71) * 0.02;
                Vec3 dark{0.015, 0.015, 0.05};
                Vec3 col = mix(dark, line * 0.6, glow * 0.5);
                c = {col.x, col.y, col.z, clamp01(0.58 + glow * 0.25 + scan + shimmer)};
            }
            image.at(x, y) = c;
        }
    }
    return quantise(image, 5);
}

namespace {

// A label in the menu font: capitals, cap height 14 pixels, baseline at
// image row 23, starting at column x. fill gives the letters' colour by
// their vertical position 0 (top) .. 1 (foot).
void drawLabel(RgbaFloatImage &image, const std::string &text, double x, double halfWidth, double outlineWidth,
               double glow, const Vec3 &glowColour, const std::function<Vec3(double)> &fill, double alpha) {
    TextPlacement place;
    place.x = x;
    place.baseline = 23;
    place.scale = 1.4;
    place.spacing = 3.2;
    place.slant = 0.12;
    place.halfWidth = halfWidth;
    DistanceField field(image.width, image.height, 4, 8.0);
    field.add(textSegments(text, place));
    const double top = 23 - 14, foot = 23;
    shadeField(image, field, 0, 0, [&](double, double y, double d) -> Rgba {
        if (d <= 0) {
            Vec3 c = fill(clamp01((y - top) / (foot - top)));
            return {c.x, c.y, c.z, alpha};
        }
        if (d <= outlineWidth) return {0.03, 0.02, 0.08, alpha};
        if (glow > 0) {
            double g = glow * std::exp(-(d - outlineWidth) / 2.5);
            return {glowColour.x, glowColour.y, glowColour.z, g};
        }
        return {0, 0, 0, 0};
    });
}

// Keeps everything outside the label's columns transparent.
RgbaImage clipToLabelColumns(RgbaFloatImage &image) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (x < 130 || x > 380) image.at(x, y).a = 0;
    return quantise(image, 9);
}

}   // namespace

RgbaImage menuTitle() {
    RgbaFloatImage image(512, 32);
    for (Rgba &p : image.pixels) p = {0.03, 0.02, 0.08, 0.0};
    // A heading: larger gold capitals over a thin rule.
    for (int x = 140; x <= 372; ++x) {
        double fade = smoothstep(140, 170, x) * smoothstep(372, 330, x);
        image.at(x, 28) = {1.0, 0.75, 0.25, 0.85 * fade};
        image.at(x, 29) = {0.5, 0.3, 0.1, 0.5 * fade};
    }
    drawLabel(image, "members", 140, 1.35, 1.0, 0.0, {}, [](double t) {
        return mix(Vec3{1.0, 0.97, 0.8}, Vec3{0.95, 0.5, 0.12}, t);
    }, 1.0);
    return clipToLabelColumns(image);
}

RgbaImage menuEntry(const std::string &key, bool highlighted) {
    RgbaFloatImage image(512, 32);
    for (Rgba &p : image.pixels) p = {0.03, 0.02, 0.08, 0.0};
    if (highlighted) {
        // A glowing bar behind the entry and a pointer before it.
        for (int y = 5; y <= 27; ++y) {
            for (int x = 150; x <= 370; ++x) {
                double across = 1.0 - std::fabs(y - 16) / 11.5;
                double along = smoothstep(150, 175, x) * smoothstep(370, 260, x);
                Rgba bar{0.1, 0.55, 0.9, clamp01(across * across * along * 0.75)};
                image.at(x, y) = over(bar, image.at(x, y));
            }
        }
        DistanceField field(512, 32, 4, 4.0);
        Stroke pointer{{{0, 0}, {5, 5}, {0, 10}}, false, 1.0};
        field.add(strokeSegments(pointer, [](double x, double y) { return Vec2d{137 + x * 1.2, 23 - y * 1.4}; }, 1.5));
        shadeField(image, field, 0, 0, [](double, double, double d) -> Rgba {
            if (d <= 0) return {1.0, 1.0, 1.0, 1.0};
            if (d <= 1.0) return {0.03, 0.02, 0.08, 1.0};
            return {0, 0, 0, 0};
        });
        drawLabel(image, key, 160, 1.4, 1.0, 0.8, {0.4, 0.9, 1.0}, [](double t) {
            return mix(Vec3{1.0, 1.0, 1.0}, Vec3{0.55, 0.95, 1.0}, t);
        }, 1.0);
    } else {
        drawLabel(image, key, 160, 1.15, 0.9, 0.0, {}, [](double t) {
            return mix(Vec3{0.55, 0.58, 0.7}, Vec3{0.35, 0.38, 0.5}, t);
        }, 0.8);
    }
    return clipToLabelColumns(image);
}
