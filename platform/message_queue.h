#pragma once
// The message queue of the display window: what the frame loop takes one
// message at a time from, in place of the windowing system's own queue.
//
// Window-system events (SDL's) are turned into messages when the queue is
// polled. Mouse motion is never queued: one event per motion would hold up a
// loop that takes one message per frame. SIGINT and SIGTERM arrive as Quit.
// A window destroyed by another client, or a Wayland connection lost,
// arrives as Quit with exit code 1, in place of whatever was queued, after
// one line on stderr.
// Messages are taken in the order they came, with two exceptions, so that no
// burst of keys holds up the end of the run: the window system's Close and
// Escape (going down or up) come first, and the program's own (its quits,
// what tests and recordings post) before the window system's others. As many
// of the window system's are kept as it holds itself (65536), so no key of a
// burst is lost either; a quit never is.
// Main thread only (the signal handler only sets a flag).
#include "platform/key_codes.h"

enum class MessageKind {
    Quit,       // ends the run; posted by postQuitMessage, a signal or the window's loss
    Close,      // the window was asked to close (close box, Alt+F4)
    KeyDown,    // a key went down (also each auto-repeat)
    KeyUp,      // a key was released
    SysKeyUp,   // a key was released while Alt was held: never routed
    Other,      // anything else the window system reports
};

struct Message {
    MessageKind kind = MessageKind::Other;
    int key = KeyOther;   // a KeyCode for key messages, else KeyOther
    int exitCode = 0;     // for Quit
};

// Takes the next message, if any, into message and removes it from the
// queue. Polls the window system first, every time.
bool peekMessage(Message &message);

// Queues a Quit behind what the program has already posted.
void postQuitMessage(int exitCode);

// Queues any message behind what the program has already posted (tests and
// recordings script the loop with it).
void postMessage(const Message &message);

// Drops every queued message (tests).
void clearMessages();

// Routes SIGINT and SIGTERM into the queue as Quit, from now on.
void installQuitSignals();
