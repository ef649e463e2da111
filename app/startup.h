#pragma once
// The entry point's sequence: the command line, the settings dialog, then
// the presentation (show/scene_setup.h) or a recording.
#include <cstdint>

#include "platform/dialog.h"
#include "show/display.h"

// The viewer's choice, as the dialog or the command line leaves it; the
// start values stand when nothing overwrites them (also when no dialog can
// be shown). Its settings are passed down to the presentation.
struct ViewerChoice {
    DisplaySettings settings;   // fullscreen and keepAspect: the boxes ticked at Run (--keep-aspect ticks one)
    bool run = true;            // false once the viewer chose Exit
};

// The process's one choice, which the dialog's procedure fills in (a dialog
// procedure is handed nothing else).
ViewerChoice &viewerChoice();

// The settings dialog's procedure: ticks "1024 x 768" at start, and "Keep
// aspect" as the choice says; Run reads the boxes and the first ticked
// resolution into the choice's settings; Exit clears its run.
bool settingsDialogProc(DialogState &dialog, DialogMessage message, int controlId);

// The whole run: the command line, then the dialog (unless the command line
// gave a size or full screen), display, scene, frame loop. Returns the exit
// status (EXIT_STATUS_OK, _FAILED or _USAGE, show/exit_status.h). A dialog
// that cannot show (no X display) ends the run with one line and
// EXIT_STATUS_FAILED.
int dorirovaMain(int argc, char *argv[]);
