// The guardian's protocol, with a restore the test observes through the
// guardian's exit status, so that no X server is needed.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/guardian.h"

namespace {

DisplayConfiguration configurationOf(int width, int height, uint32_t mode) {
    DisplayConfiguration c;
    c.width = width;
    c.height = height;
    c.widthMm = 508;
    c.heightMm = 286;
    c.crtcCount = 1;
    c.crtcs[0].crtc = 0x3f;
    c.crtcs[0].mode = mode;
    c.crtcs[0].rotation = 1;
    c.crtcs[0].outputCount = 1;
    c.crtcs[0].outputs[0] = 0x4e;
    return c;
}

// What the guardian must put back; copied into it by the fork.
DisplayConfiguration expected = configurationOf(1920, 1080, 0x5e);

// Succeeds only for exactly the expected configuration.
bool restoreExpected(const DisplayConfiguration &configuration) {
    return std::memcmp(&configuration, &expected, sizeof configuration) == 0;
}

TEST(Guardian, EndOfFileAfterAConfigurationRestoresTheFirstOneTold) {
    ASSERT_TRUE(startGuardian(restoreExpected));
    EXPECT_FALSE(startGuardian(restoreExpected)) << "one guardian at a time";
    guardianRemember(expected);
    guardianRemember(configurationOf(800, 600, 0x70));   // the switched mode: ignored
    guardianHangUp();
    EXPECT_EQ(waitForGuardian(), GuardianRestored);
    EXPECT_EQ(waitForGuardian(), -1) << "reaped once";
}

TEST(Guardian, AllDoneThenEndOfFileRestoresNothing) {
    ASSERT_TRUE(startGuardian(restoreExpected));
    guardianRemember(expected);
    guardianAllDone();
    EXPECT_EQ(waitForGuardian(), GuardianAllDone);
}

TEST(Guardian, EndOfFileWithoutAConfigurationHasNothingToRestore) {
    ASSERT_TRUE(startGuardian(restoreExpected));
    EXPECT_EQ(waitForGuardian(), -1) << "still listening: nothing to wait for yet";
    guardianHangUp();
    EXPECT_EQ(waitForGuardian(), GuardianNothingToRestore);
    guardianRemember(expected);   // no guardian any more: nothing happens
    guardianAllDone();
}

TEST(Guardian, AFailedRestoreIsReported) {
    ASSERT_TRUE(startGuardian(restoreExpected));
    guardianRemember(configurationOf(1024, 768, 0x6a));
    guardianHangUp();
    EXPECT_EQ(waitForGuardian(), GuardianRestoreFailed);
}

// A program that ends with a plain exit() while the mode it changed is still
// changed (its own restore never ran) leaves the restore to the guardian.
TEST(Guardian, ANormalExitHoldingAChangedModeLeavesTheRestoreToIt) {
    // The guardian outlives the program: as its subreaper, the test reaps it.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        close(report[0]);
        const bool started = startGuardian(restoreExpected);
        guardianRemember(expected);
        const pid_t guardian = guardianProcessId();
        const bool told = write(report[1], &guardian, sizeof guardian) == ssize_t(sizeof guardian);
        std::exit(started && told ? 0 : 1);
    }
    close(report[1]);
    pid_t guardian = 0;
    ASSERT_EQ(read(report[0], &guardian, sizeof guardian), ssize_t(sizeof guardian));
    close(report[0]);
    int status = 0;
    ASSERT_EQ(waitpid(program, &status, 0), program);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(waitpid(guardian, &status, 0), guardian);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == GuardianRestored) << "the guardian was told all done";
    prctl(PR_SET_CHILD_SUBREAPER, 0);
}

// A Ctrl+C reaches the whole process group; the guardian must outlive the
// program's clean-up, and must not keep the program's files or devices open.
TEST(Guardian, IgnoresQuitSignalsAndHoldsNoInheritedDescriptor) {
    int inherited[2];
    ASSERT_EQ(pipe(inherited), 0);
    ASSERT_TRUE(startGuardian(restoreExpected));
    close(inherited[1]);
    pollfd readable{inherited[0], POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, 10000), 1) << "the guardian still holds the inherited pipe";
    char byte;
    EXPECT_EQ(read(inherited[0], &byte, 1), 0) << "end-of-file once the guardian let go of its copy";
    close(inherited[0]);

    const pid_t guardian = guardianProcessId();
    ASSERT_GT(guardian, 0);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) EXPECT_EQ(kill(guardian, signal), 0);
    guardianRemember(expected);
    guardianHangUp();
    EXPECT_EQ(waitForGuardian(), GuardianRestored) << "it survived the signals";
}

}  // namespace
