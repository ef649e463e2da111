#pragma once
// How the program learns that its display window or its display connection
// went away from under it: another client destroyed the window, or the
// connection to the X server broke (the server ended, or xkill), or the
// Wayland compositor's did. Each ends the run with status 1 and one line on
// stderr. A lost window, or a lost Wayland connection, reaches the frame
// loop as a quit, and shutdown runs as after any other end; a lost X
// connection ends the process at once, since nothing can be put back through
// it (the guardian restores the display mode). Platform-internal.
#include <SDL.h>   // the window and its events

// From now on, for SDL's window on X11: X errors about the window
// (BadWindow, BadDrawable) mark it lost and, like every X error after that,
// are not printed; other errors go to the handler that was in place. A
// broken connection prints one line and ends the process with status 1. The
// raw X events come through SDL as SDL_SYSWMEVENT. Call after SDL has
// installed its own handlers. On Wayland: the connection's error state, as
// displayConnectionLost reads it. Nothing on other window systems.
void watchDisplayWindow(SDL_Window *window);

// Looks at one SDL event: the X event DestroyNotify of the watched window
// marks it lost. True for the SDL_SYSWMEVENTs that only this watch asked for.
bool noteDisplayEvent(const SDL_Event &event);

// Whether the watched Wayland connection broke (the compositor ended): SDL
// then only reports a quit, as after a close. Main thread. Should the main
// thread not come back from the window system half a second after the
// break, a watchdog thread tells it and ends the process with status 1.
bool displayConnectionLost();

// Writes "the connection to the display was lost" on stderr, once per
// process, whichever thread comes first.
void tellDisplayConnectionLost();

// Whether the watched window is gone. Set on whichever thread made the X call
// that failed; read on the main thread.
bool displayWindowLost();
