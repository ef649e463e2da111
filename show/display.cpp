#include "show/display.h"

#include <GL/gl.h>   // the kept shape's bars, viewport and scissor

#include "show/scaled_frame.h"
#include "platform/display_window.h"
#include "platform/message_queue.h"
#include "scene/picture_quads.h"
#include "scene/virtual_screen.h"

static DisplaySettings display;

const DisplaySettings &displaySettings() { return display; }

void useDisplaySettings(const DisplaySettings &settings) { display = settings; }

void resetDisplay() { display = DisplaySettings{}; }

bool createDisplay(int32_t width, int32_t height, bool fullscreen) {
    display.width = width;
    display.height = height;
    display.fullscreen = fullscreen;

    if (!registerWindowClass(DISPLAY_APP_ID)) return false;

    WindowKind kind = WindowKind::Windowed;
    if (fullscreen) {
        kind = displaySwitchesModes() ? WindowKind::FullScreenMode : WindowKind::FullScreenDesktop;
        // A size the display lacks fails here, before any window exists.
        if (kind == WindowKind::FullScreenMode && !changeDisplayMode(width, height)) return false;
        hideCursor();
    }
    if (!createWindow("dorirova", width, height, kind)) return false;
    if (!checkPixelFormat()) return false;
    if (!createGLContext()) return false;
    if (!makeGLContextCurrent()) return false;
    if (kind == WindowKind::FullScreenDesktop && !openScaledFrame(width, height)) {
        return displayStepFailed("no frame of that size to draw into");
    }

    showWindow();
    installQuitSignals();
    return true;
}

PictureBox pictureBox(int32_t width, int32_t height) {
    if (!display.keepAspect) return {0, 0, width, height};
    return fitPicture(width, height, int32_t(VIRTUAL_WIDTH), int32_t(VIRTUAL_HEIGHT));
}

void keepPictureShape() {
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    PictureBox box = pictureBox(display.width, display.height);
    // In a frame drawn upside down the box is mirrored, to land where it does in a window.
    if (rowsRunFromTheTop()) box.y = display.height - box.y - box.height;
    glViewport(box.x, box.y, box.width, box.height);
    // The clears stay inside; the layers' quads are held there by the viewport.
    glScissor(box.x, box.y, box.width, box.height);
    glEnable(GL_SCISSOR_TEST);
}

void presentFrame() {
    if (scaledFrameOpen()) {
        int width = 0, height = 0;
        windowClientSize(width, height);   // read each frame: a compositor may size the window late
        const PictureBox box = display.keepAspect
                                   ? fitPicture(width, height, display.width, display.height)
                                   : PictureBox{0, 0, width, height};
        scaleFrameOnto(width, height, box);
    }
    swapBuffers();
}

void releaseDisplay() { restoreDisplayMode(); }
