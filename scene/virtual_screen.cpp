#include "scene/virtual_screen.h"

#include <GL/gl.h>  // immediate-mode quads

#include "platform/clock.h"

uint32_t VirtualScreen::screenWidth = 0;
uint32_t VirtualScreen::screenHeight = 0;
float VirtualScreen::scaleX = 0;
float VirtualScreen::scaleY = 0;

void VirtualScreen::configure(uint32_t width, uint32_t height) {
    screenWidth = width;
    screenHeight = height;
    scaleX = float(width) * (1.0f / VIRTUAL_WIDTH);
    scaleY = float(height) / float(VIRTUAL_HEIGHT);
}

void VirtualScreen::reset() {
    screenWidth = screenHeight = 0;
    scaleX = scaleY = 0;
}

Vec2 VirtualScreen::toGL(uint32_t x, uint32_t y) {
    // Through screen pixels and back: the screen size cancels out.
    float fx = float(x * (1.0 / screenWidth));
    float fy = float(y * (1.0 / screenHeight));
    return {scaleX * fx, scaleY * fy};
}

void drawTexturedQuad(Vec2 position, Vec2 size, Vec2 texMin, Vec2 texMax) {
    const float x = position.x, y = position.y, w = size.x, h = size.y;
    glBegin(GL_QUADS);
    glTexCoord2f(texMin.x, texMin.y);
    glVertex2f(x, y);
    glTexCoord2f(texMin.x, texMax.y);
    glVertex2f(x, y + h);
    glTexCoord2f(texMax.x, texMax.y);
    glVertex2f(x + w, y + h);
    glTexCoord2f(texMax.x, texMin.y);
    glVertex2f(x + w, y);
    glEnd();
}

void drawQuad(Vec2 position, Vec2 size) { drawTexturedQuad(position, size, {0, 0}, {1, 1}); }

namespace {
// The stopwatches' clock while a caller drives it.
struct DrivenClock {
    bool driven = false;
    int64_t ticks = 0;   // performanceFrequency's unit
};
DrivenClock drivenClock;

int64_t stopwatchTicks() { return drivenClock.driven ? drivenClock.ticks : performanceCounter(); }
}  // namespace

void driveStopwatches(int64_t ticks) { drivenClock = {true, ticks}; }

void releaseStopwatches() { drivenClock = DrivenClock{}; }

Stopwatch::Stopwatch() : frequency(performanceFrequency()) {}

void Stopwatch::restart() { start = stopwatchTicks(); }

uint32_t Stopwatch::elapsedMs() const {
    const int64_t now = stopwatchTicks();
    return uint32_t((now - start) * 1000 / frequency);
}
