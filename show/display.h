#pragma once
// The display: one window of class and title "dorirova" with a current
// OpenGL context, windowed or in full screen. Full screen switches the
// display to a temporary mode where the display really has modes (X11);
// where they are emulated or absent (XWayland, Wayland), the window covers
// the desktop at its own size and each frame, drawn at the chosen size, is
// scaled onto it (scaled_frame.h): the viewer sees the same either way.
#include <cstdint>

#include "show/picture_box.h"

// The display's state, one record for the module (kept in it), with its start values.
struct DisplayState {
    int32_t displayWidth = 0;    // pixels, the size chosen at start; the viewport keeps it
    int32_t displayHeight = 0;   // pixels
    bool keepAspect = false;     // the 4:3 picture keeps its shape, with black bars
};

// The display's state as it stands.
const DisplayState &displayState();

// The size frames are drawn at, and whether the picture keeps its shape:
// set before the scene (its picture box depends on them), and for frames
// drawn without a display (recordings, tests) in place of createDisplay.
void useDisplaySize(int32_t width, int32_t height, bool keepAspect);

// The desktop entry's id: the window's class on X11, its app_id on Wayland.
constexpr const char *DISPLAY_APP_ID = "org.krv.dorirova";

// Forgets the chosen size (back to 0 x 0); the window, if any, stays.
void resetDisplay();

// Opens the display; true when the window shows with a current GL context,
// false at the first step that fails (nothing earlier is undone, but a
// changed display mode is put back at exit). Runs once, before any GL call.
// The shape kept is the one useDisplaySize set.
bool createDisplay(int32_t width, int32_t height, bool fullscreen);

// Where the picture goes in a frame of width x height: all of it, or with
// keepAspect the box of the virtual screen's 4:3 shape, centred.
PictureBox pictureBox(int32_t width, int32_t height);

// With keepAspect, at the start of each frame: the frame cleared black,
// then the viewport and the scissor on the box of the virtual screen's 4:3
// shape, so that nothing the layers draw or clear goes beyond it.
void keepPictureShape();

// Presents the frame drawn: scaled onto the window first when it was drawn
// into a frame of its own, stretched over the whole window, or as the
// largest box of its own shape with keepAspect.
void presentFrame();

// Puts back a display mode that createDisplay changed for full screen;
// harmless otherwise. The window and its GL context stay to the process end.
void releaseDisplay();
