#pragma once
// The scroll band along the bottom, through which one of eight texts runs
// from right to left, and the member menu on the right, whose entry for the
// running text shows highlighted. The intro runs once; then the seven member
// texts follow one another. Up and down choose a member text.
#include <cstdint>
#include <vector>

#include "scene/layer.h"
#include "scene/virtual_screen.h"

class ScrollerLayer : public Layer {
public:
    bool init() override;          // registers border, charset, title and the 14 menu images
    void draw(int unused) override;
    void onKey(int key) override;  // ArrowUp: previous member text, ArrowDown: next
};

// The layer's state, with its start values.
extern int32_t currentText;          // catalogue index: 0 the intro, 1..7 the members; 0
extern Stopwatch scrollClock;        // since the current text started to run
extern bool scrollClockStarted;      // set by the first draw, which starts scrollClock; false
extern float scrollSpeed;            // GL units per millisecond; -0.0001
extern int borderTextureId;          // "scroller-border.png"
extern int titleTextureId;           // "scroller-selection_title.png"
// Member text k (1..7): position 2(k-1) highlighted, 2(k-1)+1 plain.
extern std::vector<int> selectionTextureIds;
