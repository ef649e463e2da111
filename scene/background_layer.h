#pragma once
// The still star field behind everything; first in the stack, it also
// switches texturing on for the whole frame.
#include "scene/layer.h"

class BackgroundLayer : public Layer {
public:
    bool init() override;          // loads "background-star.png"
    void draw(int unused) override;
};

extern int backgroundId;   // asset id of the star image; 0 until init
