#include "app/display.h"

#include "app/frame_loop.h"
#include "platform/display_window.h"
#include "platform/message_queue.h"

DisplayState display;

void resetDisplay() { display = DisplayState{}; }

bool createDisplay(int32_t width, int32_t height, bool fullscreen) {
    display.displayWidth = width;
    display.displayHeight = height;

    if (!registerWindowClass("dorirova")) return false;
    setWindowProcedure(displayWindowProc);

    if (fullscreen) {
        // A size the display lacks fails here, before any window exists.
        if (!changeDisplayMode(width, height)) return false;
        hideCursor();
    }
    if (!createWindow("dorirova", width, height, fullscreen)) return false;
    if (!checkPixelFormat()) return false;
    if (!createGLContext()) return false;
    if (!makeGLContextCurrent()) return false;

    showWindow();
    installQuitSignals();
    return true;
}

void releaseDisplay() { restoreDisplayMode(); }
