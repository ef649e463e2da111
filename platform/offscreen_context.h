#pragma once
// An OpenGL context with no window and no display: software Mesa reached
// through EGL's surfaceless platform, drawing into a pixel buffer of a fixed
// size (colour RGBA 8 bits a channel, 16-bit depth, as the window asks for),
// so that frames can be rendered on a server or in CI and read back, the
// same to the bit as a window on the same Mesa shows them.
//
// One per process. Thread rules: create, read and destroy on one thread; the
// context is current on that thread from creation to destruction, and every
// GL call of the program's own goes to it. Needs the program to call GL
// through the system's dispatching libGL (GLVND), not through OSMesa.
#include <cstdint>

// Creates the context and its pixel buffer of width x height pixels
// (1..16384) and makes both current, with the viewport at the full size.
// False, with nothing left made, when there is no such GL on this machine.
bool createOffscreenContext(int32_t width, int32_t height);

// The byte order of the pixels read back. B G R A is how Mesa keeps the
// pixel buffer: it reads back twice as fast as R G B A.
enum class PixelOrder { Rgba, Bgra };

// Waits for the frame to be drawn and copies it into pixels: width x height
// x 4 bytes in that order, bottom row first, rows packed. Needs the context.
void readOffscreenFrame(uint8_t *pixels, PixelOrder order = PixelOrder::Rgba);

// Waits until everything drawn so far is in the pixel buffer. Mesa holds the
// memory of queued drawing (its copies of vertices and state) until then, so
// frames that are drawn but never read back must each be waited for, or that
// memory grows with every frame. Needs the context.
void finishOffscreenFrame();

// Releases the framebuffer and the context; harmless when there is none.
void destroyOffscreenContext();

// Why createOffscreenContext failed last, in a few words ("" when it did not).
const char *offscreenFailureReason();
