#pragma once
// The live presentation's scene: set up around the opening of the display,
// and put back to its start for a set-up again in the same process.
#include <cstdint>

#include "show/display.h"

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

// After Run, with the viewer's settings: the display takes them, then
// beginScene, createDisplay, finishScene; the later images then
// wait for the frame loop's first frame (holdLoadingUntilFirstFrame). False when the display
// cannot be opened; the loading has then stopped and the music's file is gone.
// Temporary files that cannot be written are said in one line on stderr, and
// the presentation runs without what could not be extracted.
bool startPresentation(const DisplaySettings &settings);

// The slideshow layer of the scene set up, or null before (tests and
// benchmarks watch its state).
class PhotoLayer;
const PhotoLayer *sceneSlideshow();

// Puts the scene back as it was before initScene, so that it can be set up
// again in the same process (recordings one after another): the stack's
// layers, and their state with them, deleted (initScene made them; the next
// makes them anew) and the stack Created again; the charset's, the music's,
// the display's and the virtual screen's state at its start values. Run
// after shutdown.
void resetScene();
