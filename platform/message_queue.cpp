#include "platform/message_queue.h"

#include <SDL.h>   // window-system events
#include <csignal>
#include <cstdio>

#include "platform/display_loss.h"

namespace {
bool endsTheRun(const Message &message) {
    const bool escape = (message.kind == MessageKind::KeyDown || message.kind == MessageKind::KeyUp) &&
                        message.key == KeyEscape;
    return message.kind == MessageKind::Quit || message.kind == MessageKind::Close || escape;
}

// A ring of fixed size, so that taking and posting messages never allocates
// while the frames run. Full, it drops what comes, but a message that ends
// the run takes the newest slot: a quit is never lost.
template <int CAPACITY>
struct MessageRing {
    Message slots[CAPACITY];
    int first = 0;   // index of the oldest message
    int count = 0;

    bool empty() const { return count == 0; }
    void clear() { first = count = 0; }
    void push_back(const Message &message) {
        if (count == CAPACITY) {
            if (!endsTheRun(message)) return;
            --count;
        }
        slots[(first + count) % CAPACITY] = message;
        ++count;
    }
    Message pop_front() {
        Message message = slots[first];
        first = (first + 1) % CAPACITY;
        --count;
        return message;
    }
};

// Taken in this order: the window system's messages that end the run (a
// close request, Escape), so that no backlog holds them up; the program's own
// (its quits, and what tests and recordings post), in posting order; the
// window system's others, in the order they came. The last holds as many as
// the window system itself does (SDL's queue takes 65535 events), so no key
// of a burst is lost.
MessageRing<64> windowEndings;
MessageRing<4096> posted;
MessageRing<65536> windowMessages;

void clearQueues() {
    windowEndings.clear();
    posted.clear();
    windowMessages.clear();
}

volatile std::sig_atomic_t quitSignalled = 0;
bool lossReported = false;   // the lost window's or connection's quit is queued

void onQuitSignal(int) { quitSignalled = 1; }

bool displayLost() { return displayWindowLost() || displayConnectionLost(); }

int keyCodeOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_ESCAPE: return KeyEscape;
        case SDLK_LEFT: return KeyArrowLeft;
        case SDLK_UP: return KeyArrowUp;
        case SDLK_RIGHT: return KeyArrowRight;
        case SDLK_DOWN: return KeyArrowDown;
        default: return KeyOther;
    }
}

// Turns one window-system event into a message; false for events not queued.
bool messageOf(const SDL_Event &event, Message &message) {
    message = Message{};
    if (noteDisplayEvent(event)) return false;
    switch (event.type) {
        case SDL_MOUSEMOTION:
            return false;

        case SDL_KEYDOWN:
            message.kind = MessageKind::KeyDown;
            message.key = keyCodeOf(event.key.keysym.sym);
            return true;
        case SDL_KEYUP:
            message.kind = (event.key.keysym.mod & KMOD_ALT) ? MessageKind::SysKeyUp : MessageKind::KeyUp;
            message.key = keyCodeOf(event.key.keysym.sym);
            return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) message.kind = MessageKind::Close;
            return true;
        default:
            // SDL_QUIT follows the close of the last window; the Close message
            // already stands for it.
            return true;
    }
}

void pollWindowSystem() {
    if (quitSignalled) {
        quitSignalled = 0;
        posted.push_back({MessageKind::Quit, KeyOther, 0});
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    Message message;
    while (SDL_PollEvent(&event)) {
        if (!messageOf(event, message)) continue;
        if (endsTheRun(message)) windowEndings.push_back(message);
        else windowMessages.push_back(message);
    }
    if (displayLost() && !lossReported) {
        // Nothing queued before matters any more: the run ends, with status 1.
        lossReported = true;
        if (displayWindowLost()) {
            std::fprintf(stderr, "dorirova: the window was destroyed by another program\n");
        } else {
            tellDisplayConnectionLost();
        }
        clearQueues();
        posted.push_back({MessageKind::Quit, KeyOther, 1});
    }
}
}  // namespace

bool peekMessage(Message &message) {
    // Every time, so that an Escape or a close behind a backlog is seen at once.
    pollWindowSystem();
    if (!windowEndings.empty()) message = windowEndings.pop_front();
    else if (!posted.empty()) message = posted.pop_front();
    else if (!windowMessages.empty()) message = windowMessages.pop_front();
    else return false;
    return true;
}

void postQuitMessage(int exitCode) { posted.push_back({MessageKind::Quit, KeyOther, exitCode}); }

void postMessage(const Message &message) { posted.push_back(message); }

void clearMessages() { clearQueues(); }

void installQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
