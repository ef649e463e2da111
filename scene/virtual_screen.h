#pragma once
// The virtual screen: a fixed 1024 x 768 design space (origin bottom-left,
// y upwards) stretched onto whatever resolution was chosen; the quad routine
// and the millisecond stopwatch the layers draw and time themselves with.
#include <cstdint>

constexpr uint32_t VIRTUAL_WIDTH = 1024;   // virtual pixels
constexpr uint32_t VIRTUAL_HEIGHT = 768;   // virtual pixels

// A point or an extent in GL units: the viewport is the unit square,
// (0, 0) bottom-left, (1, 1) top-right.
struct Vec2 {
    float x = 0;
    float y = 0;
};

// The chosen display size and its scale against the virtual screen, kept
// privately; configure and reset set them.
class VirtualScreen {
public:
    // The screen's size, pixels.
    static uint32_t width();
    static uint32_t height();

    // Records the display size; runs once at scene set-up, before any layer exists.
    static void configure(uint32_t width, uint32_t height);
    // Back to the start values: no size, no scale (0 everywhere).
    static void reset();
    // Virtual pixels to GL units, a pure scaling: serves for points and extents.
    // (1024, 768) maps to (1, 1) at every resolution.
    static Vec2 toGL(uint32_t x, uint32_t y);
};

// One textured rectangle with the current texture and colour: its bottom-left
// corner at position, its extent size (GL units), and the texture window from
// texMin at the bottom-left corner to texMax at the top-right. Corners go
// bottom-left, top-left, top-right, bottom-right. Needs the current GL context.
void drawTexturedQuad(Vec2 position, Vec2 size, Vec2 texMin, Vec2 texMax);

// drawTexturedQuad with the whole texture: (0, 0) to (1, 1).
void drawQuad(Vec2 position, Vec2 size);

// The clock every stopwatch reads: the performance counter, unless its
// caller drives it (a recording, at each frame's presentation time; tests and
// benchmarks): from driveStopwatches on, the ticks it was last given, in the
// counter's unit; releaseStopwatches gives them back to the counter.
// Main thread only.
void driveStopwatches(int64_t ticks);
void releaseStopwatches();

// Milliseconds since the last restart, on the stopwatches' clock.
class Stopwatch {
public:
    Stopwatch();                 // reads the counter's frequency; start is 0
    void restart();              // start = now
    uint32_t elapsedMs() const;  // whole milliseconds since start, modulo 2^32

private:
    int64_t start = 0;           // counter ticks at the last restart
    int64_t frequency;           // counter ticks per second
};
