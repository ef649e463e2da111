#pragma once
// The display: one window of class and title "dorirova" with a current
// OpenGL context, windowed or in full screen. Full screen switches the
// display to a temporary mode where the display really has modes (X11);
// where they are emulated or absent (XWayland, Wayland), the window covers
// the desktop at its own size and each frame, drawn at the chosen size, is
// scaled onto it (scaled_frame.h): the viewer sees the same either way.
#include <cstdint>

#include "show/picture_box.h"

// The viewer's choices: the one record of the chosen size, made at start-up
// (by the dialog or the command line) and passed down. The initial values
// stand when nothing overwrites them.
struct DisplaySettings {
    int32_t width = 1024;      // pixels; frames are drawn at this size, the viewport keeps it
    int32_t height = 768;      // pixels
    bool fullscreen = false;   // full screen rather than a window
    bool keepAspect = false;   // the 4:3 picture keeps its shape, with black bars
};

// The settings the display works with, as the module keeps them.
const DisplaySettings &displaySettings();

// Hands the module the settings: before the scene (its picture box depends
// on them), and for frames drawn without a display (recordings, tests) in
// place of opening one.
void useDisplaySettings(const DisplaySettings &settings);

// The desktop entry's id: the window's class on X11, its app_id on Wayland.
constexpr const char *DISPLAY_APP_ID = "org.krv.dorirova";

// Back to the start values; the window, if any, stays.
void resetDisplay();

// Opens the display; true when the window shows with a current GL context,
// false at the first step that fails (nothing earlier is undone, but a
// changed display mode is put back at exit). Runs once, before any GL call.
// The size and full screen are the settings', which it keeps, as it keeps
// the shape the settings ask for.
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
