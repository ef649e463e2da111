#include "platform/message_queue.h"

#include <SDL.h>   // window-system events
#include <csignal>
#include <cstdio>

#include "platform/display_loss.h"

namespace {
// A ring of fixed size, so that taking and posting messages never allocates
// while the frames run. Far more than a frame loop falls behind by.
constexpr int QUEUE_CAPACITY = 1024;

struct MessageRing {
    Message slots[QUEUE_CAPACITY];
    int first = 0;   // index of the oldest message
    int count = 0;

    bool empty() const { return count == 0; }
    void clear() { first = count = 0; }
    // When full, a new message takes the newest slot: a quit is never lost.
    void push_back(const Message &message) {
        if (count == QUEUE_CAPACITY) --count;
        slots[(first + count) % QUEUE_CAPACITY] = message;
        ++count;
    }
    Message pop_front() {
        Message message = slots[first];
        first = (first + 1) % QUEUE_CAPACITY;
        --count;
        return message;
    }
};

MessageRing queue;
WindowProcedure windowProcedure = nullptr;
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
        queue.push_back({MessageKind::Quit, KeyOther, 0});
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Event event;
    Message message;
    while (SDL_PollEvent(&event)) {
        if (messageOf(event, message)) queue.push_back(message);
    }
    if (displayLost() && !lossReported) {
        // Nothing queued before matters any more: the run ends, with status 1.
        lossReported = true;
        if (displayWindowLost()) {
            std::fprintf(stderr, "dorirova: the window was destroyed by another program\n");
        } else {
            tellDisplayConnectionLost();
        }
        queue.clear();
        queue.push_back({MessageKind::Quit, KeyOther, 1});
    }
}
}  // namespace

void setWindowProcedure(WindowProcedure procedure) { windowProcedure = procedure; }

bool peekMessage(Message &message) {
    if (queue.empty() || quitSignalled || (displayLost() && !lossReported)) pollWindowSystem();
    if (queue.empty()) return false;
    message = queue.pop_front();
    return true;
}

void translateMessage(const Message &) {}

long dispatchMessage(const Message &message) {
    return windowProcedure ? windowProcedure(message) : 0;
}

void postQuitMessage(int exitCode) { queue.push_back({MessageKind::Quit, KeyOther, exitCode}); }

void postMessage(const Message &message) { queue.push_back(message); }

void clearMessages() { queue.clear(); }

void installQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}
