#include "render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "noise.h"

// The machine is shared: two threads are the whole budget.
static const int THREADS = 2;

void parallelRows(int count, const std::function<void(int)> &body) {
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int row = next++; row < count; row = next++) body(row);
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < THREADS; ++i) threads.emplace_back(worker);
    worker();
    for (auto &t : threads) t.join();
}

// Compressed brightness for judging whether samples disagree: differences in
// the highlights matter less than in the shadows, as on screen.
static double perceived(const Vec3 &c) {
    double l = luminance(c);
    return std::sqrt(l / (1.0 + l));
}

FloatImage renderShader(const Shader &shader, const RenderOptions &options) {
    const int w = options.width, h = options.height;
    double pw = 1.0 / w, ph = 1.0 / h;
    FloatImage image(w, h);
    auto clean = [](Vec3 c) {
        c = vmax(c, 0.0);
        return std::isfinite(c.x + c.y + c.z) ? c : Vec3{};
    };
    parallelRows(h, [&](int y) {
        for (int x = 0; x < w; ++x) image.at(x, y) = clean(shader((x + 0.5) * pw, (y + 0.5) * ph));
    });
    // Which pixels need more samples: those unlike any of their neighbours.
    std::vector<double> seen(size_t(w) * h);
    for (size_t i = 0; i < seen.size(); ++i) seen[i] = perceived(image.pixels[i]);
    std::vector<uint8_t> refine(size_t(w) * h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double c = seen[size_t(y) * w + x], diff = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    int nx = std::clamp(x + dx, 0, w - 1), ny = std::clamp(y + dy, 0, h - 1);
                    diff = std::max(diff, std::fabs(seen[size_t(ny) * w + nx] - c));
                }
            // Texture detail gets a 2 x 2 grid; strong edges the full grid.
            refine[size_t(y) * w + x] = diff > options.contrast * 2.5 ? 2 : diff > options.contrast ? 1 : 0;
        }
    }
    const int fullGrid = std::max(1, options.refineGrid);
    parallelRows(h, [&](int y) {
        for (int x = 0; x < w; ++x) {
            int level = refine[size_t(y) * w + x];
            if (level == 0 || fullGrid < 2) continue;
            int grid = level == 2 ? fullGrid : 2;
            Vec3 sum;
            for (int i = 0; i < grid * grid; ++i) {
                double jx = hashUnit(x, y, i * 2, options.seed), jy = hashUnit(x, y, i * 2 + 1, options.seed);
                sum += clean(shader((x + (i % grid + jx) / grid) * pw, (y + (i / grid + jy) / grid) * ph));
            }
            image.at(x, y) = sum / double(grid * grid);
        }
    });
    return image;
}

// Filmic curve (a fit of the ACES reference transform): a gentle toe, a soft
// shoulder, so bright skies and suns roll off instead of clipping.
static double filmicCurve(double x) {
    return clamp01((x * (2.51 * x + 0.03)) / (x * (2.43 * x + 0.59) + 0.14));
}

RgbaImage finishPhoto(const FloatImage &image, const Finish &finish) {
    RgbaImage out(image.width, image.height);
    parallelRows(image.height, [&](int y) {
        for (int x = 0; x < image.width; ++x) {
            Vec3 c = image.at(x, y) * finish.exposure;
            double u = (x + 0.5) / image.width - 0.5, v = (y + 0.5) / image.height - 0.5;
            double r2 = (u * u + v * v) * 2.0;
            c = c * (1.0 - finish.vignette * r2 * r2 * 0.9 - finish.vignette * r2 * 0.35);
            if (finish.saturation != 1.0) {
                double l = luminance(c);
                c = vmax(Vec3{l, l, l} + (c - Vec3{l, l, l}) * finish.saturation, 0.0);
            }
            double channels[3] = {c.x, c.y, c.z};
            double grain = finish.grain * (hashUnit(x, y, 11, finish.seed) + hashUnit(x, y, 12, finish.seed) +
                                           hashUnit(x, y, 13, finish.seed) - 1.5) * 2.0;
            uint8_t *o = out.at(x, y);
            for (int k = 0; k < 3; ++k) {
                double lin = finish.filmic ? filmicCurve(channels[k]) : clamp01(channels[k]);
                double s = linearToSrgb(lin);
                // Grain weighs most in the mid-tones, as on film.
                s += grain * (0.35 + 2.6 * s * (1 - s));
                double dither = hashUnit(x, y, k, finish.seed + 1) + hashUnit(x, y, k + 3, finish.seed + 1) - 1.0;
                o[k] = uint8_t(std::clamp(std::floor(s * 255.0 + 0.5 + dither * 0.5), 0.0, 255.0));
            }
            o[3] = 255;
        }
    });
    return out;
}
