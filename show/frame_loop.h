#pragma once
// The layer stack, the frame loop with its key routing, and the end of the run.
// Main thread only.
#include <cstdint>
#include <vector>

#include "platform/message_queue.h"
#include "scene/layer.h"

enum LayerStackState : int32_t {
    Created = 0,      // layers (if any) not yet initialised
    Initialised = 1,  // every layer's init has run once
    Running = 2,      // the frame loop draws the layers every frame; final
};

// The one ordered list of layers: its order is the draw order and the order
// in which key codes are delivered. Created on first use, never destroyed.
class LayerStack {
public:
    int32_t state = Created;
    std::vector<Layer *> layers;   // owned; resetScene deletes the scene's

    static LayerStack &instance();
    // Appends layer; does not initialise it.
    void add(Layer *layer);
    // Runs every layer's init once, in order, when the state is Created.
    void initAll();
    // Calls onKey(key) on every layer in order, whatever the state.
    void broadcastKey(int32_t key);
    // Deletes every layer (they were made with new) and goes back to Created.
    void deleteLayers();
};

// Starts the music, runs frames until the run ends, calls shutdown, and
// returns the exit status: the Quit message's code (1 when the window was
// lost), 0 after Escape or a close request.
int runFrameLoop();

// The images still loading begin no new one until runFrameLoop has shown its
// first frame: that frame, llvmpipe's first shader compilations included,
// has both cores to itself.
void holdLoadingUntilFirstFrame();

// The loop's start without the music: an Initialised stack becomes Running,
// with the layers' blending already on for its first frame.
void startRunning();

// One iteration of the loop, short of presenting: takes at most one message
// and hands it to displayWindowProc, sets up the frame and lets the layers
// draw. False, with nothing drawn, when the message ends the run (a quit, a
// close request, Escape); endStatus then holds the run's exit status, as
// runFrameLoop returns it.
// Recordings draw their frames with it too.
bool drawFrame(int &endStatus);

// The GL state every frame starts from: viewport at the display size (at
// the box of the 4:3 shape, on black, when the display keeps the shape),
// cleared to green, the unit square as projection, identity model-view.
void setUpFrame();

// The display window's procedure, called by drawFrame with the message it
// took. A cursor key's release goes to every layer (LayerStack::broadcastKey)
// with its key code; other keys, and every key going down, go nowhere. A
// close request and Escape going down post a quit (EXIT_STATUS_OK), which
// ends the run in a later frame. True when the message ends the run now,
// with the exit status in endStatus: a Quit (its code) or Escape's release
// (EXIT_STATUS_OK).
bool displayWindowProc(const Message &message, int &endStatus);

// The end of the run: releases the music (its temporary file), destroys the
// asset store (and with it the archive's temporary copy), and releases the
// display (a mode changed for full screen). Runs once, from runFrameLoop.
void shutdown();

// How many times shutdown has run in this process (tests).
int shutdownCount();
