#include "image.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

RgbaImage quantise(const RgbaFloatImage &image, uint32_t seed) {
    RgbaImage out(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba &p = image.at(x, y);
            uint8_t *o = out.at(x, y);
            double channels[4] = {p.r, p.g, p.b, p.a};
            for (int c = 0; c < 4; ++c) {
                double v = clamp01(channels[c]);
                if (c == 3 && (v == 0.0 || v == 1.0)) {
                    o[c] = uint8_t(v * 255);
                    continue;
                }
                double dither = hashUnit(x, y, c, seed) + hashUnit(x, y, c + 4, seed) - 1.0;
                o[c] = uint8_t(std::clamp(std::floor(v * 255.0 + 0.5 + dither * 0.5), 0.0, 255.0));
            }
        }
    }
    return out;
}

Rgba over(const Rgba &top, const Rgba &bottom) {
    double a = top.a + bottom.a * (1 - top.a);
    if (a <= 0) return {top.r, top.g, top.b, 0};
    auto ch = [&](double t, double b) { return (t * top.a + b * bottom.a * (1 - top.a)) / a; };
    return {ch(top.r, bottom.r), ch(top.g, bottom.g), ch(top.b, bottom.b), a};
}

RgbaImage resize(const RgbaImage &image, int width, int height) {
    RgbaImage out(width, height);
    double sx = double(image.width) / width, sy = double(image.height) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double acc[4] = {0, 0, 0, 0}, weight = 0;
            if (sx >= 1 && sy >= 1) {
                // Average the source pixels under the target pixel, colour
                // weighted by alpha so transparent pixels do not darken edges.
                int x0 = int(x * sx), x1 = std::max(x0 + 1, int((x + 1) * sx));
                int y0 = int(y * sy), y1 = std::max(y0 + 1, int((y + 1) * sy));
                for (int v = y0; v < std::min(y1, image.height); ++v) {
                    for (int u = x0; u < std::min(x1, image.width); ++u) {
                        const uint8_t *p = image.at(u, v);
                        double a = p[3] / 255.0;
                        for (int c = 0; c < 3; ++c) acc[c] += srgbToLinear(p[c] / 255.0) * a;
                        acc[3] += a;
                        weight += 1;
                    }
                }
                uint8_t *o = out.at(x, y);
                for (int c = 0; c < 3; ++c) o[c] = uint8_t(std::lround(linearToSrgb(acc[3] > 0 ? acc[c] / acc[3] : 0) * 255));
                o[3] = uint8_t(std::lround(acc[3] / weight * 255));
            } else {
                double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, image.width - 1.0);
                double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, image.height - 1.0);
                int ix = std::min(int(fx), image.width - 2), iy = std::min(int(fy), image.height - 2);
                double tx = fx - ix, ty = fy - iy;
                uint8_t *o = out.at(x, y);
                for (int c = 0; c < 4; ++c) {
                    double a = mix(image.at(ix, iy)[c], image.at(ix + 1, iy)[c], tx);
                    double b = mix(image.at(ix, iy + 1)[c], image.at(ix + 1, iy + 1)[c], tx);
                    o[c] = uint8_t(std::lround(mix(a, b, ty)));
                }
            }
        }
    }
    return out;
}

void blit(RgbaImage &dst, const RgbaImage &src, int x, int y) {
    for (int v = 0; v < src.height; ++v) {
        int ty = y + v;
        if (ty < 0 || ty >= dst.height) continue;
        for (int u = 0; u < src.width; ++u) {
            int tx = x + u;
            if (tx < 0 || tx >= dst.width) continue;
            const uint8_t *s = src.at(u, v);
            uint8_t *d = dst.at(tx, ty);
            double a = s[3] / 255.0;
            for (int c = 0; c < 3; ++c) {
                double lin = srgbToLinear(s[c] / 255.0) * a + srgbToLinear(d[c] / 255.0) * (1 - a);
                d[c] = uint8_t(std::lround(linearToSrgb(lin) * 255));
            }
            d[3] = uint8_t(std::lround(255 * (a + d[3] / 255.0 * (1 - a))));
        }
    }
}

static void boxBlurLine(const double *in, double *out, int n, int stride, int radius) {
    double sum = 0;
    auto sample = [&](int i) { return in[std::clamp(i, 0, n - 1) * stride]; };
    for (int i = -radius; i <= radius; ++i) sum += sample(i);
    for (int i = 0; i < n; ++i) {
        out[i * stride] = sum / (2 * radius + 1);
        sum += sample(i + radius + 1) - sample(i - radius);
    }
}

void blurChannel(std::vector<double> &channel, int width, int height, int radius, int passes) {
    std::vector<double> tmp(channel.size());
    for (int p = 0; p < passes; ++p) {
        for (int y = 0; y < height; ++y) boxBlurLine(&channel[size_t(y) * width], &tmp[size_t(y) * width], width, 1, radius);
        for (int x = 0; x < width; ++x) boxBlurLine(&tmp[x], &channel[x], height, width, radius);
    }
}
