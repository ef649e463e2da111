#pragma once
// A scene layer: one picture element of the presentation, drawn once per
// frame in stack order. Exactly one object of each layer class exists, and it
// keeps its state in its own module, not in the object.
#include <cstdint>

// Key codes the frame loop hands to Layer::onKey on a cursor key's release.
enum ArrowKey : int32_t {
    ArrowUp = 2,
    ArrowDown = 3,
    ArrowLeft = 4,
    ArrowRight = 5,
};

class Layer {
public:
    virtual ~Layer() = default;

    // Loads the layer's assets; runs once, with the GL context current and the
    // virtual screen configured. Always true.
    virtual bool init() = 0;

    // Draws the layer's share of the frame (projection: the unit square).
    // The argument is always 0 and unused.
    virtual void draw(int unused) = 0;

    // An ArrowKey code, on the release of its cursor key. The default ignores it.
    virtual void onKey(int key) { (void)key; }
};
