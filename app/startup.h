#pragma once
// The entry point's sequence: the settings dialog, then the display, the
// scene and the frame loop.
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
bool settingsDialogProc(DialogState &dialog, DialogMessage message, int controlId);

// The scene's set-up, in two steps around the opening of the display, so
// that the images decode while the window and its GL context come up.
// beginScene configures the virtual screen, creates the four layers in stack
// order, initialises them (requesting their images) and loads the music; it
// needs no display. finishScene waits for the images of the first frame and
// uploads them, with the GL context current; the later photographs go on
// loading.
void beginScene(int32_t width, int32_t height);
void finishScene();

// Both steps at once, for a GL context that is current already.
void initScene(int32_t width, int32_t height);

// After Run: beginScene, createDisplay, finishScene; the later images then
// wait for the frame loop's first frame (holdLoadingUntilFirstFrame). False when the display
// cannot be opened; the loading has then stopped and the music's file is gone.
// Temporary files that cannot be written are said in one line on stderr, and
// the presentation runs without what could not be extracted.
bool startPresentation(int32_t width, int32_t height, bool fullscreen);

// Puts the scene back as it was before initScene, so that it can be set up
// again in the same process (recordings one after another): the stack's
// layers deleted (initScene made them) and the stack Created again, every
// layer's, the charset's, the music's, the display's and the virtual
// screen's state at its start values. Run after shutdown.
void resetScene();

// The whole run: the command line, then the dialog (unless the command line
// gave a size or full screen), display, scene, frame loop. Returns the exit
// status (EXIT_STATUS_OK, _FAILED or _USAGE, app/command_line.h). A dialog
// that cannot show (no X display) ends the run with one line and
// EXIT_STATUS_FAILED.
int dorirovaMain(int argc, char *argv[]);
