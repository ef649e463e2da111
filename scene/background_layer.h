#pragma once
// The still star field behind everything; first in the stack, it also
// switches texturing on for the whole frame.
#include "scene/layer.h"

class BackgroundLayer : public Layer {
public:
    bool init() override;          // loads "background-star.png"
    void draw(int unused) override;
};

// The layer's state, one record for the module, with its start value.
struct BackgroundState {
    int backgroundId = 0;   // asset id of "background-star.png"; 0 until init
};
extern BackgroundState background;

// Puts the layer back to its start value (no image).
void resetBackground();
