// Pictures drawn in the parts that show.
#include "scene/picture_quads.h"

#include <GL/gl.h>    // blending and the scissor test
#include <GL/glext.h> // the clip origin (GL 4.5)

#include <algorithm>
#include <cmath>

namespace {

// The whole picture, in its own pixels.
PixelRect window() { return {0, 0, int(VirtualScreen::width()), int(VirtualScreen::height())}; }

// How a quad maps its texture onto the window, per axis: window pixel of a
// texel coordinate.
struct QuadMapping {
    double origin, extent;       // the quad's edge and size, window pixels
    double texMin, texMax;       // its texture window, texture coordinates
    uint32_t texels;             // the texture's texels along the axis

    double pixelOf(double texel) const {
        return origin + (texel / texels - texMin) / (texMax - texMin) * extent;
    }
};

// The pixels that may sample texels [from, to): a texel and a pixel more all
// round. Texels at an edge of the texture reach the other edge (the texture
// repeats): then the whole axis.
void pixelsReaching(const QuadMapping &m, uint32_t from, uint32_t to, int windowSize, int *x0, int *x1) {
    if (from == 0 || to >= m.texels) {
        *x0 = 0;
        *x1 = windowSize;
        return;
    }
    const double a = m.pixelOf(from - 1.0), b = m.pixelOf(to + 1.0);
    *x0 = std::max(0, int(std::floor(std::min(a, b))) - 1);
    *x1 = std::min(windowSize, int(std::ceil(std::max(a, b))) + 1);
}

// The pixels that sample texels within [from, to) alone: a texel and a pixel
// less all round.
void pixelsWithin(const QuadMapping &m, uint32_t from, uint32_t to, int *x0, int *x1) {
    const double a = m.pixelOf(from + 1.0), b = m.pixelOf(to - 1.0);
    *x0 = int(std::ceil(std::min(a, b))) + 1;
    *x1 = int(std::floor(std::max(a, b))) - 1;
}

// Holds drawing to a rectangle of the picture's pixels. The scissor counts
// the buffer's pixels, and the picture lies where the viewport puts it: at
// its corner, and upside down in a buffer whose rows run from the top.
void scissorTo(const PixelRect &rect) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int y = rowsRunFromTheTop() ? viewport[1] + viewport[3] - rect.y1 : viewport[1] + rect.y0;
    glScissor(viewport[0] + rect.x0, y, rect.x1 - rect.x0, rect.y1 - rect.y0);
}

// Draws the quad in the pixels of bounds outside hole, as up to four strips.
void drawCut(Vec2 position, Vec2 size, Vec2 texMin, Vec2 texMax, PixelRect bounds, PixelRect hole) {
    const PixelRect all = window();
    hole = {std::max(hole.x0, bounds.x0), std::max(hole.y0, bounds.y0), std::min(hole.x1, bounds.x1),
            std::min(hole.y1, bounds.y1)};
    if (hole.empty() && bounds.x0 <= all.x0 && bounds.y0 <= all.y0 && bounds.x1 >= all.x1 && bounds.y1 >= all.y1) {
        drawTexturedQuad(position, size, texMin, texMax);
        return;
    }
    if (hole.empty()) hole = {bounds.x0, bounds.y0, bounds.x0, bounds.y0};
    const PixelRect strips[] = {
        {bounds.x0, bounds.y0, bounds.x1, hole.y0},   // below the hole
        {bounds.x0, hole.y1, bounds.x1, bounds.y1},   // above it
        {bounds.x0, hole.y0, hole.x0, hole.y1},       // left of it
        {hole.x1, hole.y0, bounds.x1, hole.y1},       // right of it
    };
    glEnable(GL_SCISSOR_TEST);
    for (const PixelRect &strip : strips) {
        if (strip.empty()) continue;
        scissorTo(strip);
        drawTexturedQuad(position, size, texMin, texMax);
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

bool rowsRunFromTheTop() {
    GLint clipOrigin = GL_LOWER_LEFT;   // where GL lacks clip control, the query fails and leaves it
    glGetIntegerv(GL_CLIP_ORIGIN, &clipOrigin);
    return clipOrigin == GL_UPPER_LEFT;
}

PixelRect pixelsInside(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    const Vec2 from = VirtualScreen::toGL(x, y), to = VirtualScreen::toGL(x + width, y + height);
    const double w = VirtualScreen::width(), h = VirtualScreen::height();
    return {int(std::ceil(from.x * w)) + 1, int(std::ceil(from.y * h)) + 1, int(std::floor(to.x * w)) - 1,
            int(std::floor(to.y * h)) - 1};
}

void drawPicture(const Texture &picture, Vec2 position, Vec2 size, Vec2 texMin, Vec2 texMax, PixelRect covered) {
    const bool blending = glIsEnabled(GL_BLEND);
    if (picture.opaque) {
        glDisable(GL_BLEND);   // it replaces what lies beneath either way
        drawCut(position, size, texMin, texMax, window(), covered);
        if (blending) glEnable(GL_BLEND);
        return;
    }
    if (!blending) {
        // Without blending even clear texels are written: all of it.
        drawCut(position, size, texMin, texMax, window(), covered);
        return;
    }
    const QuadMapping across{position.x * VirtualScreen::width(), size.x * VirtualScreen::width(),
                             texMin.x, texMax.x, picture.textureWidth};
    const QuadMapping up{position.y * VirtualScreen::height(), size.y * VirtualScreen::height(), texMin.y,
                         texMax.y, picture.textureHeight};
    if (picture.shown.empty()) return;   // clear throughout: nothing changes
    PixelRect bounds;
    pixelsReaching(across, picture.shown.x0, picture.shown.x1, int(VirtualScreen::width()), &bounds.x0, &bounds.x1);
    pixelsReaching(up, picture.shown.y0, picture.shown.y1, int(VirtualScreen::height()), &bounds.y0, &bounds.y1);
    PixelRect hole = covered;
    if (hole.empty() && !picture.clearMiddle.empty()) {
        pixelsWithin(across, picture.clearMiddle.x0, picture.clearMiddle.x1, &hole.x0, &hole.x1);
        pixelsWithin(up, picture.clearMiddle.y0, picture.clearMiddle.y1, &hole.y0, &hole.y1);
    }
    drawCut(position, size, texMin, texMax, bounds, hole);
}

void drawOpaqueQuad(Vec2 position, Vec2 size) {
    const bool blending = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    drawQuad(position, size);
    if (blending) glEnable(GL_BLEND);
}
