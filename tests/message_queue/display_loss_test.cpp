// The display's loss as the installed X error handler reports it. Apart from
// the queue's test: Xlib's KeyCode and the queue's cannot meet in one file.
#include <gtest/gtest.h>

#include <X11/Xlib.h>   // X errors handed to the installed handler

#include "platform/display_loss.h"

namespace {

int errorsPassedOn = 0;
int countErrorPassedOn(Display *, XErrorEvent *) {
    ++errorsPassedOn;
    return 0;
}

// The installed handler, called as Xlib calls it: an error naming another
// resource goes on to the handler before it; one naming the watched window,
// GLX's about its drawable too, is the window's loss and is not printed.
TEST(DisplayLoss, OnlyAnXErrorNamingTheWindowIsItsLoss) {
    XSetErrorHandler(countErrorPassedOn);
    installDisplayLossHandlers();
    const XErrorHandler installed = XSetErrorHandler(nullptr);
    XSetErrorHandler(installed);
    constexpr unsigned long WINDOW = 0x2e00007;
    watchDisplayWindowId(WINDOW);

    XErrorEvent error{};
    error.error_code = BadWindow;
    error.resourceid = 0x3100001;   // another client's window
    installed(nullptr, &error);
    EXPECT_EQ(errorsPassedOn, 1);
    EXPECT_FALSE(displayWindowLost());

    error.error_code = FirstExtensionError + 2;   // GLXBadDrawable, when GLX's errors come first
    error.resourceid = WINDOW;
    installed(nullptr, &error);
    EXPECT_TRUE(displayWindowLost());
    EXPECT_EQ(errorsPassedOn, 1) << "the window's loss went on to be printed";
}

}  // namespace
