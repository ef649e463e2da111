#include "platform/display_window.h"

#include <SDL.h>   // window, display mode, GL context
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/display_configuration.h"
#include "platform/display_loss.h"
#include "platform/guardian.h"

namespace {
SDL_Window *window = nullptr;
SDL_GLContext glContext = nullptr;
SDL_DisplayMode fullscreenMode{};
bool modeChanged = false;
std::string failureReason;

bool failWith(std::string reason) {
    failureReason = std::move(reason);
    endDisplaySetUp();   // the set-up ends here
    return false;
}

void restoreAtExit() { restoreDisplayMode(); }

// Brings up SDL's video subsystem on the desktop's window system.
bool startVideo() {
    // Our own handlers turn SIGINT and SIGTERM into a quit message.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Only a desktop's window systems: without one, SDL would fall back to
    // drivers that show nothing anywhere. X11 first, where the settings
    // dialog is too, and the window's loss is watched (display_loss.h).
    // (SDL_VIDEODRIVER still overrides.)
    const bool x11 = std::getenv("DISPLAY"), wayland = std::getenv("WAYLAND_DISPLAY");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, x11 && wayland ? "x11,wayland" : wayland ? "wayland" : "x11");
    // Before SDL's first connection: a display lost while SDL sets up ends
    // the run with our one line, not Xlib's, nor a crash in its exit.
    installDisplayLossHandlers();
    beginDisplaySetUp();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    if (!x11 && !wayland) return failWith("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    return failWith(SDL_GetError());
}
}  // namespace

bool desktopSize(int &width, int &height) {
    width = height = 0;
    if (!startVideo()) return false;
    SDL_DisplayMode mode;
    const bool known = SDL_GetDesktopDisplayMode(0, &mode) == 0;
    if (known) {
        width = mode.w;
        height = mode.h;
    } else {
        failWith(SDL_GetError());
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    endDisplaySetUp();
    return known;
}

bool registerWindowClass(const char *className) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Read when the video subsystem starts, so set before.
    setenv("SDL_VIDEO_X11_WMCLASS", className, 1);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", className, 1);
    if (!startVideo()) return false;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    return true;
}

bool displaySwitchesModes() {
    const char *driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "x11") == 0 && !displayModesEmulated();
}

bool changeDisplayMode(int width, int height) {
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w != width || mode.h != height) continue;
        // Prefer 32 bits per pixel where the display lists several depths.
        if (!modeChanged || SDL_BITSPERPIXEL(mode.format) > SDL_BITSPERPIXEL(fullscreenMode.format)) {
            fullscreenMode = mode;
        }
        if (!modeChanged) {
            // The desktop as it is now, before SDL switches: the guardian puts
            // it back if the program cannot.
            DisplayConfiguration desktop;
            if (readDisplayConfiguration(desktop)) guardianRemember(desktop);
            // A safety net only: the frame loop's shutdown puts the mode back
            // itself, but FLTK and Xlib call exit themselves (a lost display
            // connection), and then this still does.
            std::atexit(restoreAtExit);
        }
        modeChanged = true;
    }
    if (!modeChanged) {
        return failWith("the display offers no " + std::to_string(width) + " x " + std::to_string(height) + " mode");
    }
    return true;
}

void restoreDisplayMode() {
    if (!modeChanged) return;
    modeChanged = false;
    // Leaving full screen makes the window system put back the desktop mode.
    if (window) {
        SDL_SetWindowFullscreen(window, 0);
        SDL_PumpEvents();
    }
    // With its window gone, SDL's restore is not to be trusted: the guardian,
    // left without "all done", checks the mode and puts it back.
    if (!displayWindowLost()) guardianAllDone();
}

bool createWindow(const char *title, int width, int height, WindowKind kind) {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    switch (kind) {
        case WindowKind::Windowed: flags |= SDL_WINDOW_RESIZABLE; break;
        case WindowKind::FullScreenMode: flags |= SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS; break;
        case WindowKind::FullScreenDesktop: flags |= SDL_WINDOW_FULLSCREEN_DESKTOP; break;
    }
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) return failWith(SDL_GetError());
    // Its destruction by another client, or a broken connection, must end
    // the run rather than feed it a stream of errors.
    watchDisplayWindow(window);
    if (kind == WindowKind::FullScreenMode && SDL_SetWindowDisplayMode(window, &fullscreenMode) != 0) {
        return failWith(SDL_GetError());
    }
    return true;
}

bool checkPixelFormat() {
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return true;
    return failWith("the window has no OpenGL pixel format");
}

bool createGLContext() {
    glContext = SDL_GL_CreateContext(window);
    return glContext ? true : failWith(SDL_GetError());
}

bool makeGLContextCurrent() { return SDL_GL_MakeCurrent(window, glContext) == 0 || failWith(SDL_GetError()); }

const char *displayFailureReason() { return failureReason.c_str(); }

bool displayStepFailed(const char *reason) { return failWith(reason); }

void showWindow() {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    endDisplaySetUp();
}

void hideCursor() { SDL_ShowCursor(SDL_DISABLE); }

void swapBuffers() {
    if (window) SDL_GL_SwapWindow(window);
}

void windowClientSize(int &width, int &height) {
    width = height = 0;
    if (window) SDL_GL_GetDrawableSize(window, &width, &height);
}
