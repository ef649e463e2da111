#pragma once
// The scroll band along the bottom, through which one of eight texts runs
// from right to left, and the member menu on the right, whose entry for the
// running text shows highlighted. The intro runs once; then the seven member
// texts follow one another. Up and down choose a member text.
//
// With a text of the viewer's own instead, that one text runs again and
// again, each time entering from the right once it has run out; the menu is
// not shown (nor loaded), and up and down do nothing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/layer.h"
#include "scene/virtual_screen.h"

// The layer's state, one record kept in the layer, with its start values.
struct ScrollerState {
    int32_t currentText = 0;          // catalogue index: 0 the intro, 1..7 the members
    Stopwatch scrollClock;            // since the current text started to run
    bool scrollClockStarted = false;  // set by the first draw, which starts scrollClock
    float scrollSpeed = -0.0001f;     // GL units per millisecond: a tenth of the width a second, leftwards
    int borderTextureId = 0;          // "scroller-border.png"
    int titleTextureId = 0;           // "scroller-selection_title.png"
    // Member text k (1..7): position 2(k-1) highlighted, 2(k-1)+1 plain.
    std::vector<int> selectionTextureIds;
    std::optional<std::string> ownText;   // in the charset's bytes; none: the catalogue's texts
};

class ScrollerLayer : public Layer {
public:
    ScrollerLayer() = default;
    // Runs ownText (in the charset's bytes, see charsetTextFromUtf8) alone.
    explicit ScrollerLayer(std::string ownText) { scroller.ownText = std::move(ownText); }

    bool init() override;          // registers border, charset, title and the 14 menu images
    void draw() override;
    void onKey(int key) override;  // KeyArrowUp: previous member text, KeyArrowDown: next

    const ScrollerState &state() const { return scroller; }

private:
    ScrollerState scroller;
};
