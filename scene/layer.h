#pragma once
// A scene layer: one picture element of the presentation, drawn once per
// frame in stack order. Each layer keeps its state in its own object, so a
// layer made anew starts from its start values.
#include <cstdint>

#include "platform/key_codes.h"

class Layer {
public:
    virtual ~Layer() = default;

    // Loads the layer's assets; runs once, with the GL context current and the
    // virtual screen configured. Always true.
    virtual bool init() = 0;

    // Draws the layer's share of the frame (projection: the unit square).
    virtual void draw() = 0;

    // A cursor key's KeyCode (KeyArrowLeft, ...), on the key's release. The
    // default ignores it.
    virtual void onKey(int key) { (void)key; }
};
