// photoPlacement and PhotoScaler: a separable filter over rows that come one
// at a time; only the rows the next output row still needs are kept, already
// filtered across (a few rows of the output's width).
#include "assets/photo_scaling.h"

#include <algorithm>
#include <cmath>
#include <new>

PhotoPlacement photoPlacement(uint32_t width, uint32_t height, int orientation, uint32_t side, PhotoFit fit) {
    const bool turned = orientation >= 5;
    const double across = turned ? height : width, down = turned ? width : height;  // as shown
    const double scale = fit == PhotoFit::Inside ? side / std::max(across, down) : side / std::min(across, down);
    const auto scaled = [&](double length) {
        return uint32_t(std::clamp(std::lround(length * scale), 1L, long(side)));
    };
    PhotoPlacement placement;
    placement.width = scaled(width);
    placement.height = scaled(height);
    placement.shownX = std::min(1.0, side / (width * scale));
    placement.shownY = std::min(1.0, side / (height * scale));
    return placement;
}

PhotoScaler::Axis PhotoScaler::makeAxis(uint32_t sourceLength, double shown, uint32_t outLength) {
    Axis axis;
    const double span = sourceLength * shown, start = (sourceLength - span) / 2;
    const double step = span / outLength;   // source pixels per output pixel
    const long lastSource = long(sourceLength) - 1;
    std::vector<float> taps;
    for (uint32_t i = 0; i < outLength; ++i) {
        long from = 0;
        taps.clear();
        if (step >= 1) {
            // The source area [a, b) that output pixel i covers, each source
            // pixel weighted by how much of it lies inside.
            const double a = start + i * step, b = a + step;
            from = long(std::floor(a));
            for (long k = from; k < b; ++k) taps.push_back(float(std::min(b, k + 1.0) - std::max(a, double(k))));
        } else {
            // Between the two source pixels around the output pixel's centre.
            const double centre = start + (i + 0.5) * step - 0.5;
            from = long(std::floor(centre));
            const float along = float(centre - from);
            taps = {1 - along, along};
        }
        // Taps beyond the picture's edges count for the edge pixel.
        while (from < 0 && taps.size() > 1) {
            taps[1] += taps[0];
            taps.erase(taps.begin());
            ++from;
        }
        from = std::clamp(from, 0L, lastSource);
        while (from + long(taps.size()) - 1 > lastSource && taps.size() > 1) {
            taps[taps.size() - 2] += taps.back();
            taps.pop_back();
        }
        float total = 0;
        for (float weight : taps) total += weight;
        axis.first.push_back(uint32_t(from));
        axis.taps.push_back(uint32_t(taps.size()));
        axis.offset.push_back(uint32_t(axis.weights.size()));
        for (float weight : taps) axis.weights.push_back(total > 0 ? weight / total : 1.0f / taps.size());
    }
    return axis;
}

PhotoScaler::PhotoScaler(uint32_t width, uint32_t height, const PhotoPlacement &placement, int orientation,
                         uint32_t side)
    : outX(makeAxis(width, placement.shownX, placement.width)),
      outY(makeAxis(height, placement.shownY, placement.height)), squareSide(side), orientation(orientation) {
    uint32_t window = 1;
    for (uint32_t taps : outY.taps) window = std::max(window, taps);
    ring.assign(window, std::vector<float>(size_t(placement.width) * 3));
    const size_t bytes = size_t(side) * side * 4;
    square.reset(new (std::nothrow) uint8_t[bytes]);
    if (!square) return;
    for (size_t k = 0; k < bytes; k += 4) {
        square[k] = square[k + 1] = square[k + 2] = 0;
        square[k + 3] = 255;
    }
}

void PhotoScaler::addRow(const uint8_t *rgb) {
    const uint32_t y = nextSource++;
    if (complete() || y < outY.first[nextOut]) return;   // cut off, or above every row still to come
    std::vector<float> &filtered = ring[y % ring.size()];
    for (uint32_t i = 0; i < outX.length(); ++i) {
        const float *weight = &outX.weights[outX.offset[i]];
        const uint8_t *source = rgb + size_t(outX.first[i]) * 3;
        float r = 0, g = 0, b = 0;
        for (uint32_t k = 0; k < outX.taps[i]; ++k, source += 3) {
            r += weight[k] * source[0];
            g += weight[k] * source[1];
            b += weight[k] * source[2];
        }
        filtered[i * 3] = r;
        filtered[i * 3 + 1] = g;
        filtered[i * 3 + 2] = b;
    }
    while (!complete() && outY.last(nextOut) <= y) emitRow(nextOut++);
}

// Sums output row j (of the stored picture, top first) from the kept rows,
// and writes it where the orientation turns it, in the square's middle.
void PhotoScaler::emitRow(uint32_t j) {
    const uint32_t width = outX.length(), height = outY.length();
    const bool turned = orientation >= 5;
    const uint32_t shownWidth = turned ? height : width, shownHeight = turned ? width : height;
    const uint32_t side = squareSide;
    const uint32_t left = (side - shownWidth) / 2, top = (side - shownHeight) / 2;
    const float *weight = &outY.weights[outY.offset[j]];
    for (uint32_t i = 0; i < width; ++i) {
        float sum[3] = {0, 0, 0};
        for (uint32_t k = 0; k < outY.taps[j]; ++k) {
            const float *filtered = &ring[(outY.first[j] + k) % ring.size()][i * 3];
            for (int c = 0; c < 3; ++c) sum[c] += weight[k] * filtered[c];
        }
        // Column i of row j, shown at (x, y) from the top-left.
        const uint32_t flippedI = width - 1 - i, flippedJ = height - 1 - j;
        uint32_t x = i, y = j;
        switch (orientation) {
            case 2: x = flippedI; break;
            case 3: x = flippedI; y = flippedJ; break;
            case 4: y = flippedJ; break;
            case 5: x = j; y = i; break;
            case 6: x = flippedJ; y = i; break;
            case 7: x = flippedJ; y = flippedI; break;
            case 8: x = j; y = flippedI; break;
            default: break;
        }
        uint8_t *out = &square[((size_t(side) - 1 - top - y) * side + left + x) * 4];
        for (int c = 0; c < 3; ++c) out[c] = uint8_t(std::clamp(std::lround(sum[c]), 0L, 255L));
    }
}
