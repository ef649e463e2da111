#include "platform/dialog.h"

#include <FL/Fl.H>               // event loop
#include <FL/Fl_Box.H>           // the bitmap control
#include <FL/Fl_Button.H>        // push buttons
#include <FL/Fl_Check_Button.H>  // check box
#include <FL/Fl_Double_Window.H> // the dialog window
#include <FL/Fl_RGB_Image.H>     // the banner picture
#include <FL/Fl_Return_Button.H> // the default button (Enter)
#include <FL/Fl_Round_Button.H>  // radio buttons
#include <FL/x.H>                // fl_display and fl_xid: the dialog's X window; fl_open_display
#include <X11/Xatom.h>           // XA_WM_CLASS
#include <X11/Xlib.h>            // XOpenDisplay: FLTK itself exits without a display

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display_loss.h"

namespace {
// What the toolkit needs while one dialog shows.
struct ShownDialog {
    DialogState *state = nullptr;
    DialogProcedure procedure = nullptr;
    std::map<int, Fl_Button *> buttons;   // checkable and push buttons by id
};

int readLittle16(const unsigned char *p) { return p[0] | p[1] << 8; }
int32_t readLittle32(const unsigned char *p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// A 24-bit uncompressed BMP as RGB rows, top row first; empty when the bytes
// are not such a file.
std::vector<unsigned char> decodeBmp(const unsigned char *bmp, unsigned long size, int &width, int &height) {
    width = height = 0;
    if (!bmp || size < 54 || bmp[0] != 'B' || bmp[1] != 'M') return {};
    const uint32_t dataOffset = uint32_t(readLittle32(bmp + 10));
    const int32_t w = readLittle32(bmp + 18);
    const int32_t h = readLittle32(bmp + 22);
    if (readLittle16(bmp + 28) != 24 || readLittle32(bmp + 30) != 0) return {};
    if (w <= 0 || w > 4096 || h == 0 || h > 4096 || h < -4096) return {};
    const int rows = h < 0 ? -h : h;
    const uint64_t stride = (uint64_t(w) * 3 + 3) & ~uint64_t(3);
    if (dataOffset > size || stride * rows > size - dataOffset) return {};
    std::vector<unsigned char> rgb(size_t(w) * rows * 3);
    for (int row = 0; row < rows; ++row) {
        // Stored bottom row first unless the height is negative.
        const int sourceRow = h > 0 ? rows - 1 - row : row;
        const unsigned char *src = bmp + dataOffset + stride * sourceRow;
        unsigned char *dst = &rgb[size_t(row) * w * 3];
        for (int x = 0; x < w; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    width = w;
    height = rows;
    return rgb;
}

void readWidgets(ShownDialog &shown) {
    for (auto &[id, button] : shown.buttons) {
        if (button->type() == FL_RADIO_BUTTON || button->type() == FL_TOGGLE_BUTTON) {
            shown.state->checked[id] = button->value() != 0;
        }
    }
}

void writeWidgets(ShownDialog &shown) {
    for (auto &[id, button] : shown.buttons) {
        if (button->type() == FL_RADIO_BUTTON || button->type() == FL_TOGGLE_BUTTON) {
            button->value(isDialogButtonChecked(*shown.state, id) ? 1 : 0);
        }
    }
}

void sendCommand(ShownDialog &shown, int controlId) {
    readWidgets(shown);
    shown.procedure(*shown.state, DialogMessage::Command, controlId);
    writeWidgets(shown);
}

void onButton(Fl_Widget *widget, void *data) {
    auto *shown = static_cast<ShownDialog *>(data);
    for (auto &[id, button] : shown->buttons) {
        if (button == widget && (button->type() != FL_RADIO_BUTTON && button->type() != FL_TOGGLE_BUTTON)) {
            sendCommand(*shown, id);
        }
    }
}

// Escape (and any other request to close the window) is the cancel command.
void onWindowClose(Fl_Widget *, void *data) { sendCommand(*static_cast<ShownDialog *>(data), 2); }

// Creates the toolkit widget of each control inside the window being built;
// a bitmap control shows bannerImage (none when null).
void addControls(const DialogTemplate &dialogTemplate, ShownDialog &shown, Fl_RGB_Image *bannerImage) {
    for (const DialogControl &control : dialogTemplate.controls) {
        const int x = dialogUnitsToPixelsX(control.x), y = dialogUnitsToPixelsY(control.y);
        const int w = dialogUnitsToPixelsX(control.width), h = dialogUnitsToPixelsY(control.height);
        Fl_Button *button = nullptr;
        switch (control.kind) {
            case ControlKind::DefaultPushButton: button = new Fl_Return_Button(x, y, w, h, control.text); break;
            case ControlKind::PushButton: button = new Fl_Button(x, y, w, h, control.text); break;
            case ControlKind::RadioButton:
                button = new Fl_Round_Button(x, y, w, h, control.text);
                button->type(FL_RADIO_BUTTON);
                break;
            case ControlKind::CheckBox:
                button = new Fl_Check_Button(x, y, w, h, control.text);
                break;
            case ControlKind::Bitmap: {
                auto *box = new Fl_Box(x, y, w, h);
                box->box(FL_NO_BOX);
                box->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
                if (bannerImage) box->image(bannerImage);
                break;
            }
        }
        if (!button) continue;
        button->labelsize(11);
        button->callback(onButton, &shown);
        if (!control.tabStop) button->clear_visible_focus();
        shown.buttons[control.id] = button;
    }
}

// What the toolkit sets on a borderless window that a dialog of the
// program's own must not have: a class capitalised from the one asked for
// ("Org.krv.dorirova"), which no longer matches the desktop entry's
// StartupWMClass, and the state "skip the task list", which hides it from the
// task list and Alt+Tab. Put right after show(): the requests reach the
// server behind the window's mapping and ahead of anything the window
// manager asks of it (nothing has been flushed yet, and nothing here waits
// for a reply: the atom is the toolkit's, known already).
void listLikeAnApplication(Fl_Window &window, const char *windowClass) {
    Window xid = fl_xid(&window);
    if (!xid) return;
    std::string classHint = std::string(windowClass) + '\0' + windowClass + '\0';
    XChangeProperty(fl_display, xid, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(classHint.data()), int(classHint.size()));

    // The only state the toolkit gives a window like this one; the dialog
    // asks for none (not full screen, not above the others).
    XDeleteProperty(fl_display, xid, XInternAtom(fl_display, "_NET_WM_STATE", False));
}

// FLTK reads its global options (the focus box, arrow-key focus, tooltips)
// from /etc/fltk and ~/.fltk the first time a widget asks for one, and
// writes either file back, creating it, when it lacks them. The dialog takes
// FLTK's defaults instead and touches no file: FLTK's record of having read
// them is set first. That record is private to FLTK; an explicit
// instantiation, which access checking does not apply to, hands its address out.
unsigned char *toolkitOptionsRead();
template <unsigned char *Record>
struct ToolkitOptionsRecord {
    friend unsigned char *toolkitOptionsRead() { return Record; }
};
template struct ToolkitOptionsRecord<&Fl::options_read_>;

void takeDefaultToolkitOptions() {
    if (*toolkitOptionsRead()) return;
    *toolkitOptionsRead() = 1;
    // FLTK's own defaults, as it takes them when no file sets them.
    Fl::option(Fl::OPTION_ARROW_FOCUS, false);
    Fl::option(Fl::OPTION_VISIBLE_FOCUS, true);
    Fl::option(Fl::OPTION_DND_TEXT, true);
    Fl::option(Fl::OPTION_SHOW_TOOLTIPS, true);
    Fl::option(Fl::OPTION_FNFC_USES_GTK, true);
}

bool displayAvailable() {
    Display *display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}
}  // namespace

int dialogUnitsToPixelsX(int units) { return units * 3 / 2; }
int dialogUnitsToPixelsY(int units) { return units * 13 / 8; }

void checkDialogButton(DialogState &dialog, int controlId, bool checked) { dialog.checked[controlId] = checked; }

bool isDialogButtonChecked(const DialogState &dialog, int controlId) {
    auto found = dialog.checked.find(controlId);
    return found != dialog.checked.end() && found->second;
}

void endDialog(DialogState &dialog, int result) {
    dialog.ended = true;
    dialog.result = result;
}

int dialogBox(const DialogTemplate &dialogTemplate, DialogProcedure procedure) {
    if (!displayAvailable()) return DIALOG_NO_DISPLAY;

    DialogState state;
    ShownDialog shown{&state, procedure, {}};
    const int width = dialogUnitsToPixelsX(dialogTemplate.width);
    const int height = dialogUnitsToPixelsY(dialogTemplate.height);

    takeDefaultToolkitOptions();
    fl_open_display();
    installDisplayLossHandlers();   // over FLTK's: a lost display ends the run as anywhere else
    Fl::scheme("gtk+");
    Fl_Double_Window window((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height);
    window.label(dialogTemplate.title);   // WM_NAME and _NET_WM_NAME; no title bar shows it
    window.xclass(dialogTemplate.windowClass);
    window.border(0);
    window.box(FL_BORDER_BOX);   // the thin border of a captionless dialog
    window.color(FL_BACKGROUND_COLOR);
    window.callback(onWindowClose, &shown);

    int bannerWidth = 0, bannerHeight = 0;
    std::vector<unsigned char> banner =
        decodeBmp(dialogTemplate.bitmap, dialogTemplate.bitmapSize, bannerWidth, bannerHeight);
    // Fl_RGB_Image does not copy: banner outlives it.
    std::unique_ptr<Fl_RGB_Image> bannerImage;
    if (!banner.empty()) bannerImage = std::make_unique<Fl_RGB_Image>(banner.data(), bannerWidth, bannerHeight, 3);

    addControls(dialogTemplate, shown, bannerImage.get());
    window.end();

    procedure(state, DialogMessage::InitDialog, 0);
    writeWidgets(shown);
    window.show();
    listLikeAnApplication(window, dialogTemplate.windowClass);
    while (!state.ended && window.shown()) Fl::wait();
    window.hide();
    Fl::check();   // let the window system unmap it before anything else shows
    return state.ended ? state.result : 0;
}
