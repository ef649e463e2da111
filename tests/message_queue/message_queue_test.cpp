// The display window's message queue, without a window system.
#include <gtest/gtest.h>

#include <csignal>

#include "platform/message_queue.h"

namespace {

TEST(MessageQueue, TakesMessagesOneAtATimeInPostingOrder) {
    clearMessages();
    postMessage({MessageKind::KeyUp, KeyArrowLeft, 0});
    postMessage({MessageKind::KeyDown, KeyEscape, 0});
    postQuitMessage(3);
    Message m;
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::KeyUp);
    EXPECT_EQ(m.key, KeyArrowLeft);
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::KeyDown);
    ASSERT_TRUE(peekMessage(m));
    EXPECT_EQ(m.kind, MessageKind::Quit);
    EXPECT_EQ(m.exitCode, 3);
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

TEST(MessageQueue, InterruptAndTerminateArriveAsQuit) {
    clearMessages();
    installQuitSignals();
    for (int signal : {SIGINT, SIGTERM}) {
        std::raise(signal);
        Message m;
        ASSERT_TRUE(peekMessage(m));
        EXPECT_EQ(m.kind, MessageKind::Quit);
        EXPECT_FALSE(peekMessage(m));
    }
}

}  // namespace
