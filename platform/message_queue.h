#pragma once
// The message queue of the display window: what the frame loop takes one
// message at a time from, in place of the windowing system's own queue.
//
// Window-system events (SDL's) are turned into messages when the queue is
// polled. Mouse motion is never queued: one event per motion would hold up a
// loop that takes one message per frame. SIGINT and SIGTERM arrive as Quit.
// A window destroyed by another client arrives as Quit with exit code 1, in
// place of whatever was queued, after one line on stderr.
// Messages are taken in the order they came, except that those which end the
// run (Quit, Close, Escape going down or up) go ahead of all others: a burst
// of keys can delay neither. The queue holds as many messages as the window
// system does (65536), so no key of a burst is lost either.
// Main thread only (the signal handler only sets a flag).

enum class MessageKind {
    Quit,       // ends the run; posted by postQuitMessage, a signal or the window's loss
    Close,      // the window was asked to close (close box, Alt+F4)
    KeyDown,    // a key went down (also each auto-repeat)
    KeyUp,      // a key was released
    SysKeyUp,   // a key was released while Alt was held: never routed
    Other,      // anything else the window system reports
};

// Key codes carried by KeyDown, KeyUp and SysKeyUp messages.
enum KeyCode {
    KeyOther = 0,
    KeyEscape = 0x1B,
    KeyArrowLeft = 0x25,    // the cursor keys
    KeyArrowUp = 0x26,
    KeyArrowRight = 0x27,
    KeyArrowDown = 0x28,
};

struct Message {
    MessageKind kind = MessageKind::Other;
    int key = KeyOther;   // a KeyCode for key messages, else KeyOther
    int exitCode = 0;     // for Quit
};

// The procedure that dispatchMessage hands messages to; returns its result.
using WindowProcedure = long (*)(const Message &message);
void setWindowProcedure(WindowProcedure procedure);

// Takes the next message, if any, into message and removes it from the
// queue. Polls the window system first, every time.
bool peekMessage(Message &message);

// Kept for the shape of the loop: key messages need no translation here.
void translateMessage(const Message &message);

// Hands message to the window procedure.
long dispatchMessage(const Message &message);

// Queues a Quit (ahead of all but the other messages that end the run).
void postQuitMessage(int exitCode);

// Queues any message (tests script the loop with it).
void postMessage(const Message &message);

// Drops every queued message (tests).
void clearMessages();

// Routes SIGINT and SIGTERM into the queue as Quit, from now on.
void installQuitSignals();
