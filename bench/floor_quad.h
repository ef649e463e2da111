#pragma once
// The frame floor: the least any frame costs. One layer drawing a
// full-screen quad of a 1024 x 1024 R G B texture with linear filtering and
// no blending; the frame loop adds its clear and the swap.

// Configures the virtual screen and puts that layer alone on the stack,
// initialised (its texture uploaded). Needs the current GL context.
void setUpFloorQuad(int width, int height);
