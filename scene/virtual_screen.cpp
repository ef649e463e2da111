#include "scene/virtual_screen.h"

#include <GL/gl.h>  // immediate-mode quads

#include "platform/clock.h"

namespace {
// The virtual screen's state, one record for the module, with its start values.
struct ScreenState {
    uint32_t screenWidth = 0;    // pixels
    uint32_t screenHeight = 0;   // pixels
    float scaleX = 0;            // screenWidth / 1024
    float scaleY = 0;            // screenHeight / 768
};
ScreenState screen;
}  // namespace

uint32_t VirtualScreen::width() { return screen.screenWidth; }

uint32_t VirtualScreen::height() { return screen.screenHeight; }

void VirtualScreen::configure(uint32_t width, uint32_t height) {
    screen.screenWidth = width;
    screen.screenHeight = height;
    screen.scaleX = float(width) * (1.0f / VIRTUAL_WIDTH);
    screen.scaleY = float(height) / float(VIRTUAL_HEIGHT);
}

void VirtualScreen::reset() { screen = ScreenState{}; }

Vec2 VirtualScreen::toGL(uint32_t x, uint32_t y) {
    // Through screen pixels and back: the screen size cancels out.
    float fx = float(x * (1.0 / screen.screenWidth));
    float fy = float(y * (1.0 / screen.screenHeight));
    return {screen.scaleX * fx, screen.scaleY * fy};
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
