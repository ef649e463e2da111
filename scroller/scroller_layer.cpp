#include "scroller/scroller_layer.h"

#include <GL/gl.h>  // binding the images

#include <cstring>

#include "assets/asset_store.h"
#include "scroller/charset_text.h"
#include "scroller/scroll_texts.h"

int32_t currentText = 0;
Stopwatch scrollClock;
bool scrollClockStarted = false;
float scrollSpeed = -0.0001f;   // a tenth of the screen width per second, leftwards
int borderTextureId = 0;
int titleTextureId = 0;
std::vector<int> selectionTextureIds;

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
    borderTextureId = store->loadTexture("scroller-border.png");
    charsetTextureId = store->loadTexture("charset.png");
    titleTextureId = store->loadTexture("scroller-selection_title.png");
    for (const char *image : MENU_IMAGES) selectionTextureIds.push_back(store->loadTexture(image));
    return true;   // the clock starts with the first frame
}

// Binds the image of id and draws it at position with size; nothing when it did not load.
static void drawImage(int id, Vec2 position, Vec2 size) {
    const Texture *image = AssetStore::instance()->texture(id);
    if (!image) return;
    glBindTexture(GL_TEXTURE_2D, image->glName);
    drawQuad(position, size);
}

void ScrollerLayer::draw(int) {
    drawImage(borderTextureId, VirtualScreen::toGL(0, 64), VirtualScreen::toGL(1024, 128));

    if (!scrollClockStarted) {
        scrollClock.restart();
        scrollClockStarted = true;
    }
    const Vec2 glyph = VirtualScreen::toGL(28, 24);
    const float advance = glyph.x + glyph.x * 0.08f;
    float position = float(scrollClock.elapsedMs()) * scrollSpeed + 1.0f;
    const ScrollText *text = &scrollTexts[currentText];
    if (position < -(float(text->length) * advance)) {
        // Run out: the next member text enters from the right in this frame.
        currentText = currentText + 1;
        if (currentText > MEMBER_COUNT) currentText = 1;
        scrollClock.restart();
        position = 1.0f;
        text = &scrollTexts[currentText];
    }
    drawCharsetText(text->bytes, text->length, glyph.x, glyph.y, position + 10.0f / 1024.0f, 114.0f / 768.0f);

    const Vec2 menuSize = VirtualScreen::toGL(512, 32);
    const Vec2 title = VirtualScreen::toGL(560, 440);
    drawImage(titleTextureId, title, menuSize);
    const Vec2 entryStep = VirtualScreen::toGL(0, 32);
    for (int k = 1; k <= MEMBER_COUNT; ++k) {
        const bool highlighted = std::strcmp(scrollTextKeys[currentText], scrollTextKeys[k]) == 0;
        const int id = selectionTextureIds.size() == size_t(2 * MEMBER_COUNT)
                           ? selectionTextureIds[2 * (k - 1) + (highlighted ? 0 : 1)]
                           : 0;
        drawImage(id, {title.x - k * entryStep.x, title.y - k * entryStep.y}, menuSize);
    }
}

void ScrollerLayer::onKey(int key) {
    if (key == ArrowUp) {
        currentText = (currentText == 0 || currentText == 1) ? MEMBER_COUNT : currentText - 1;
        scrollClock.restart();
    } else if (key == ArrowDown) {
        currentText = currentText + 1;
        if (currentText > MEMBER_COUNT) currentText = 1;
        scrollClock.restart();
    }
}
