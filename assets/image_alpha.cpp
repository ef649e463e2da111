// measureTransparency: where an image's alpha is 0, and whether it is 255
// everywhere, so that drawing can leave out what cannot show.
#include "assets/image.h"

#include <algorithm>

namespace {

// Alpha of texel (x, y) of an R G B A image.
uint8_t alphaAt(const Image &t, uint32_t x, uint32_t y) {
    return t.pixels[(size_t(y) * t.textureWidth + x) * 4 + 3];
}

// The run of alpha-0 texels through (x, y) along a row (dx 1) or a column
// (dy 1), within the image: [*from, *to).
void clearRunThrough(const Image &t, uint32_t x, uint32_t y, bool alongRow, uint32_t *from, uint32_t *to) {
    const uint32_t limit = alongRow ? t.imageWidth : t.imageHeight;
    auto clear = [&](uint32_t i) { return alphaAt(t, alongRow ? i : x, alongRow ? y : i) == 0; };
    uint32_t start = alongRow ? x : y, end = start;
    while (start > 0 && clear(start - 1)) --start;
    while (end < limit && clear(end)) ++end;
    *from = start;
    *to = end;
}

// The rectangle the middle row's and column's clear runs span, if every
// texel in it is alpha 0; else empty.
TexelRect clearMiddleOf(const Image &t) {
    const uint32_t mx = t.imageWidth / 2, my = t.imageHeight / 2;
    if (alphaAt(t, mx, my) != 0) return {};
    TexelRect rect;
    clearRunThrough(t, mx, my, true, &rect.x0, &rect.x1);
    clearRunThrough(t, mx, my, false, &rect.y0, &rect.y1);
    for (uint32_t y = rect.y0; y < rect.y1; ++y) {
        for (uint32_t x = rect.x0; x < rect.x1; ++x) {
            if (alphaAt(t, x, y) != 0) return {};
        }
    }
    return rect;
}

}  // namespace

void measureTransparency(Image &t) {
    t.shown = {0, 0, t.textureWidth, t.textureHeight};
    t.clearMiddle = {};
    t.opaque = !t.hasAlpha;
    if (!t.hasAlpha || !t.pixels) return;
    bool opaque = true;
    TexelRect shown{t.textureWidth, t.textureHeight, 0, 0};
    for (uint32_t y = 0; y < t.textureHeight; ++y) {
        // The row's first and last texel of alpha above 0.
        uint32_t first = 0, end = t.textureWidth;
        while (first < end && alphaAt(t, first, y) == 0) ++first;
        while (end > first && alphaAt(t, end - 1, y) == 0) --end;
        for (uint32_t x = 0; opaque && x < t.textureWidth; ++x) opaque = alphaAt(t, x, y) == 255;
        if (first == end) continue;
        shown = {std::min(shown.x0, first), std::min(shown.y0, y), std::max(shown.x1, end), y + 1};
    }
    t.opaque = opaque;
    t.shown = shown.empty() ? TexelRect{} : shown;
    t.clearMiddle = clearMiddleOf(t);
}
