#pragma once
// Dialog template 5: the settings dialog the presentation opens with.
#include "platform/dialog.h"

// Control ids of the settings dialog.
enum SettingsControl {
    IDC_RUN = 1,            // "Run", the default button
    IDC_EXIT = 2,           // "Exit", the cancel button
    IDC_800x600 = 1001,
    IDC_1440x900 = 1002,
    IDC_1920x1080 = 1003,
    IDC_FULLSCREEN = 1004,
    IDC_1024x768 = 1005,
    IDC_1440x1050 = 1006,
    IDC_1920x1200 = 1007,
    IDC_1280x1024 = 1008,
    IDC_1680x1050 = 1009,
    IDC_KEEP_ASPECT = 1010,  // "Keep aspect": the 4:3 picture on black bars
};

// The template, with the banner (bitmap 103) from the executable's resources.
const DialogTemplate &settingsDialogTemplate();
