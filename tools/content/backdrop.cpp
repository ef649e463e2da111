// The star field behind everything, and the settings dialog's banner, which
// shows the title over the same kind of sky.
#include <cmath>

#include "font.h"
#include "graphics.h"
#include "noise.h"
#include "render.h"
#include "sky.h"

namespace {

// Radiance of the backdrop at pixel (x, y) of a size x size picture: a deep
// blue-black with faint nebulae and a band of dense stars, and stars in
// three layers from thousands of faint ones to a few bright ones.
Vec3 backdrop(double x, double y, double size, uint32_t seed) {
    double u = x / size, v = y / size;
    Vec3 c{0.0018, 0.0035, 0.011};
    // The milky band: a diagonal stripe, lumpy, with dust in it.
    double across = (v - 0.35) - (u - 0.5) * 0.55 + fbm2(u * 2.0, v * 2.0, 4, seed + 1) * 0.08;
    double band = std::exp(-across * across / 0.03);
    double dust = smoothstep(0.1, 0.5, fbm2(u * 7.0, v * 7.0, 6, seed + 2) * 0.5 + 0.5);
    c += Vec3{0.018, 0.016, 0.022} * (band * (0.6 + 0.8 * (fbm2(u * 5, v * 5, 5, seed + 3) * 0.5 + 0.5)) * (1.0 - 0.6 * dust));
    // Nebula haze in violet and teal, very faint.
    double qx = fbm2(u * 2.5, v * 2.5, 4, seed + 4), qy = fbm2(u * 2.5 + 3.3, v * 2.5 + 1.1, 4, seed + 5);
    double haze = fbm2(u * 3.0 + qx * 1.5, v * 3.0 + qy * 1.5, 6, seed + 6) * 0.5 + 0.5;
    c += Vec3{0.045, 0.012, 0.05} * std::pow(smoothstep(0.4, 0.85, haze), 2.0);
    c += Vec3{0.0, 0.025, 0.032} * std::pow(smoothstep(0.45, 0.9, fbm2(u * 4.0 - qy, v * 4.0 + qx, 5, seed + 7) * 0.5 + 0.5), 2.0);
    // Stars: denser in the band.
    double scale = size / 1024.0;
    c += starsOnPlane(x / scale, y / scale, 3.0, 0.12 + 0.35 * band, 0.1, seed + 10);
    c += starsOnPlane(x / scale, y / scale, 8.0, 0.3, 0.22, seed + 11);
    c += starsOnPlane(x / scale, y / scale, 28.0, 0.35, 0.55, seed + 12);
    return c;
}

}   // namespace

RgbaImage starBackground() {
    const int size = 1024;
    Shader shader = [](double u, double v) { return backdrop(u * size, v * size, size, 600); };
    RenderOptions options;
    options.width = options.height = size;
    options.contrast = 0.04;
    FloatImage sky = renderShader(shader, options);
    Finish finish;
    finish.exposure = 1.0;
    finish.vignette = 0.0;
    finish.grain = 0.0;
    finish.seed = 601;
    return finishPhoto(sky, finish);
}

RgbaImage dialogBanner() {
    const int width = 300, height = 160;
    // The sky at a scale where the stars look as they do on screen.
    Shader shader = [](double u, double v) { return backdrop(u * 300, v * 160 + 40, 420, 620) * 1.4; };
    RenderOptions options;
    options.width = width;
    options.height = height;
    FloatImage sky = renderShader(shader, options);
    Finish finish;
    finish.vignette = 0.3;
    finish.grain = 0.0;
    finish.seed = 621;
    RgbaImage base = finishPhoto(sky, finish);
    RgbaFloatImage canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t *p = base.at(x, y);
            canvas.at(x, y) = {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, 1.0};
        }
    // The title in slanted lower case, gold to orange with a dark outline and glow.
    TextPlacement title;
    title.letterCase = LetterCase::Lower;
    title.scale = 3.25;
    title.spacing = 2.6;
    title.slant = 0.15;
    title.halfWidth = 3.2;
    double w = textWidth("dorirova", title);
    title.x = (width - w) / 2.0 - 3;
    title.baseline = 84;
    DistanceField field(width, height, 4, 14.0);
    field.add(textSegments("dorirova", title));
    const double top = title.baseline - 10 * title.scale, foot = title.baseline;
    shadeField(canvas, field, 0, 0, [&](double, double y, double d) -> Rgba {
        if (d <= 0) {
            double t = clamp01((y - top) / (foot - top));
            Vec3 c = t < 0.55 ? mix(Vec3{1.0, 0.98, 0.85}, Vec3{1.0, 0.78, 0.22}, t / 0.55)
                              : mix(Vec3{1.0, 0.78, 0.22}, Vec3{0.9, 0.32, 0.08}, (t - 0.55) / 0.45);
            return {c.x, c.y, c.z, 1.0};
        }
        if (d <= 1.6) return {0.04, 0.02, 0.08, 1.0};
        return {0.35, 0.45, 1.0, 0.45 * std::exp(-(d - 1.6) / 4.0)};
    });
    // A subtitle beneath.
    TextPlacement sub;
    sub.letterCase = LetterCase::Lower;
    sub.scale = 1.05;
    sub.spacing = 3.0;
    sub.halfWidth = 0.75;
    std::string subtitle = "a krv production";
    sub.x = (width - textWidth(subtitle, sub)) / 2.0;
    sub.baseline = 112;
    DistanceField subField(width, height, 4, 3.0);
    subField.add(textSegments(subtitle, sub));
    shadeField(canvas, subField, 0, 0, [](double, double, double d) -> Rgba {
        if (d <= 0) return {0.75, 0.85, 1.0, 1.0};
        if (d <= 0.8) return {0.02, 0.02, 0.06, 0.8};
        return {0, 0, 0, 0};
    });
    return quantise(canvas, 622);
}
