#include "platform/display_loss.h"

#include <SDL_syswm.h>   // the X window and raw X events beneath SDL's
#include <X11/Xlib.h>    // error handlers of the connection
#include <unistd.h>   // write, _exit: all that is safe once the connection is gone

#include <atomic>

namespace {

Window watchedWindow = 0;
std::atomic<bool> windowLost{false};
XErrorHandler previousErrorHandler = nullptr;

int onXError(Display *display, XErrorEvent *error) {
    if (windowLost.load()) return 0;   // an echo of the loss
    // The window's id names its GL drawable too, so GLX reports the loss with an
    // extension error code of its own (GLXBadDrawable) as often as the core does.
    const bool aboutTheWindow = error->error_code == BadWindow || error->error_code == BadDrawable ||
                                error->error_code >= FirstExtensionError;
    if (aboutTheWindow && error->resourceid == watchedWindow) {
        windowLost.store(true);
        return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

// Xlib must not get control back from here: it would exit through the atexit
// handlers, which would talk to the dead connection again.
[[noreturn]] int onConnectionLost(Display *) {
    static const char line[] = "dorirova: the connection to the display was lost\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
    _exit(1);
}

}  // namespace

void watchDisplayWindow(SDL_Window *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    watchedWindow = info.info.x11.window;
    windowLost.store(false);
    XErrorHandler previous = XSetErrorHandler(onXError);
    if (previous != onXError) previousErrorHandler = previous;
    XSetIOErrorHandler(onConnectionLost);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool noteDisplayEvent(const SDL_Event &event) {
    if (event.type != SDL_SYSWMEVENT) return false;
    if (event.syswm.msg && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent &raw = event.syswm.msg->msg.x11.event;
        if (raw.type == DestroyNotify && raw.xdestroywindow.window == watchedWindow) windowLost.store(true);
    }
    return true;
}

bool displayWindowLost() { return windowLost.load(); }
