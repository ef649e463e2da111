// The display window's message queue, with SDL's dummy video driver in place
// of a window system.
#include <gtest/gtest.h>

#include <SDL.h>   // events pushed as a window system delivers them

#include <csignal>

#include "platform/message_queue.h"

namespace {

void expectMessage(MessageKind kind, int key, int exitCode = 0) {
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.kind, kind);
    EXPECT_EQ(m.key, key);
    EXPECT_EQ(m.exitCode, exitCode);
}

// The video subsystem up, and whatever its start reported taken.
void startWindowSystem() {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    clearMessages();
    Message m;
    while (peekMessage(m)) {
    }
}

void pushKey(Uint32 type, SDL_Keycode key) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST(MessageQueue, TakesPostedMessagesOneAtATimeInPostingOrder) {
    clearMessages();
    postMessage({MessageKind::KeyUp, KeyArrowLeft, 0});
    postMessage({MessageKind::KeyDown, KeyEscape, 0});
    postQuitMessage(3);
    expectMessage(MessageKind::KeyUp, KeyArrowLeft);
    expectMessage(MessageKind::KeyDown, KeyEscape);
    expectMessage(MessageKind::Quit, KeyOther, 3);
    Message m;
    EXPECT_FALSE(peekMessage(m));
}

TEST(MessageQueue, AFloodOfMessagesNeverLosesTheQuitBehindIt) {
    clearMessages();
    for (int i = 0; i < 5000; ++i) postMessage({MessageKind::KeyUp, KeyArrowRight, 0});
    postQuitMessage(0);
    Message m;
    int taken = 0;
    bool quit = false;
    while (peekMessage(m)) {
        ++taken;
        quit = m.kind == MessageKind::Quit;
    }
    EXPECT_TRUE(quit) << "the quit is the last message taken";
    EXPECT_GT(taken, 500);
}

// A viewer hammering an arrow key: thousands of messages, taken one a frame.
// None is lost, and an Escape pressed meanwhile comes next, not after them,
// as does a quit the program posts.
TEST(MessageQueue, ABurstOfKeysLosesNoneAndHoldsUpNoEscape) {
    startWindowSystem();
    constexpr int PRESSES = 3000;
    for (int i = 0; i < PRESSES; ++i) {
        pushKey(SDL_KEYDOWN, SDLK_DOWN);
        pushKey(SDL_KEYUP, SDLK_DOWN);
    }
    expectMessage(MessageKind::KeyDown, KeyArrowDown);   // the first frame's message
    pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    expectMessage(MessageKind::KeyDown, KeyEscape);
    postQuitMessage(0);   // a quit the program posts comes before the keys held back
    expectMessage(MessageKind::Quit, KeyOther);
    int releases = 0;
    for (Message m; peekMessage(m);) releases += m.kind == MessageKind::KeyUp && m.key == KeyArrowDown;
    EXPECT_EQ(releases, PRESSES);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

TEST(MessageQueue, InterruptAndTerminateArriveAsQuit) {
    clearMessages();
    installQuitSignals();
    for (int signal : {SIGINT, SIGTERM}) {
        std::raise(signal);
        expectMessage(MessageKind::Quit, KeyOther);
        Message m;
        EXPECT_FALSE(peekMessage(m));
    }
}

}  // namespace
