#pragma once
// The display: one window of class and title "dorirova" with a current
// OpenGL context, windowed or over a temporary full-screen mode.
#include <cstdint>

// The display's state, one record for the module, with its start values.
struct DisplayState {
    int32_t displayWidth = 0;    // pixels, the size chosen at start; the viewport keeps it
    int32_t displayHeight = 0;   // pixels
};
extern DisplayState display;

// Forgets the chosen size (back to 0 x 0); the window, if any, stays.
void resetDisplay();

// Opens the display; true when the window shows with a current GL context,
// false at the first step that fails (nothing earlier is undone, but a
// changed display mode is put back at exit). Runs once, before any GL call.
bool createDisplay(int32_t width, int32_t height, bool fullscreen);

// Puts back a display mode that createDisplay changed for full screen;
// harmless otherwise. The window and its GL context stay to the process end.
void releaseDisplay();
