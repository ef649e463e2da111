#pragma once
// Frames for layer tests, drawn the way the frame loop and the other layers
// would leave the GL state.

// Sets the viewport to width x height and the projection to the unit square,
// clears to opaque black, and switches on what the background and logo layers
// leave on: texturing, source-alpha blending, white colour.
void beginLayerTestFrame(int width, int height);
