#include "scroller/scroller_layer.h"

#include <GL/gl.h>  // binding the images

#include <cstring>

#include "assets/asset_store.h"
#include "scene/picture_quads.h"
#include "scroller/charset_text.h"
#include "scroller/scroll_texts.h"

static const char *const MENU_IMAGES[] = {
    "scroller-selection_alb_hi.png", "scroller-selection_alb_lo.png",
    "scroller-selection_dun_hi.png", "scroller-selection_dun_lo.png",
    "scroller-selection_fem_hi.png", "scroller-selection_fem_lo.png",
    "scroller-selection_gol_hi.png", "scroller-selection_gol_lo.png",
    "scroller-selection_hix_hi.png", "scroller-selection_hix_lo.png",
    "scroller-selection_jup_hi.png", "scroller-selection_jup_lo.png",
    "scroller-selection_kes_hi.png", "scroller-selection_kes_lo.png",
};
static const int MEMBER_COUNT = 7;

bool ScrollerLayer::init() {
    AssetStore *store = AssetStore::instance();
    auto request = [store](const char *image) { return store->requestTexture(image, LoadWhen::FirstFrame); };
    scroller.borderTextureId = request("scroller-border.png");
    useCharsetTexture(request("charset.png"));
    if (scroller.ownText) return true;   // no menu to show
    scroller.titleTextureId = request("scroller-selection_title.png");
    for (const char *image : MENU_IMAGES) scroller.selectionTextureIds.push_back(request(image));
    return true;   // the clock starts with the first frame
}

// Binds the image of id and draws it at position with size, only where it
// shows; nothing when it did not load.
static void drawImage(int id, Vec2 position, Vec2 size) {
    const Texture *image = AssetStore::instance()->texture(id);
    if (!image) return;
    glBindTexture(GL_TEXTURE_2D, image->glName);
    drawPicture(*image, position, size, {0, 0}, {1, 1});
}

void ScrollerLayer::draw() {
    drawImage(scroller.borderTextureId, VirtualScreen::toGL(0, 64), VirtualScreen::toGL(1024, 128));

    if (!scroller.scrollClockStarted) {
        scroller.scrollClock.restart();
        scroller.scrollClockStarted = true;
    }
    const Vec2 glyph = VirtualScreen::toGL(28, 24);
    const float advance = glyph.x + glyph.x * 0.08f;
    float position = float(scroller.scrollClock.elapsedMs()) * scroller.scrollSpeed + 1.0f;
    const std::optional<std::string> &own = scroller.ownText;
    ScrollText text = own ? ScrollText{own->data(), uint32_t(own->size())} : scrollTexts[scroller.currentText];
    if (position < -(float(text.length) * advance)) {
        // Run out: the next member text (or the own text again) enters from the right in this frame.
        if (!own) {
            scroller.currentText = scroller.currentText + 1;
            if (scroller.currentText > MEMBER_COUNT) scroller.currentText = 1;
            text = scrollTexts[scroller.currentText];
        }
        scroller.scrollClock.restart();
        position = 1.0f;
    }
    drawCharsetText(text.bytes, text.length, glyph.x, glyph.y, position + 10.0f / 1024.0f, 114.0f / 768.0f);
    if (own) return;

    const Vec2 menuSize = VirtualScreen::toGL(512, 32);
    const Vec2 title = VirtualScreen::toGL(560, 440);
    drawImage(scroller.titleTextureId, title, menuSize);
    const Vec2 entryStep = VirtualScreen::toGL(0, 32);
    for (int k = 1; k <= MEMBER_COUNT; ++k) {
        const bool highlighted = std::strcmp(scrollTextKeys[scroller.currentText], scrollTextKeys[k]) == 0;
        const int id = scroller.selectionTextureIds.size() == size_t(2 * MEMBER_COUNT)
                           ? scroller.selectionTextureIds[2 * (k - 1) + (highlighted ? 0 : 1)]
                           : 0;
        drawImage(id, {title.x - k * entryStep.x, title.y - k * entryStep.y}, menuSize);
    }
}

void ScrollerLayer::onKey(int key) {
    if (scroller.ownText) return;   // one text: nothing to choose
    if (key == KeyArrowUp) {
        const bool first = scroller.currentText == 0 || scroller.currentText == 1;
        scroller.currentText = first ? MEMBER_COUNT : scroller.currentText - 1;
        scroller.scrollClock.restart();
    } else if (key == KeyArrowDown) {
        scroller.currentText = scroller.currentText + 1;
        if (scroller.currentText > MEMBER_COUNT) scroller.currentText = 1;
        scroller.scrollClock.restart();
    }
}
