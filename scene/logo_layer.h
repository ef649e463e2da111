#pragma once
// The group's logo across the upper right, over everything; last in the
// stack, it switches on the source-alpha blending the other layers rely on
// from the next frame on.
//
// A logo of the viewer's own (a PNG file) takes the group's place instead:
// the whole picture, scaled to fit the rectangle the group's logo covers and
// centred in it, keeping its shape.
#include <string>

#include "scene/layer.h"


// The logo's texel window in "krv-logo.png" (1024 x 512, rows from the bottom):
// columns 180..840, rows 170..370, drawn 1.05 times its size from (328, 542).
constexpr float LOGO_S0 = 0.17578125f, LOGO_S1 = 0.8203125f;
constexpr float LOGO_T0 = 0.33203125f, LOGO_T1 = 0.72265625f;
constexpr float LOGO_SCALE = 1.05f;

// The layer's state, one record kept in the layer, with its start value.
struct LogoState {
    int logoId = 0;         // asset id of "krv-logo.png" or of the own logo; 0 until init
    std::string ownLogo;    // path of the viewer's PNG; empty: the group's logo
};

class LogoLayer : public Layer {
public:
    LogoLayer() = default;
    // Shows the PNG file at ownLogo in the logo's place.
    explicit LogoLayer(std::string ownLogo) { logo.ownLogo = std::move(ownLogo); }

    bool init() override;          // loads "krv-logo.png", or the own logo
    void draw() override;

    const LogoState &state() const { return logo; }

private:
    LogoState logo;
};

// Switches on what the logo leaves on for the next frame: source-alpha
// blending, which the photo fade and every transparent picture drawn before
// the logo rely on. Set once before the first frame too, so that the first
// frame is drawn as every later one is. Needs the current GL context.
void enableLayerBlending();
