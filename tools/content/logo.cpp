// The group's logo: "krv" in heavy slanted capitals of chrome, with a bevel,
// a dark outline, a glint and a soft shadow. The presentation shows only the
// texels of columns 180 to 840 and rows 170 to 370 counted from the bottom,
// so everything is drawn inside that window and the rest stays transparent.
// The desktop icon sets the same letters on a tile of night sky.
#include <cmath>

#include "font.h"
#include "graphics.h"
#include "sky.h"

namespace {

const int WIDTH = 1024, HEIGHT = 512;
// The window in top-down image rows: 511 - 370 = 141 to 511 - 170 = 341.
const int WIN_LEFT = 180, WIN_RIGHT = 840, WIN_TOP = 141, WIN_BOTTOM = 341;

// Chrome: a sky reflected above a sharp horizon, dark ground below it
// brightening towards the foot. t is 0 at the letters' top, 1 at their foot.
Vec3 chrome(double t) {
    if (t < 0.5) return mix(Vec3{0.55, 0.7, 1.0}, Vec3{1.0, 1.0, 1.0}, std::pow(t / 0.5, 1.6));
    if (t < 0.56) return mix(Vec3{0.16, 0.12, 0.24}, Vec3{0.1, 0.08, 0.16}, (t - 0.5) / 0.06);
    return mix(Vec3{0.1, 0.08, 0.16}, Vec3{0.95, 0.62, 0.38}, std::pow((t - 0.56) / 0.44, 1.2));
}

// Draws text in the logo's chrome over image: soft shadow, dark outline with
// a light rim, bevelled chrome, and glints on two corners. Every length is
// the logo's at 12 pixels per design unit, scaled with place.scale, so the
// letters look alike at any size. place.halfWidth is in pixels.
void drawChromeText(RgbaFloatImage &image, const std::string &text, const TextPlacement &place) {
    const int width = image.width, height = image.height;
    const double k = place.scale / 12.0;
    const double outline = 5.0 * k;
    const double top = place.baseline - 10 * place.scale, foot = place.baseline;

    DistanceField field(width, height, 3, 40.0 * k);
    field.add(textSegments(text, place));

    // Soft shadow: the outlined shape, blurred, offset down and right.
    std::vector<double> shadow(size_t(width) * height, 0.0);
    const int dx = int(std::lround(9 * k)), dy = int(std::lround(11 * k));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0) shadow[size_t(y) * width + x] = field.sample(sx + 0.5, sy + 0.5) < outline ? 1.0 : 0.0;
        }
    blurChannel(shadow, width, height, std::max(1, int(std::lround(4 * k))), 3);
    for (size_t i = 0; i < shadow.size(); ++i) image.pixels[i] = over({0.0, 0.0, 0.03, shadow[i] * 0.6}, image.pixels[i]);

    const Vec3 light = normalize(Vec3{-0.5, -0.7, 0.6});   // from the upper left (y grows downwards)
    shadeField(image, field, 0, 0, [&](double x, double y, double d) -> Rgba {
        if (d > outline + 1.5 * k) return {0, 0, 0, 0};
        if (d > outline) {
            // A thin light rim just outside the outline lifts it off the stars.
            double rim = smoothstep(outline + 1.5 * k, outline + 0.3 * k, d);
            return {0.55, 0.6, 0.85, rim * 0.6};
        }
        if (d > 0) return {0.02, 0.015, 0.06, 1.0};
        double t = clamp01((y - (top - place.halfWidth)) / (foot - top + 2 * place.halfWidth));
        Vec3 c = chrome(t);
        // Bevel: near the edge the surface slopes; its normal follows the
        // distance field's gradient.
        const double bevel = 9.0 * k;
        if (d > -bevel) {
            double gx = field.sample(x + 1, y) - field.sample(x - 1, y);
            double gy = field.sample(x, y + 1) - field.sample(x, y - 1);
            double gl = std::hypot(gx, gy) + 1e-9;
            double slope = 1.0 - (-d / bevel);
            Vec3 n = normalize(Vec3{gx / gl * slope, gy / gl * slope, 0.6});
            double lambert = dot(n, light);
            c = c * (0.55 + 0.6 * clamp01(lambert + 0.3));
            c += Vec3{1, 1, 1} * (std::pow(clamp01(lambert), 12.0) * 0.6);
        }
        return {clamp01(c.x), clamp01(c.y), clamp01(c.z), 1.0};
    });

    // Glints: four-pointed stars where the light catches two corners.
    const double lean = 10 * place.scale * place.slant;
    const double glints[][3] = {{place.x + 4 * k + lean, top - 6 * k, 1.0},
                                {place.x + 15.6 * place.scale + lean + 40 * k, top - 4 * k, 0.6}};
    const int reach = int(std::lround(40 * k));
    for (const auto &g : glints) {
        for (int y = int(g[1]) - reach; y <= int(g[1]) + reach; ++y) {
            for (int x = int(g[0]) - reach; x <= int(g[0]) + reach; ++x) {
                if (x < 0 || y < 0 || x >= width || y >= height) continue;
                double ax = std::fabs(x - g[0]), ay = std::fabs(y - g[1]);
                double star = std::exp(-ay * ay / (1.2 * k * k)) * std::exp(-ax / (9.0 * k)) +
                              std::exp(-ax * ax / (1.2 * k * k)) * std::exp(-ay / (7.0 * k));
                star += std::exp(-(ax * ax + ay * ay) / (18.0 * k * k));
                double a = clamp01(star * g[2]);
                if (a > 0.004) image.at(x, y) = over({1.0, 1.0, 1.0, a}, image.at(x, y));
            }
        }
    }
}

// The letters as the logo sets them, at `scale` pixels per design unit.
TextPlacement logoLetters(double scale) {
    TextPlacement place;
    place.scale = scale;          // pixels per design unit
    place.spacing = 3.6;
    place.slant = 0.2;
    place.halfWidth = 17.0 * (scale / 12.0);
    return place;
}

}   // namespace

RgbaImage krvLogo() {
    TextPlacement place = logoLetters(12.0);   // capitals 120 pixels high
    double textW = textWidth("krv", place) + 10 * place.scale * place.slant;
    place.x = (WIN_LEFT + WIN_RIGHT) / 2.0 - textW / 2.0;
    place.baseline = 292;

    RgbaFloatImage image(WIDTH, HEIGHT);
    for (Rgba &p : image.pixels) p = {0.0, 0.0, 0.03, 0.0};
    drawChromeText(image, "krv", place);

    // Nothing outside the window may show.
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            if (x < WIN_LEFT + 2 || x > WIN_RIGHT - 2 || y < WIN_TOP + 2 || y > WIN_BOTTOM - 2) image.at(x, y).a = 0;
    return quantise(image, 3);
}

RgbaImage desktopIcon(int size) {
    // Drawn once at 512 pixels and reduced, so small sizes stay smooth.
    const int big = 512;
    const double margin = 0.06 * big, radius = 0.2 * big;
    RgbaFloatImage image(big, big);
    std::vector<double> coverage(size_t(big) * big);
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x) {
            // Distance to the rounded square's edge, negative inside.
            double qx = std::max(std::fabs(x + 0.5 - big / 2.0) - (big / 2.0 - margin - radius), 0.0);
            double qy = std::max(std::fabs(y + 0.5 - big / 2.0) - (big / 2.0 - margin - radius), 0.0);
            double edge = std::hypot(qx, qy) - radius;
            coverage[size_t(y) * big + x] = clamp01(0.5 - edge);
            // Night sky, violet at the top to blue-black at the foot, with
            // a few stars, a haze behind the letters that sets their dark
            // outline off even at 48 pixels, and a faint rim along the edge.
            double u = double(x) / big - 0.5, v = double(y) / big - 0.5;
            Vec3 sky = mix(Vec3{0.025, 0.012, 0.07}, Vec3{0.001, 0.002, 0.008}, v + 0.5);
            sky += Vec3{0.1, 0.12, 0.3} * std::exp(-(u * u / 0.06 + v * v / 0.012));
            sky += starsOnPlane(x, y, 16.0, 0.2, 0.35, 640);
            sky += Vec3{0.2, 0.22, 0.4} * std::exp(-std::fabs(edge + 3.0) / 2.0);
            image.at(x, y) = {linearToSrgb(sky.x), linearToSrgb(sky.y), linearToSrgb(sky.z), 1.0};
        }

    TextPlacement place = logoLetters(1.0);
    const double lean = 10 * place.slant;
    place = logoLetters(0.84 * (big - 2 * margin) / (textWidth("krv", place) + lean));
    place.halfWidth *= 1.3;   // bolder than the logo: the icon is also seen at 48 pixels
    place.x = big / 2.0 - (textWidth("krv", place) + 10 * place.scale * place.slant) / 2.0;
    place.baseline = big / 2.0 + 5 * place.scale;
    drawChromeText(image, "krv", place);

    for (size_t i = 0; i < coverage.size(); ++i) image.pixels[i].a *= coverage[i];
    return resize(quantise(image, 641), size, size);
}
