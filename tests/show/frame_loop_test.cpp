// The frame loop driven by a scripted message queue, drawing on software Mesa.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "show/display.h"
#include "show/frame_loop.h"
#include "show/music.h"
#include "platform/temp_file.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

namespace {

std::vector<std::string> events;

// A layer that writes down what happens to it.
class RecordingLayer : public Layer {
public:
    explicit RecordingLayer(std::string name) : name(std::move(name)) {}
    bool init() override {
        events.push_back("init " + name);
        return true;
    }
    void draw() override { events.push_back("draw " + name); }
    void onKey(int key) override { events.push_back("key " + name + " " + std::to_string(key)); }

private:
    std::string name;
};

Message keyUp(int key) { return {MessageKind::KeyUp, key, 0}; }
Message keyDown(int key) { return {MessageKind::KeyDown, key, 0}; }

struct FrameLoop : ::testing::Test {
    GLTestContext gl{64, 48};
    RecordingLayer first{"a"}, second{"b"};

    void SetUp() override {
        ASSERT_TRUE(gl.ok());
        events.clear();
        clearMessages();
        useDisplaySettings({.width = 64, .height = 48});
        LayerStack &stack = LayerStack::instance();
        stack.layers.clear();
        stack.state = Created;
    }
    void useTwoLayers() {
        LayerStack::instance().add(&first);
        LayerStack::instance().add(&second);
        LayerStack::instance().initAll();
        events.clear();
    }
};

TEST_F(FrameLoop, ArrowReleasesReachEveryLayerInStackOrderOnePerFrame) {
    useTwoLayers();
    for (int key : {KeyArrowLeft, KeyArrowUp, KeyArrowRight, KeyArrowDown}) postMessage(keyUp(key));
    postQuitMessage(0);
    EXPECT_EQ(runFrameLoop(), 0);
    std::vector<std::string> expected;
    for (int key : {KeyArrowLeft, KeyArrowUp, KeyArrowRight, KeyArrowDown}) {
        for (const char *layer : {"a", "b"}) {
            expected.push_back("key " + std::string(layer) + " " + std::to_string(key));
        }
        expected.insert(expected.end(), {"draw a", "draw b"});
    }
    EXPECT_EQ(events, expected);
}

TEST_F(FrameLoop, OnlyPlainReleasesOfArrowsAreRouted) {
    useTwoLayers();
    postMessage(keyDown(KeyArrowLeft));                       // key-down and auto-repeat
    postMessage({MessageKind::SysKeyUp, KeyArrowRight, 0});   // released with Alt held
    postMessage(keyUp(KeyOther));                             // some other key
    postMessage({MessageKind::Other, KeyOther, 0});
    postQuitMessage(0);
    runFrameLoop();
    for (const std::string &e : events) EXPECT_EQ(e.rfind("key", 0), std::string::npos) << e;
    EXPECT_EQ(std::count(events.begin(), events.end(), "draw a"), 4);
}

// Escape going down and a close request post a quit that ends the run in a
// later frame; Escape's release ends it in the frame that takes it. Either
// way shutdown runs once, also when both of Escape's messages come.
TEST_F(FrameLoop, EscapeAndCloseEndTheRunWithOneShutdown) {
    useTwoLayers();
    struct Case {
        std::vector<Message> messages;
        long draws;   // frames drawn before the end
    };
    const Case cases[] = {{{keyDown(KeyEscape)}, 1},
                          {{Message{MessageKind::Close, KeyOther, 0}}, 1},
                          {{keyUp(KeyEscape)}, 0},
                          {{keyDown(KeyEscape), keyUp(KeyEscape)}, 1}};
    for (const Case &c : cases) {
        const int before = shutdownCount();
        events.clear();
        for (const Message &m : c.messages) postMessage(m);
        EXPECT_EQ(runFrameLoop(), 0);
        EXPECT_EQ(shutdownCount(), before + 1);
        EXPECT_EQ(std::count(events.begin(), events.end(), "draw b"), c.draws);
        clearMessages();
    }
}

TEST_F(FrameLoop, StackStatesGateInitialisationAndDrawing) {
    LayerStack &stack = LayerStack::instance();
    stack.add(&first);
    stack.initAll();
    stack.initAll();   // a second call initialises nothing
    EXPECT_EQ(std::count(events.begin(), events.end(), "init a"), 1);
    EXPECT_EQ(stack.state, Initialised);
    postMessage({MessageKind::Other, KeyOther, 0});
    postQuitMessage(0);
    runFrameLoop();
    EXPECT_EQ(stack.state, Running);
    EXPECT_EQ(std::count(events.begin(), events.end(), "draw a"), 1);
}

TEST_F(FrameLoop, AStackNeverInitialisedIsNotDrawnButStillGetsKeys) {
    LayerStack::instance().add(&first);
    postMessage(keyUp(KeyArrowRight));
    postQuitMessage(0);
    runFrameLoop();
    EXPECT_EQ(LayerStack::instance().state, Created);
    EXPECT_EQ(events, std::vector<std::string>{"key a " + std::to_string(KeyArrowRight)});
}

TEST_F(FrameLoop, AnEmptyStackShowsTheGreenClearColour) {
    postMessage({MessageKind::Other, KeyOther, 0});
    postQuitMessage(0);
    runFrameLoop();
    const std::vector<uint8_t> frame = gl.readPixels();
    for (int y : {0, 24, 47}) {
        for (int x : {0, 32, 63}) {
            GLTestContext::RGBA p = gl.pixel(frame, x, y);
            EXPECT_EQ(p.r, 0);
            EXPECT_EQ(p.g, 255);
            EXPECT_EQ(p.b, 0);
        }
    }
}

TEST_F(FrameLoop, ShutdownDeletesTheMusicFile) {
    ScopedTempDir tmp;
    ScopedArchive archive{packArchive({{"HALVIX.xm", Bytes(64, 'x')}})};
    loadMusic();   // the module's temporary file, whatever its content
    ASSERT_FALSE(musicState().musicTempPath.empty());
    ASSERT_FALSE(tmp.files().empty());
    postQuitMessage(0);
    runFrameLoop();
    EXPECT_TRUE(tmp.files().empty());
    resetMusic();
}

TEST(WindowProcedure, EndsTheRunOnQuitOrEscapesReleaseAndPostsAQuitOnCloseOrEscape) {
    clearMessages();
    int status = -1;
    Message taken;
    for (const Message &m : {keyDown(KeyArrowLeft), keyUp(KeyOther), Message{MessageKind::SysKeyUp, KeyEscape, 0},
                             Message{MessageKind::Other, KeyOther, 0}}) {
        EXPECT_FALSE(displayWindowProc(m, status));
    }
    EXPECT_FALSE(peekMessage(taken));
    for (const Message &m : {keyDown(KeyEscape), Message{MessageKind::Close, KeyOther, 0}}) {
        EXPECT_FALSE(displayWindowProc(m, status));
        ASSERT_TRUE(peekMessage(taken));
        EXPECT_EQ(taken.kind, MessageKind::Quit);
        EXPECT_EQ(taken.exitCode, 0);
    }
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(displayWindowProc({MessageKind::Quit, KeyOther, 1}, status));
    EXPECT_EQ(status, 1);   // the lost window's status comes through
    EXPECT_TRUE(displayWindowProc(keyUp(KeyEscape), status));
    EXPECT_EQ(status, 0);
}

}  // namespace
