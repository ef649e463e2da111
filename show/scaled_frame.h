#pragma once
// Full screen where the display's mode cannot really change (XWayland's
// emulated modes, Wayland's none): the presentation draws at the chosen
// size into a frame of its own, a framebuffer object, exactly as onto a
// screen switched to that mode; each frame is then scaled onto the window,
// which covers the desktop at the desktop's size, as one textured quad.
//
// Nearest filtering: every screen pixel shows one whole pixel of the frame,
// so the pixelated cross-fade keeps its hard block edges and the bitmap font
// its sharp ones, as a monitor in a lower mode shows them.
//
// Needs the current GL context (the window's); main thread only; one frame
// at a time.
#include <cstdint>

#include "show/picture_box.h"

// Makes the frame: width x height pixels, RGBA colour of 8 bits a channel
// and a 16-bit depth buffer, as the window asks for; from now on all drawing
// goes to it. False, with nothing made, when GL cannot provide it (too large,
// out of memory).
bool openScaledFrame(int32_t width, int32_t height);

// Whether a frame is open: the layers draw into it, not into the window.
bool scaledFrameOpen();

// Scales the frame drawn onto the window's own framebuffer, windowWidth x
// windowHeight pixels, into box (the whole window, or the box of the frame's
// shape when it is kept), on black. Leaves the GL state the layers rely on
// as it was, and the frame the target of drawing again; the caller swaps.
void scaleFrameOnto(int32_t windowWidth, int32_t windowHeight, const PictureBox &box);

// Deletes the frame; drawing goes to the window again. Harmless without one.
void closeScaledFrame();
