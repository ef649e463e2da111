#pragma once
// A scene layer: one picture element of the presentation, drawn once per
// frame in stack order. Exactly one object of each layer class exists, and it
// keeps its state in its own module, not in the object.
#include <cstdint>

#include "platform/key_codes.h"

class Layer {
public:
    virtual ~Layer() = default;

    // Loads the layer's assets; runs once, with the GL context current and the
    // virtual screen configured. Always true.
    virtual bool init() = 0;

    // Draws the layer's share of the frame (projection: the unit square).
    // The argument is always 0 and unused.
    virtual void draw(int unused) = 0;

    // A cursor key's KeyCode (KeyArrowLeft, ...), on the key's release. The
    // default ignores it.
    virtual void onKey(int key) { (void)key; }
};
