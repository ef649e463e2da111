#pragma once
// The still star field behind everything; first in the stack, it also
// switches texturing on for the whole frame.
#include "scene/layer.h"

class PhotoLayer;

// The layer's state, one record kept in the layer, with its start value.
struct BackgroundState {
    int backgroundId = 0;   // asset id of "background-star.png"; 0 until init
};

class BackgroundLayer : public Layer {
public:
    // slideshow: the layer drawn over the stars, whose rectangle they leave
    // out while it covers it; none, and they are drawn whole.
    explicit BackgroundLayer(const PhotoLayer *slideshow = nullptr) : slideshow(slideshow) {}
    bool init() override;          // loads "background-star.png"
    void draw() override;

    const BackgroundState &state() const { return background; }

private:
    BackgroundState background;
    const PhotoLayer *slideshow;
};
