#pragma once
// The display window and its OpenGL context, one per process, in the steps
// the start-up sequence takes them. Each step reports success; none undoes
// an earlier one, except that a changed display mode is always restored
// (restoreDisplayMode, also run at exit and by the quit signals' path), and
// by the guardian (guardian.h) when the program ends without restoring it.
// The window's destruction by another client, or a lost display connection,
// ends the run (display_loss.h).
// Main thread only; the GL context is current on the thread that made it.

// Step "register the window class": brings up the window system, names the
// window class (WM_CLASS on X11, the app_id on Wayland: the desktop entry's
// id, so that docks match the window with its icon) and asks for the pixel
// format every window of the class gets: double-buffered RGBA, 8 bits a
// channel, 16-bit depth, and a compatibility GL context (immediate mode).
// False when there is no display.
//
// The window system: X11 wherever an X server answers on DISPLAY, in a
// Wayland session too (through XWayland, where the settings dialog also
// shows); Wayland itself when only WAYLAND_DISPLAY is set or X does not
// answer. SDL_VIDEODRIVER (x11 or wayland) chooses otherwise.
bool registerWindowClass(const char *className);

// The size in pixels of the desktop's current mode, for full screen at the
// desktop's own size. Opens the window system for the question alone and
// closes it again, so it may come before registerWindowClass. False, with
// displayFailureReason set, when there is no display.
bool desktopSize(int &width, int &height);

// Whether full screen can really switch the display's mode: X11, but not
// XWayland, whose modes are an emulation (display_configuration.h), and
// not Wayland, which has none. Needs registerWindowClass.
bool displaySwitchesModes();

// Switches the display to width x height for the full-screen window, as a
// temporary mode, and first tells the guardian the configuration to put back.
// False, with nothing changed, when there is no such mode.
bool changeDisplayMode(int width, int height);

// Puts back the mode the display had before changeDisplayMode and tells the
// guardian it is all done (unless the window was lost: SDL's restore is then
// left for the guardian to check); harmless when nothing was changed or it
// was already restored.
void restoreDisplayMode();

enum class WindowKind {
    Windowed,            // resizable, with a frame; client area width x height
    FullScreenMode,      // borderless over the mode changeDisplayMode switched to
    FullScreenDesktop,   // borderless over the whole desktop at its own size,
                         // whatever width x height say; no mode changes
};

// Creates the hidden window: title, client area width x height at 0, 0 (as
// far as the window system lets a client place it).
bool createWindow(const char *title, int width, int height, WindowKind kind);

// Checks that the window got an OpenGL-capable pixel format (the format
// itself was asked for by registerWindowClass; nothing is set here).
bool checkPixelFormat();

// Creates the window's GL context and makes it current.
bool createGLContext();
bool makeGLContextCurrent();

// Shows the window, raises it and gives it the keyboard focus.
void showWindow();

// Hides the mouse cursor over the window (full screen).
void hideCursor();

// Presents the frame drawn into the back buffer; nothing without a window.
void swapBuffers();

// Why the last step that failed failed, in a few words ("" when none did).
const char *displayFailureReason();

// For a step of the display's opening taken above this layer: records
// reason as displayFailureReason and returns false.
bool displayStepFailed(const char *reason);

// The size of the window's client area now, in pixels (0, 0 without a
// window): the window system's own (logical) pixels, which are also those
// of --size, on every path. At a desktop scale above 1 the compositor
// enlarges the window's picture, as it does for every program that draws at
// scale 1 (XWayland's included).
void windowClientSize(int &width, int &height);
