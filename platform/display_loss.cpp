#include "platform/display_loss.h"

#include <SDL_syswm.h>   // the X window and raw X events beneath SDL's
#include <X11/Xlib.h>    // error handlers of the connection
#include <dlfcn.h>       // the Wayland client library, as SDL loaded it
#include <sys/socket.h>  // asking the server's socket whether it still listens
#include <sys/un.h>
#include <unistd.h>   // write, _exit: all that is safe once the connection is gone

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

std::atomic<Window> watchedWindow{0};
std::atomic<bool> windowLost{false};
bool errorHandlerInstalled = false;
XErrorHandler previousErrorHandler = nullptr;

// The Wayland connection beneath SDL's window, and the client library's
// wl_display_get_error (non-zero once the connection has failed). SDL loads
// the library at run time; the program does not link it.
struct WaylandConnection {
    void *display = nullptr;                   // struct wl_display
    int (*getError)(void *display) = nullptr;
};
WaylandConnection wayland;

// Whether the lost connection's line is out: the main thread, the watchdog
// below or a signal handler writes it, once.
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
    const Window watched = watchedWindow.load();
    if (aboutTheWindow && watched != 0 && error->resourceid == watched) {
        windowLost.store(true);
        return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

// Safe in a signal handler, and needing nothing of the dead connection.
[[noreturn]] void endForLostConnection() {
    tellDisplayConnectionLost();
    _exit(1);
}

// Xlib must not get control back from here: it would exit through the atexit
// handlers, which would talk to the dead connection again.
[[noreturn]] int onConnectionLost(Display *) { endForLostConnection(); }

// ---- Faults while the display is set up.

// Where the local X server of DISPLAY (":N", "unix:N") listens: its socket
// in the abstract namespace and its file; worked out before any fault.
struct ServerAddress {
    bool known = false;
    sockaddr_un abstract{}, file{};
    socklen_t abstractLength = 0, fileLength = 0;
};
ServerAddress server;
struct sigaction previousSegv, previousBus;
bool guarding = false;

ServerAddress localServerAddress() {
    ServerAddress address;
    const char *display = std::getenv("DISPLAY");
    if (!display) return address;
    if (std::strncmp(display, "unix:", 5) == 0) display += 4;
    if (display[0] != ':') return address;   // another host's server
    char *end = nullptr;
    const long number = std::strtol(display + 1, &end, 10);
    if (end == display + 1 || number < 0) return address;
    char path[64];
    const int length = std::snprintf(path, sizeof path, "/tmp/.X11-unix/X%ld", number);
    address.file.sun_family = address.abstract.sun_family = AF_UNIX;
    std::memcpy(address.file.sun_path, path, size_t(length) + 1);
    std::memcpy(address.abstract.sun_path + 1, path, size_t(length));
    address.fileLength = socklen_t(offsetof(sockaddr_un, sun_path) + size_t(length) + 1);
    address.abstractLength = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(length));
    address.known = true;
    return address;
}

// Whether a new connection to the server at address is taken (system calls only).
bool takesConnections(const sockaddr_un &address, socklen_t length) {
    const int probe = socket(AF_UNIX, SOCK_STREAM, 0);
    if (probe < 0) return true;   // cannot tell: not taken for the loss
    const bool taken = connect(probe, reinterpret_cast<const sockaddr *>(&address), length) == 0;
    close(probe);
    return taken;
}

void onFaultDuringSetUp(int signal) {
    if (server.known && !takesConnections(server.abstract, server.abstractLength) &&
        !takesConnections(server.file, server.fileLength)) {
        endForLostConnection();
    }
    // Not the display's loss: handled as before, once this handler returns
    // (a fault happens again; a signal sent by another process is sent again).
    sigaction(signal, signal == SIGSEGV ? &previousSegv : &previousBus, nullptr);
    raise(signal);
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
        endForLostConnection();
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

void installDisplayLossHandlers() {
    XSetIOErrorHandler(onConnectionLost);
    // Once: what is beneath ours is the handler before any of SDL's.
    if (errorHandlerInstalled) return;
    errorHandlerInstalled = true;
    previousErrorHandler = XSetErrorHandler(onXError);
}

namespace {
void putErrorHandlerOnTop() {
    installDisplayLossHandlers();
    // SDL's video start puts its safety net over ours. That net puts the
    // desktop's mode back from inside the handler, asking the server while
    // Xlib still waits for the reply that brought the error: the process
    // hangs for good on the first error about a destroyed window. Ours goes
    // over it again and passes other errors on to what was beneath it
    // before SDL; the guardian puts the mode back.
    XSetErrorHandler(onXError);
}
}  // namespace

void beginDisplaySetUp() {
    if (guarding) return;
    server = localServerAddress();
    struct sigaction action {};
    action.sa_handler = onFaultDuringSetUp;
    sigemptyset(&action.sa_mask);
    sigaction(SIGSEGV, &action, &previousSegv);
    sigaction(SIGBUS, &action, &previousBus);
    guarding = true;
}

void endDisplaySetUp() {
    if (!guarding) return;
    sigaction(SIGSEGV, &previousSegv, nullptr);
    sigaction(SIGBUS, &previousBus, nullptr);
    guarding = false;
}

void watchDisplayWindowId(unsigned long xWindow) {
    putErrorHandlerOnTop();
    watchedWindow.store(xWindow);
    windowLost.store(false);
}

void watchDisplayWindow(SDL_Window *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info)) return;
    if (info.subsystem == SDL_SYSWM_WAYLAND) {
        watchWaylandConnection(info.info.wl.display);
        return;
    }
    if (info.subsystem != SDL_SYSWM_X11) return;
    watchDisplayWindowId(info.info.x11.window);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool noteDisplayEvent(const SDL_Event &event) {
    if (event.type != SDL_SYSWMEVENT) return false;
    if (event.syswm.msg && event.syswm.msg->subsystem == SDL_SYSWM_X11) {
        const XEvent &raw = event.syswm.msg->msg.x11.event;
        if (raw.type == DestroyNotify && raw.xdestroywindow.window == watchedWindow.load()) windowLost.store(true);
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
