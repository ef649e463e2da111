#include "platform/display_loss.h"

#include <SDL_syswm.h>   // the X window and raw X events beneath SDL's
#include <X11/Xlib.h>    // error handlers of the connection
#include <dlfcn.h>       // the Wayland client library, as SDL loaded it
#include <unistd.h>   // write, _exit: all that is safe once the connection is gone

#include <atomic>
#include <chrono>
#include <thread>

namespace {

Window watchedWindow = 0;
std::atomic<bool> windowLost{false};
XErrorHandler previousErrorHandler = nullptr;

// The Wayland connection beneath SDL's window, and the client library's
// wl_display_get_error (non-zero once the connection has failed). SDL loads
// the library at run time; the program does not link it.
struct WaylandConnection {
    void *display = nullptr;                   // struct wl_display
    int (*getError)(void *display) = nullptr;
};
WaylandConnection wayland;

// Whether the lost connection's line is out: the main thread or the
// watchdog below writes it, once.
std::atomic<bool> connectionLossTold{false};

// How long the main thread has, once the Wayland connection has failed, to
// end the run through its quit before the watchdog ends the process: within a second in all.
constexpr auto WAYLAND_LOSS_GRACE = std::chrono::milliseconds(500);

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

// Once the compositor is gone, SDL's event dispatch (libdecor's, beneath it)
// may spin for ever and never hand the main thread back to see the quit.
// This thread, detached, watches the connection's error; when the run has
// not ended a grace period after it, it ends the process as a lost X
// connection does. It reads only the connection's error state, which the
// client library guards with its own lock.
void waylandWatchdog() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point failedAt{};
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (wayland.getError(wayland.display) == 0) continue;
        if (failedAt == Clock::time_point{}) failedAt = Clock::now();
        if (Clock::now() - failedAt < WAYLAND_LOSS_GRACE) continue;
        tellDisplayConnectionLost();
        _exit(1);
    }
}

// Finds wl_display_get_error in the client library SDL has loaded already.
void watchWaylandConnection(void *display) {
    void *library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!library) return;   // kept open while watched: SDL holds it too
    wayland.getError = reinterpret_cast<int (*)(void *)>(dlsym(library, "wl_display_get_error"));
    wayland.display = wayland.getError ? display : nullptr;
    if (wayland.display) std::thread(waylandWatchdog).detach();
}

}  // namespace

void watchDisplayWindow(SDL_Window *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info)) return;
    if (info.subsystem == SDL_SYSWM_WAYLAND) {
        watchWaylandConnection(info.info.wl.display);
        return;
    }
    if (info.subsystem != SDL_SYSWM_X11) return;
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

bool displayConnectionLost() { return wayland.display && wayland.getError(wayland.display) != 0; }

void tellDisplayConnectionLost() {
    if (connectionLossTold.exchange(true)) return;
    static const char line[] = "dorirova: the connection to the display was lost\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, sizeof line - 1);
}
