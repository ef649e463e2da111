#include "resources/settings_dialog.h"

#include "platform/embedded_resources.h"

const DialogTemplate &settingsDialogTemplate() {
    static DialogTemplate dialog = [] {
        DialogTemplate t;
        t.width = 200;
        t.height = 159;
        t.title = "dorirova";                // the window manager's name for it; no title bar shows it
        t.windowClass = "org.krv.dorirova";  // the desktop entry's id, as the presentation's window
        // In creation order, which is also the order Tab visits the tab stops.
        t.controls = {
            {IDC_RUN, ControlKind::DefaultPushButton, "Run", 88, 138, 50, 14, true},
            {IDC_EXIT, ControlKind::PushButton, "Exit", 142, 138, 50, 14, true},
            {IDC_800x600, ControlKind::RadioButton, "800 x 600", 7, 100, 57, 10, false},
            {IDC_1440x900, ControlKind::RadioButton, "1440 x 900", 7, 113, 53, 10, false},
            {IDC_1920x1080, ControlKind::RadioButton, "1920 x 1080", 7, 125, 56, 10, false},
            {-1, ControlKind::Bitmap, "", 0, 0, 200, 96, false},
            {IDC_FULLSCREEN, ControlKind::CheckBox, "Fullscreen", 8, 140, 44, 10, true},
            {IDC_1024x768, ControlKind::RadioButton, "1024 x 768", 65, 100, 57, 10, false},
            {IDC_1440x1050, ControlKind::RadioButton, "1440 x 1050", 65, 113, 53, 10, false},
            {IDC_1920x1200, ControlKind::RadioButton, "1920 x 1200", 65, 125, 56, 10, false},
            {IDC_1280x1024, ControlKind::RadioButton, "1280 x 1024", 130, 100, 57, 10, false},
            {IDC_1680x1050, ControlKind::RadioButton, "1680 x 1050", 130, 113, 53, 10, false},
            // The free place of the third column, in line with the sizes it acts on.
            {IDC_KEEP_ASPECT, ControlKind::CheckBox, "Keep aspect", 130, 125, 57, 10, true},
        };
        ResourceBytes banner = findResource("BITMAP", 103);
        t.bitmap = banner.data;
        t.bitmapSize = banner.size;
        return t;
    }();
    return dialog;
}
