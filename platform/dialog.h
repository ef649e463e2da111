#pragma once
// Modal dialogs built from a template of controls, run by a dialog
// procedure that sees initialisation and commands, as the settings dialog
// needs. The procedure works on the dialog's state (which buttons are
// checked, whether it has ended), so its logic can run without a window.
// Main thread only.
#include <map>
#include <vector>

// Control kinds a template can hold.
enum class ControlKind {
    DefaultPushButton,   // activated by Enter as well
    PushButton,
    RadioButton,         // automatic: ticking one clears the others of its group
    CheckBox,            // automatic
    Bitmap,              // a static picture, shown at its own size, centred
};

struct DialogControl {
    int id;              // command id; -1 for static controls
    ControlKind kind;
    const char *text;    // label (for a bitmap: unused)
    int x, y;            // top-left corner, dialog units from the dialog's top-left
    int width, height;   // dialog units
    bool tabStop;        // visited by Tab, in template order
};

// A dialog with no caption and a thin border, centred on the screen. Its
// title names it to the window manager (the task list, Alt+Tab) without
// showing anywhere in it.
// Dialog units are those of an 8-point dialog font: 1.5 px across, 1.625 px down.
struct DialogTemplate {
    int width, height;                    // dialog units
    std::vector<DialogControl> controls;  // in creation order
    const unsigned char *bitmap = nullptr;  // a 24-bit uncompressed BMP file's bytes, or null
    unsigned long bitmapSize = 0;
    const char *title = "";               // the window's name in the window manager's lists (WM_NAME)
    const char *windowClass = "";         // the toolkit window's class (WM_CLASS)
};

// The messages a dialog procedure receives.
enum class DialogMessage {
    InitDialog,   // once, before the dialog shows
    Command,      // a button was pressed; controlId says which (Enter: 1, Escape: 2)
};

// The running dialog's state.
struct DialogState {
    std::map<int, bool> checked;  // check state of radio buttons and check boxes, by id
    bool ended = false;
    int result = 0;
};

// True when the procedure handled the message.
using DialogProcedure = bool (*)(DialogState &dialog, DialogMessage message, int controlId);

// Shows the dialog modally and returns the result its procedure passed to
// endDialog, or DIALOG_NO_DISPLAY when no dialog could be shown: the toolkit
// needs an X display (it has no Wayland backend).
constexpr int DIALOG_NO_DISPLAY = -1;
int dialogBox(const DialogTemplate &dialogTemplate, DialogProcedure procedure);

// Check state of a button; an unknown id reads as unchecked.
void checkDialogButton(DialogState &dialog, int controlId, bool checked);
bool isDialogButtonChecked(const DialogState &dialog, int controlId);

// Ends the dialog with result; dialogBox returns it.
void endDialog(DialogState &dialog, int result);

// Dialog units to pixels, for an 8-point dialog font.
int dialogUnitsToPixelsX(int units);
int dialogUnitsToPixelsY(int units);
