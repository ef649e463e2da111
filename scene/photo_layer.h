#pragma once
// The slideshow: the photographs of its source (the archive's 24 in the
// show) in a picture frame at the left, each shown plainly for four seconds,
// then replaced by the next through a pixelating cross-fade: the outgoing one
// breaks into ever coarser blocks while it fades, the incoming one resolves
// beneath it from coarse blocks to full detail. Left and right arrows step
// back and forward at any moment, with wrap-around.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "scene/layer.h"
#include "scene/photo_source.h"
#include "scene/virtual_screen.h"

constexpr uint32_t PHOTO_X = 44, PHOTO_Y = 44;  // bottom-left corner, virtual pixels
constexpr uint32_t PHOTO_SIZE = 592;            // photograph and frame, virtual pixels
constexpr uint32_t DISPLAY_MS = 4000;           // plain showing before a transition
constexpr uint32_t STEP_MS = 60;                // least time between transition steps
constexpr uint32_t FADE_STEPS = 7;              // steps per transition = pixelated levels

// The layer's state, one record kept in the layer, with its start values.
struct SlideshowState {
    int frameId = 0;                         // asset id of the picture frame
    uint32_t currentPhoto = 0;               // index of the photograph on show (outgoing in a transition)
    bool awaitingPhoto = false;              // a key asked for a photograph that has not come yet
    uint32_t awaitedPhoto = 0;               // its index, while awaitingPhoto
    float fadeAlpha = 1.0f;                  // opacity of the current photograph
    uint32_t fadeStep = 0;                   // steps done in the running transition, 0..6 when drawn
    int32_t incomingLevel = FADE_STEPS - 1;  // level of the incoming photograph, 6 - fadeStep
    bool clocksStarted = false;              // the clocks below started with the first frame
    Stopwatch displayClock;                  // since the current photograph became current
    Stopwatch stepClock;                     // since the transition began or its last step
    bool stepClockStarted = false;           // stepClock restarted for the running transition
};

class PhotoLayer : public Layer {
public:
    // The layer keeps the source (never null) for its lifetime.
    explicit PhotoLayer(std::unique_ptr<PhotoSource> photos) : photos(std::move(photos)) {}

    bool init() override;          // loads frame and photographs, builds the levels
    void draw() override;
    void onKey(int key) override;  // KeyArrowLeft: previous, KeyArrowRight: next

    // The next or previous photograph (the last wraps to the first and back)
    // after the one last asked for becomes current, with the transition
    // reset; one that has not come yet is awaited, the current one shown
    // plainly meanwhile.
    void showNextPhoto();
    void showPreviousPhoto();

    // True when the next draw surely covers the layer's whole rectangle
    // (PHOTO_X, PHOTO_Y, PHOTO_SIZE) with an opaque picture at full opacity,
    // so that what lies beneath cannot show: the photographs it may draw have
    // come. Keys reach it before the frame's draws do, so it holds for the frame.
    bool coversItsRectangle() const;

    const SlideshowState &state() const { return slideshow; }
    const PhotoSource &source() const { return *photos; }

private:
    // Moves the transition on by its clocks; true while a transition shows.
    bool advanceTransition();

    std::unique_ptr<PhotoSource> photos;
    SlideshowState slideshow;
};
