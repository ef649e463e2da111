#pragma once
// How the program learns that its display window or its display connection
// went away from under it: another client destroyed the window, or the
// connection to the X server broke (the server ended, or xkill), or the
// Wayland compositor's did. Each ends the run with status 1 and one line on
// stderr. A lost window, or a lost Wayland connection, reaches the frame
// loop as a quit, and shutdown runs as after any other end; a lost X
// connection ends the process at once, whenever it happens (the dialog,
// start-up, the frame loop), since nothing can be put back through it (the
// guardian restores the display mode). Platform-internal.
#include <SDL.h>   // the window and its events

// Installs the X error and I/O error handlers, for X11: X errors about the
// watched window (BadWindow, BadDrawable, or an extension's error such as
// GLX's about its drawable) mark it lost and, like every X error after that,
// are not printed; other errors go to the handler that was in place before.
// A broken connection prints one line and ends the process with status 1.
// Call before the first connection that SDL makes, and after another
// toolkit (FLTK) has set its own; calling it again only puts the I/O error
// handler back. Once the window is watched (below), ours is on top of
// SDL's error handler, never beneath it.
void installDisplayLossHandlers();

// From the first connection (SDL's video start) until the window shows with
// its GL context: a crash then is taken for the display's loss when the X
// server no longer takes connections, and ends as a lost connection does.
// libGLX reads some of the server's replies without looking whether they
// came, so a server that goes away just then makes it fault, not report.
// Any other crash stays the crash it is. Nothing for a display on another
// host, which cannot be asked.
void beginDisplaySetUp();
void endDisplaySetUp();

// From now on, for SDL's window on X11: its loss is watched for (by the
// handlers above, which this installs if they are not yet) and the raw X
// events come through SDL as SDL_SYSWMEVENT. On Wayland: the connection's
// error state, as displayConnectionLost reads it. Nothing on other window
// systems.
void watchDisplayWindow(SDL_Window *window);

// The loss of the X window xWindow is watched for, as above, but without
// the raw events (tests; 0: none watched).
void watchDisplayWindowId(unsigned long xWindow);

// Looks at one SDL event: the X event DestroyNotify of the watched window
// marks it lost. True for the SDL_SYSWMEVENTs that only this watch asked for.
bool noteDisplayEvent(const SDL_Event &event);

// Whether the watched window is gone. Set on whichever thread made the X call
// that failed; read on the main thread.
bool displayWindowLost();

// Whether the watched Wayland connection broke (the compositor ended): SDL
// then only reports a quit, as after a close. Main thread. Should the main
// thread not come back from the window system half a second after the
// break, a watchdog thread tells it and ends the process with status 1.
bool displayConnectionLost();

// Writes "the connection to the display was lost" on stderr, once per
// process, whichever thread comes first (safe in a signal handler).
void tellDisplayConnectionLost();
