// The settings dialog's procedure, run without a window.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "resources/settings_dialog.h"

namespace {

struct Fixture : ::testing::Test {
    DialogState dialog;
    void SetUp() override {
        viewerChoice() = ViewerChoice{};
        settingsDialogProc(dialog, DialogMessage::InitDialog, 0);
    }
    // Ticks one radio button the way the automatic group does: the others clear.
    void tickOnly(int id) {
        for (const DialogControl &radio : radioButtons()) checkDialogButton(dialog, radio.id, radio.id == id);
    }
    // The resolutions, as the dialog offers them.
    static std::vector<DialogControl> radioButtons() {
        std::vector<DialogControl> radios;
        for (const DialogControl &c : settingsDialogTemplate().controls) {
            if (c.kind == ControlKind::RadioButton) radios.push_back(c);
        }
        return radios;
    }
};

using SettingsDialog = Fixture;

TEST_F(SettingsDialog, StartsWith1024x768TickedAndWindowed) {
    EXPECT_TRUE(isDialogButtonChecked(dialog, IDC_1024x768));
    EXPECT_FALSE(isDialogButtonChecked(dialog, IDC_FULLSCREEN));
    EXPECT_FALSE(dialog.ended);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.result, 0);
    EXPECT_TRUE(viewerChoice().run);
    EXPECT_EQ(viewerChoice().settings.width, 1024);
    EXPECT_EQ(viewerChoice().settings.height, 768);
    EXPECT_FALSE(viewerChoice().settings.fullscreen);
}

// The size a resolution's radio button reads ("1440 x 1050") is the size Run
// starts with, for each of the eight, and no two read the same.
TEST_F(SettingsDialog, RunGivesTheSizeEachResolutionReads) {
    const std::vector<DialogControl> radios = radioButtons();
    ASSERT_EQ(radios.size(), 8u);
    std::set<std::pair<int, int>> sizes;
    for (const DialogControl &radio : radios) {
        SCOPED_TRACE(radio.text);
        int width = 0, height = 0;
        ASSERT_EQ(std::sscanf(radio.text, "%d x %d", &width, &height), 2);
        DialogState fresh;
        settingsDialogProc(fresh, DialogMessage::InitDialog, 0);
        dialog = fresh;
        tickOnly(radio.id);
        settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
        EXPECT_EQ(viewerChoice().settings.width, width);
        EXPECT_EQ(viewerChoice().settings.height, height);
        sizes.insert({width, height});
    }
    EXPECT_EQ(sizes.size(), radios.size());
}

TEST_F(SettingsDialog, RunTakesTheFirstTickedInTableOrder) {
    // Not reachable with the automatic group, but the order decides: 1280 x 1024
    // (third in the table) wins over 1920 x 1080 (seventh).
    tickOnly(IDC_1920x1080);
    checkDialogButton(dialog, IDC_1280x1024, true);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
    EXPECT_EQ(viewerChoice().settings.width, 1280);
    EXPECT_EQ(viewerChoice().settings.height, 1024);
}

TEST_F(SettingsDialog, RunWithNoResolutionTickedKeepsTheSize) {
    viewerChoice().settings.width = 640;
    viewerChoice().settings.height = 480;
    checkDialogButton(dialog, IDC_1024x768, false);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
    EXPECT_EQ(viewerChoice().settings.width, 640);
    EXPECT_EQ(viewerChoice().settings.height, 480);
    EXPECT_TRUE(dialog.ended);
}

TEST_F(SettingsDialog, RunReadsTheFullscreenBox) {
    checkDialogButton(dialog, IDC_FULLSCREEN, true);
    tickOnly(IDC_800x600);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
    EXPECT_TRUE(viewerChoice().settings.fullscreen);
    EXPECT_EQ(viewerChoice().settings.width, 800);
    EXPECT_TRUE(viewerChoice().run);
}

// --keep-aspect ticks the box at start; Run reads it either way.
TEST_F(SettingsDialog, KeepAspectStartsAsToldAndRunReadsIt) {
    EXPECT_FALSE(isDialogButtonChecked(dialog, IDC_KEEP_ASPECT));
    checkDialogButton(dialog, IDC_KEEP_ASPECT, true);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_RUN);
    EXPECT_TRUE(viewerChoice().settings.keepAspect);

    DialogState asked;
    settingsDialogProc(asked, DialogMessage::InitDialog, 0);
    EXPECT_TRUE(isDialogButtonChecked(asked, IDC_KEEP_ASPECT));
    checkDialogButton(asked, IDC_KEEP_ASPECT, false);
    settingsDialogProc(asked, DialogMessage::Command, IDC_RUN);
    EXPECT_FALSE(viewerChoice().settings.keepAspect);
}

TEST_F(SettingsDialog, ExitClearsRunAndTouchesNothingElse) {
    checkDialogButton(dialog, IDC_FULLSCREEN, true);
    tickOnly(IDC_1920x1200);
    settingsDialogProc(dialog, DialogMessage::Command, IDC_EXIT);
    EXPECT_TRUE(dialog.ended);
    EXPECT_EQ(dialog.result, 0);
    EXPECT_FALSE(viewerChoice().run);
    EXPECT_EQ(viewerChoice().settings.width, 1024);
    EXPECT_EQ(viewerChoice().settings.height, 768);
    EXPECT_FALSE(viewerChoice().settings.fullscreen);
}

TEST_F(SettingsDialog, OtherCommandsDoNotEndIt) {
    EXPECT_FALSE(settingsDialogProc(dialog, DialogMessage::Command, IDC_1440x900));
    EXPECT_FALSE(dialog.ended);
    EXPECT_TRUE(viewerChoice().run);
}

TEST(SettingsDialogTemplate, HasTheThirteenControlsInCreationOrder) {
    const DialogTemplate &t = settingsDialogTemplate();
    EXPECT_EQ(dialogUnitsToPixelsX(t.width), 300);
    EXPECT_EQ(dialogUnitsToPixelsY(t.height), 258);
    EXPECT_STREQ(t.title, "dorirova");
    EXPECT_STREQ(t.windowClass, "org.krv.dorirova") << "the desktop entry's id";
    const int ids[] = {1, 2, 1001, 1002, 1003, -1, 1004, 1005, 1006, 1007, 1008, 1009, 1010};
    ASSERT_EQ(t.controls.size(), 13u);
    for (size_t i = 0; i < 13; ++i) EXPECT_EQ(t.controls[i].id, ids[i]) << "control " << i;
    // Only Run, Exit and the boxes are tab stops; the radios form one group.
    for (const DialogControl &c : t.controls) {
        EXPECT_EQ(c.tabStop, c.id == 1 || c.id == 2 || c.id == 1004 || c.id == 1010) << c.id;
    }
    EXPECT_EQ(t.controls[0].kind, ControlKind::DefaultPushButton);
    ASSERT_NE(t.bitmap, nullptr) << "the banner (bitmap 103) is linked in";
    EXPECT_EQ(t.bitmap[0], 'B');
}

}  // namespace
