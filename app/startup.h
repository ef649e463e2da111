#pragma once
// The entry point's sequence: the command line, the settings dialog, then
// the presentation (show/scene_setup.h) or a recording.
#include <cstdint>

#include "platform/dialog.h"

// The viewer's choices; the initial values stand when the dialog does not
// overwrite them (also when no dialog can be shown).
struct DisplaySettings {
    static bool run;          // false once the viewer chose Exit
    static int32_t width;     // pixels
    static int32_t height;    // pixels
    static bool fullscreen;   // the "Fullscreen" box was ticked at Run
    static bool keepAspect;   // the "Keep aspect" box was ticked at Run (--keep-aspect ticks it)
};

// The settings dialog's procedure: ticks "1024 x 768" at start, and "Keep
// aspect" as DisplaySettings says; Run reads the boxes and the first ticked
// resolution; Exit clears DisplaySettings::run.
bool settingsDialogProc(DialogHandle &dialog, DialogMessage message, int controlId);

// The whole run: the command line, then the dialog (unless the command line
// gave a size or full screen), display, scene, frame loop. Returns the exit
// status (EXIT_STATUS_OK, _FAILED or _USAGE, show/exit_status.h). A dialog
// that cannot show (no X display) ends the run with one line and
// EXIT_STATUS_FAILED.
int dorirovaMain(int argc, char *argv[]);
