#include "app/display.h"

#include "app/frame_loop.h"
#include "platform/display_window.h"
#include "platform/message_queue.h"

int32_t displayWidth = 0;
int32_t displayHeight = 0;

bool createDisplay(int32_t width, int32_t height, bool fullscreen) {
    displayWidth = width;
    displayHeight = height;

    if (!registerWindowClass("dorirova")) return false;
    setWindowProcedure(displayWindowProc);

    if (fullscreen) {
        // A size the display lacks fails here, before any window exists.
        if (!changeDisplayMode(width, height)) return false;
        hideCursor();
    }
    if (!createWindow("dorirova", width, height, fullscreen)) return false;
    if (!setPixelFormat()) return false;
    if (!createGLContext()) return false;
    if (!makeGLContextCurrent()) return false;

    showWindow();
    installQuitSignals();
    return true;
}

void releaseDisplay() { restoreDisplayMode(); }
