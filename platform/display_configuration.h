#pragma once
// The display's configuration as XRandR tells it: the screen's size and what
// each lit CRTC shows. Read before the program switches the mode for full
// screen; put back by the guardian (guardian.h) when the program cannot.
// Each call opens a display connection of its own (DISPLAY) and closes it
// again, so it works beside SDL's connection and after that one is gone.
// Any one thread; no SDL.
#include <cstdint>

constexpr int MAX_SAVED_CRTCS = 8;    // lit CRTCs recorded; more are left as they are
constexpr int MAX_CRTC_OUTPUTS = 4;   // outputs recorded per CRTC

struct SavedCrtc {
    uint32_t crtc = 0;          // RandR CRTC id
    uint32_t mode = 0;          // RandR mode id it shows
    int32_t x = 0;              // its top-left corner on the screen, pixels
    int32_t y = 0;
    uint32_t rotation = 0;      // RandR rotation and reflection bits
    uint32_t outputCount = 0;   // entries of outputs in use
    uint32_t outputs[MAX_CRTC_OUTPUTS] = {};  // RandR output ids it drives
};

// Plain bytes, so that the record travels to the guardian as it is.
struct DisplayConfiguration {
    int32_t width = 0;          // the screen, pixels
    int32_t height = 0;
    int32_t widthMm = 0;        // its physical size, millimetres
    int32_t heightMm = 0;
    uint32_t crtcCount = 0;     // entries of crtcs in use
    SavedCrtc crtcs[MAX_SAVED_CRTCS];
};

// Reads the configuration of the default screen of DISPLAY. False (and
// configuration untouched) without a display or without RandR 1.2.
bool readDisplayConfiguration(DisplayConfiguration &configuration);

// Whether the display's modes are XWayland's emulation: it offers modes but
// only pretends to switch to one, for the asking client alone, leaving the
// compositor to scale that client's full-screen window (which not every
// compositor does). Told by RandR outputs named XWAYLAND0, XWAYLAND1, ...,
// as XWayland names them (22.1 announces no extension of its own), or by
// an XWAYLAND extension, which later releases announce. False without a
// display or without RandR.
bool displayModesEmulated();

// Puts configuration back: the screen's size and every recorded CRTC that
// shows something else now. What already matches is left alone. True when
// nothing failed. X errors are neither printed nor fatal here.
bool restoreDisplayConfiguration(const DisplayConfiguration &configuration);
