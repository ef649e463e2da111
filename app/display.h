#pragma once
// The display: one window of class and title "dorirova" with a current
// OpenGL context, windowed or over a temporary full-screen mode.
#include <cstdint>

extern int32_t displayWidth;    // pixels, the size chosen at start; the viewport keeps it
extern int32_t displayHeight;   // pixels

// Opens the display; true when the window shows with a current GL context,
// false at the first step that fails (nothing earlier is undone, but a
// changed display mode is put back at exit). Runs once, before any GL call.
bool createDisplay(int32_t width, int32_t height, bool fullscreen);

// Puts back a display mode that createDisplay changed for full screen;
// harmless otherwise. The window and its GL context stay to the process end.
void releaseDisplay();
