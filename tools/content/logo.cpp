// The group's logo: "krv" in heavy slanted capitals of chrome, with a bevel,
// a dark outline, a glint and a soft shadow. The presentation shows only the
// texels of columns 180 to 840 and rows 170 to 370 counted from the bottom,
// so everything is drawn inside that window and the rest stays transparent.
#include <cmath>

#include "font.h"
#include "graphics.h"

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

}   // namespace

RgbaImage krvLogo() {
    TextPlacement place;
    place.scale = 12.0;          // pixels per design unit: capitals 120 pixels high
    place.spacing = 3.6;
    place.slant = 0.2;
    place.halfWidth = 17.0;
    const double outline = 5.0;
    double textW = textWidth("krv", place) + 10 * place.scale * place.slant;
    place.x = (WIN_LEFT + WIN_RIGHT) / 2.0 - textW / 2.0;
    place.baseline = 292;
    const double top = place.baseline - 10 * place.scale, foot = place.baseline;

    DistanceField field(WIDTH, HEIGHT, 3, 40.0);
    field.add(textSegments("krv", place));

    RgbaFloatImage image(WIDTH, HEIGHT);
    for (Rgba &p : image.pixels) p = {0.04, 0.03, 0.1, 0.0};

    // Soft shadow: the outlined shape, blurred, offset down and right.
    std::vector<double> shadow(size_t(WIDTH) * HEIGHT, 0.0);
    const int dx = 9, dy = 11;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0) shadow[size_t(y) * WIDTH + x] = field.sample(sx + 0.5, sy + 0.5) < outline ? 1.0 : 0.0;
        }
    blurChannel(shadow, WIDTH, HEIGHT, 4, 3);
    for (size_t i = 0; i < shadow.size(); ++i) image.pixels[i] = {0.0, 0.0, 0.03, shadow[i] * 0.6};

    const Vec3 light = normalize(Vec3{-0.5, -0.7, 0.6});   // from the upper left (y grows downwards)
    shadeField(image, field, 0, 0, [&](double x, double y, double d) -> Rgba {
        if (d > outline + 1.5) return {0, 0, 0, 0};
        if (d > outline) {
            // A thin light rim just outside the outline lifts it off the stars.
            double rim = smoothstep(outline + 1.5, outline + 0.3, d);
            return {0.55, 0.6, 0.85, rim * 0.6};
        }
        if (d > 0) return {0.02, 0.015, 0.06, 1.0};
        double t = clamp01((y - (top - place.halfWidth)) / (foot - top + 2 * place.halfWidth));
        Vec3 c = chrome(t);
        // Bevel: within 9 pixels of the edge the surface slopes; its normal
        // follows the distance field's gradient.
        const double bevel = 9.0;
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
    const double glints[][3] = {{place.x + 4 + 10 * place.scale * place.slant, top - 6, 1.0},
                                {place.x + 15.6 * place.scale + 10 * place.scale * place.slant + 40, top - 4, 0.6}};
    for (const auto &g : glints) {
        for (int y = int(g[1]) - 40; y <= int(g[1]) + 40; ++y) {
            for (int x = int(g[0]) - 40; x <= int(g[0]) + 40; ++x) {
                if (x < 0 || y < 0 || x >= WIDTH || y >= HEIGHT) continue;
                double ax = std::fabs(x - g[0]), ay = std::fabs(y - g[1]);
                double star = std::exp(-ay * ay / 1.2) * std::exp(-ax / 9.0) + std::exp(-ax * ax / 1.2) * std::exp(-ay / 7.0);
                star += std::exp(-(ax * ax + ay * ay) / 18.0);
                double a = clamp01(star * g[2]);
                if (a > 0.004) image.at(x, y) = over({1.0, 1.0, 1.0, a}, image.at(x, y));
            }
        }
    }

    // Nothing outside the window may show.
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x)
            if (x < WIN_LEFT + 2 || x > WIN_RIGHT - 2 || y < WIN_TOP + 2 || y > WIN_BOTTOM - 2) image.at(x, y).a = 0;
    return quantise(image, 3);
}
