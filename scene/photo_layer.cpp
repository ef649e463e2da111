#include "scene/photo_layer.h"

#include <GL/gl.h>  // binding the pictures, their opacity

#include "assets/asset_store.h"

SlideshowState slideshow;

void resetSlideshow() { slideshow = SlideshowState{}; }

// Block sizes of the pixelated levels: level k has blocks of 2^k texels.
static const uint32_t LEVEL_BLOCKS[FADE_STEPS] = {1, 2, 4, 8, 16, 32, 64};

bool PhotoLayer::init() {
    AssetStore *store = AssetStore::instance();
    slideshow.frameId = store->loadTexture("picture-frame.png");
    for (const char *file : PHOTO_FILES) slideshow.photoIds.push_back(store->loadTexture(file));
    for (int id : slideshow.photoIds) {
        Texture *photo = store->texture(id);
        if (!photo) continue;   // a photograph that failed to load shows nothing
        for (uint32_t block : LEVEL_BLOCKS) photo->addPixelatedLevel(block);
    }
    slideshow.displayClock.restart();
    slideshow.stepClock.restart();
    return true;
}

static void resetTransition() {
    slideshow.fadeAlpha = 1.0f;
    slideshow.fadeStep = 0;
    slideshow.incomingLevel = FADE_STEPS - 1;
    slideshow.displayClock.restart();
    slideshow.stepClock.restart();
}

void showNextPhoto() {
    slideshow.currentPhoto = slideshow.currentPhoto + 1;
    if (slideshow.currentPhoto >= slideshow.photoIds.size()) slideshow.currentPhoto = 0;
    resetTransition();
}

void showPreviousPhoto() {
    if (slideshow.currentPhoto == 0) slideshow.currentPhoto = uint32_t(slideshow.photoIds.size()) - 1;
    else slideshow.currentPhoto = slideshow.currentPhoto - 1;
    resetTransition();
}

void PhotoLayer::onKey(int key) {
    if (key == ArrowLeft) showPreviousPhoto();
    else if (key == ArrowRight) showNextPhoto();
}

// The texture of a photograph's pixelated level, or 0 when it has none.
static GLuint levelOf(const Texture *photo, uint32_t level) {
    return photo && level < photo->pixelatedLevels.size() ? photo->pixelatedLevels[level] : 0;
}

// Moves the transition on by its clocks: it begins once the photograph has
// shown for DISPLAY_MS, takes a step at most every STEP_MS, and after its last
// step makes the next photograph current. True while a transition shows.
static bool advanceTransition() {
    if (slideshow.displayClock.elapsedMs() <= DISPLAY_MS) return false;
    if (!slideshow.stepClockStarted) {
        slideshow.stepClock.restart();
        slideshow.stepClockStarted = true;
    }
    if (slideshow.stepClock.elapsedMs() >= STEP_MS) {
        slideshow.fadeAlpha = float(slideshow.fadeAlpha - 1.0 / FADE_STEPS);   // in double, then rounded
        slideshow.fadeStep = slideshow.fadeStep + 1;
        slideshow.incomingLevel = slideshow.incomingLevel - 1;
        slideshow.stepClock.restart();
    }
    if (slideshow.fadeStep == FADE_STEPS) {
        showNextPhoto();
        slideshow.stepClockStarted = false;
        return false;
    }
    return true;
}

// The current photograph plainly; during a transition, the incoming one's
// level beneath the current one's level at fadeAlpha.
static void drawPhotographs(bool transitioning, Vec2 position, Vec2 size) {
    if (slideshow.photoIds.empty()) return;
    AssetStore *store = AssetStore::instance();
    const Texture *current = store->texture(slideshow.photoIds[slideshow.currentPhoto]);
    GLuint currentTexture = 0;
    if (transitioning) {
        const uint32_t next =
            slideshow.currentPhoto + 1 < slideshow.photoIds.size() ? slideshow.currentPhoto + 1 : 0;
        const Texture *incoming = store->texture(slideshow.photoIds[next]);
        if (GLuint incomingTexture = levelOf(incoming, uint32_t(slideshow.incomingLevel))) {
            glBindTexture(GL_TEXTURE_2D, incomingTexture);
            glColor4f(1, 1, 1, 1);
            drawQuad(position, size);
        }
        currentTexture = levelOf(current, slideshow.fadeStep);
    } else if (current) {
        currentTexture = current->glName;
    }
    if (currentTexture) {
        glBindTexture(GL_TEXTURE_2D, currentTexture);
        glColor4f(1, 1, 1, slideshow.fadeAlpha);
        drawQuad(position, size);
    }
}

// The picture frame over the photograph, opaque.
static void drawFrame(Vec2 position, Vec2 size) {
    glColor4f(1, 1, 1, 1);
    const Texture *frame = AssetStore::instance()->texture(slideshow.frameId);
    if (!frame) return;
    glBindTexture(GL_TEXTURE_2D, frame->glName);
    // The frame is padded to a power of two; map only the image's part.
    const float u = float(frame->imageWidth) / float(frame->textureWidth);
    const float v = float(frame->imageHeight) / float(frame->textureHeight);
    drawTexturedQuad(position, size, {0, 0}, {u, v});
}

void PhotoLayer::draw(int) {
    const Vec2 size = VirtualScreen::toGL(PHOTO_SIZE, PHOTO_SIZE);
    const Vec2 position = VirtualScreen::toGL(PHOTO_X, PHOTO_Y);
    const bool transitioning = advanceTransition();
    drawPhotographs(transitioning, position, size);
    drawFrame(position, size);
}

const char *const PHOTO_FILES[PHOTO_COUNT] = {
    "01_alpine-dawn.jpg",    "02_mandelbrot-valley.jpg", "03_emission-nebula.jpg", "04_polished-marble.jpg",
    "05_cumulus-afternoon.jpg", "06_meadow-noon.jpg",    "07_julia-filigree.jpg",  "08_ringed-planet.jpg",
    "09_desert-dusk.jpg",    "10_walnut-grain.jpg",      "11_aurora-lake.jpg",     "12_fjord-evening.jpg",
    "13_burning-ship.jpg",   "14_spiral-galaxy.jpg",     "15_moonlit-peaks.jpg",   "16-amethyst-geode.jpg",
    "17-storm-front.jpg",    "18-red-canyon.jpg",        "19-deep-spiral.jpg",     "20-solar-eclipse.jpg",
    "21-volcanic-island.jpg", "22-autumn-leaves.jpg",    "23-sunset-sea.jpg",      "24-misty-highlands.jpg",
};
