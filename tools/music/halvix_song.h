#pragma once
// "HALVIX": the presentation's tune, about three minutes in A minor at
// 125 BPM. Intro, build-up, main theme, second theme, break, build-up again,
// both themes, and an ending that slows down, rings out and stops.
#include "tools/music/xm_module.h"

// The whole song: instruments, patterns and the order list. Deterministic.
XmModule composeHalvix();
