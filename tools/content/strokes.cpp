#include "strokes.h"

#include <algorithm>
#include <cmath>

std::vector<StrokeSegment> strokeSegments(const Stroke &stroke, const std::function<Vec2d(double, double)> &transform,
                                          double halfWidth) {
    std::vector<StrokeSegment> out;
    const double hw = halfWidth * stroke.weight;
    const auto &pts = stroke.points;
    if (pts.empty()) return out;
    if (pts.size() == 1) {
        Vec2d p = transform(pts[0].x, pts[0].y);
        out.push_back({p, p, hw});
        return out;
    }
    // Walk the corners, replacing each rounded one by an arc in design units.
    std::vector<Vec2d> path;
    size_t n = pts.size();
    for (size_t i = 0; i < n; ++i) {
        const StrokePoint &p = pts[i];
        bool endpoint = !stroke.closed && (i == 0 || i == n - 1);
        if (p.round <= 0 || endpoint) {
            path.push_back({p.x, p.y});
            continue;
        }
        const StrokePoint &prev = pts[(i + n - 1) % n], &next = pts[(i + 1) % n];
        double ax = prev.x - p.x, ay = prev.y - p.y, bx = next.x - p.x, by = next.y - p.y;
        double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
        ax /= la; ay /= la; bx /= lb; by /= lb;
        double cosTheta = std::clamp(ax * bx + ay * by, -1.0, 1.0);
        double theta = std::acos(cosTheta);
        if (theta < 1e-3 || theta > PI - 1e-3) {
            path.push_back({p.x, p.y});
            continue;
        }
        // Tangent points at distance t from the corner; never past half an edge.
        double t = std::min({p.round / std::tan(theta / 2), la / 2, lb / 2});
        double radius = t * std::tan(theta / 2);
        Vec2d s{p.x + ax * t, p.y + ay * t}, e{p.x + bx * t, p.y + by * t};
        double bisx = ax + bx, bisy = ay + by, bl = std::hypot(bisx, bisy);
        double cd = radius / std::sin(theta / 2);
        Vec2d c{p.x + bisx / bl * cd, p.y + bisy / bl * cd};
        double a0 = std::atan2(s.y - c.y, s.x - c.x), a1 = std::atan2(e.y - c.y, e.x - c.x);
        double sweep = a1 - a0;
        while (sweep > PI) sweep -= 2 * PI;
        while (sweep < -PI) sweep += 2 * PI;
        int steps = std::max(4, int(std::fabs(sweep) * 8));
        for (int k = 0; k <= steps; ++k) {
            double a = a0 + sweep * k / steps;
            path.push_back({c.x + std::cos(a) * radius, c.y + std::sin(a) * radius});
        }
    }
    if (stroke.closed) path.push_back(path.front());
    for (size_t i = 0; i + 1 < path.size(); ++i)
        out.push_back({transform(path[i].x, path[i].y), transform(path[i + 1].x, path[i + 1].y), hw});
    return out;
}

DistanceField::DistanceField(int w, int h, int os, double r)
    : width(w), height(h), oversample(os), reach(r), field(size_t(w) * os * size_t(h) * os, float(r)) {}

void DistanceField::add(const StrokeSegment &s) {
    double margin = s.halfWidth + reach;
    int x0 = std::max(0, int(std::floor((std::min(s.a.x, s.b.x) - margin) * oversample)));
    int x1 = std::min(width * oversample - 1, int(std::ceil((std::max(s.a.x, s.b.x) + margin) * oversample)));
    int y0 = std::max(0, int(std::floor((std::min(s.a.y, s.b.y) - margin) * oversample)));
    int y1 = std::min(height * oversample - 1, int(std::ceil((std::max(s.a.y, s.b.y) + margin) * oversample)));
    double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y, len2 = dx * dx + dy * dy;
    for (int sy = y0; sy <= y1; ++sy) {
        double py = (sy + 0.5) / oversample;
        float *row = &field[size_t(sy) * width * oversample];
        for (int sx = x0; sx <= x1; ++sx) {
            double px = (sx + 0.5) / oversample;
            double t = len2 > 0 ? std::clamp(((px - s.a.x) * dx + (py - s.a.y) * dy) / len2, 0.0, 1.0) : 0.0;
            double d = std::hypot(px - s.a.x - dx * t, py - s.a.y - dy * t) - s.halfWidth;
            if (d < row[sx]) row[sx] = float(d);
        }
    }
}

void DistanceField::add(const std::vector<StrokeSegment> &segments) {
    for (const StrokeSegment &s : segments) add(s);
}

double DistanceField::sample(double x, double y) const {
    int w = width * oversample, h = height * oversample;
    double fx = std::clamp(x * oversample - 0.5, 0.0, w - 1.001), fy = std::clamp(y * oversample - 0.5, 0.0, h - 1.001);
    int ix = std::min(int(fx), w - 2), iy = std::min(int(fy), h - 2);
    double tx = fx - ix, ty = fy - iy;
    const float *r0 = &field[size_t(iy) * w], *r1 = &field[size_t(iy + 1) * w];
    return mix(mix(r0[ix], r0[ix + 1], tx), mix(r1[ix], r1[ix + 1], tx), ty);
}

void shadeField(RgbaFloatImage &image, const DistanceField &field, int originX, int originY,
                const std::function<Rgba(double x, double y, double distance)> &shade) {
    const int os = field.oversample;
    for (int y = 0; y < field.height; ++y) {
        int iy = y + originY;
        if (iy < 0 || iy >= image.height) continue;
        for (int x = 0; x < field.width; ++x) {
            int ix = x + originX;
            if (ix < 0 || ix >= image.width) continue;
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < os; ++sy) {
                for (int sx = 0; sx < os; ++sx) {
                    double px = x + (sx + 0.5) / os, py = y + (sy + 0.5) / os;
                    Rgba c = shade(px, py, field.at(x, y, sx, sy));
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            double n = os * os;
            Rgba layer{0, 0, 0, a / n};
            if (a > 0) layer = {r / a, g / a, b / a, a / n};
            Rgba &dst = image.at(ix, iy);
            if (layer.a > 0) dst = over(layer, dst);
        }
    }
}
