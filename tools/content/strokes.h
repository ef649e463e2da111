#pragma once
// Shapes drawn as thick strokes, the basis of every letter in the graphics:
// polylines with optionally rounded corners become a field of signed
// distances (negative inside a stroke), sampled several times per pixel, and
// a shading function turns each sample into colour and coverage. Outlines,
// glows, bevels and shadows all come from the same field.
#include <functional>
#include <vector>

#include "image.h"

// A corner of a polyline; `round` is the radius of the arc that replaces the
// corner (0 keeps it sharp). Units are those of the design it belongs to.
struct StrokePoint {
    double x = 0, y = 0, round = 0;
};

// A polyline (a single point draws a dot). weight scales the stroke's width.
struct Stroke {
    std::vector<StrokePoint> points;
    bool closed = false;
    double weight = 1.0;
};

// A straight piece of stroke in pixel coordinates, with its half width.
struct StrokeSegment {
    Vec2d a, b;
    double halfWidth;   // pixels
};

// Replaces rounded corners by arcs and cuts the polyline into segments.
// transform maps design coordinates to pixels; halfWidth is for weight 1.
std::vector<StrokeSegment> strokeSegments(const Stroke &stroke, const std::function<Vec2d(double, double)> &transform,
                                          double halfWidth);

// Signed distances to the nearest stroke's edge, sampled `oversample` times
// per pixel along each axis (negative inside).
class DistanceField {
public:
    DistanceField(int width, int height, int oversample, double reach);
    // Only samples within `reach` pixels of the stroke's edge are updated;
    // farther ones keep the value `reach`.
    void add(const StrokeSegment &segment);
    void add(const std::vector<StrokeSegment> &segments);
    // The distance at subsample (sx, sy) of pixel (x, y).
    double at(int x, int y, int sx, int sy) const {
        return field[(size_t(y) * oversample + sy) * size_t(width) * oversample + size_t(x) * oversample + sx];
    }
    // The distance at any point in pixels, bilinearly between samples.
    double sample(double x, double y) const;

    const int width, height, oversample;
    const double reach;

private:
    std::vector<float> field;
};

// Shades every subsample of the field: shade(x, y, distance) gives a colour
// with coverage at pixel coordinates (x, y); the subsamples of each pixel
// are averaged (premultiplied) and composited over what `image` holds.
void shadeField(RgbaFloatImage &image, const DistanceField &field, int originX, int originY,
                const std::function<Rgba(double x, double y, double distance)> &shade);
