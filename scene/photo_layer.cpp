#include "scene/photo_layer.h"

#include <GL/gl.h>  // binding the pictures, their opacity

#include "assets/asset_store.h"

std::vector<int> photoIds;
int frameId = 0;
uint32_t currentPhoto = 0;
float fadeAlpha = 1.0f;
uint32_t fadeStep = 0;
int32_t incomingLevel = 6;
Stopwatch displayClock;
Stopwatch stepClock;
bool stepClockStarted = false;

// Block sizes of the pixelated levels: level k has blocks of 2^k texels.
static const uint32_t LEVEL_BLOCKS[FADE_STEPS] = {1, 2, 4, 8, 16, 32, 64};

bool PhotoLayer::init() {
    AssetStore *store = AssetStore::instance();
    frameId = store->loadTexture("picture-frame.png");
    for (const char *file : PHOTO_FILES) photoIds.push_back(store->loadTexture(file));
    for (int id : photoIds) {
        Texture *photo = store->texture(id);
        if (!photo) continue;   // a photograph that failed to load shows nothing
        for (uint32_t block : LEVEL_BLOCKS) photo->addPixelatedLevel(block);
    }
    displayClock.restart();
    stepClock.restart();
    return true;
}

static void resetTransition() {
    fadeAlpha = 1.0f;
    fadeStep = 0;
    incomingLevel = 6;
    displayClock.restart();
    stepClock.restart();
}

void showNextPhoto() {
    currentPhoto = currentPhoto + 1;
    if (currentPhoto >= photoIds.size()) currentPhoto = 0;
    resetTransition();
}

void showPreviousPhoto() {
    if (currentPhoto == 0) currentPhoto = uint32_t(photoIds.size()) - 1;
    else currentPhoto = currentPhoto - 1;
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

void PhotoLayer::draw(int) {
    AssetStore *store = AssetStore::instance();
    const Texture *frame = store->texture(frameId);
    const Vec2 size = VirtualScreen::toGL(PHOTO_SIZE, PHOTO_SIZE);
    const Vec2 position = VirtualScreen::toGL(PHOTO_X, PHOTO_Y);

    bool transitioning = displayClock.elapsedMs() > DISPLAY_MS;
    if (transitioning) {
        if (!stepClockStarted) {
            stepClock.restart();
            stepClockStarted = true;
        }
        if (stepClock.elapsedMs() >= STEP_MS) {
            fadeAlpha = float(fadeAlpha - 0.14285714285714285);
            fadeStep = fadeStep + 1;
            incomingLevel = incomingLevel - 1;
            stepClock.restart();
        }
        if (fadeStep == FADE_STEPS) {
            showNextPhoto();
            stepClockStarted = false;
            transitioning = false;
        }
    }

    if (!photoIds.empty()) {
        const Texture *current = store->texture(photoIds[currentPhoto]);
        GLuint currentTexture = 0;
        if (transitioning) {
            const uint32_t next = currentPhoto + 1 < photoIds.size() ? currentPhoto + 1 : 0;
            const Texture *incoming = store->texture(photoIds[next]);
            if (GLuint incomingTexture = levelOf(incoming, uint32_t(incomingLevel))) {
                glBindTexture(GL_TEXTURE_2D, incomingTexture);
                glColor4f(1, 1, 1, 1);
                drawQuad(position, size);
            }
            currentTexture = levelOf(current, fadeStep);
        } else if (current) {
            currentTexture = current->glName;
        }
        if (currentTexture) {
            glBindTexture(GL_TEXTURE_2D, currentTexture);
            glColor4f(1, 1, 1, fadeAlpha);
            drawQuad(position, size);
        }
    }

    glColor4f(1, 1, 1, 1);
    if (!frame) return;
    glBindTexture(GL_TEXTURE_2D, frame->glName);
    // The frame is padded to a power of two; map only the image's part.
    const float u = float(frame->imageWidth) / float(frame->textureWidth);
    const float v = float(frame->imageHeight) / float(frame->textureHeight);
    drawTexturedQuad(position, size, {0, 0}, {u, v});
}

const char *const PHOTO_FILES[PHOTO_COUNT] = {
    "01_alpine-dawn.jpg",    "02_mandelbrot-valley.jpg", "03_emission-nebula.jpg", "04_polished-marble.jpg",
    "05_cumulus-afternoon.jpg", "06_meadow-noon.jpg",    "07_julia-filigree.jpg",  "08_ringed-planet.jpg",
    "09_desert-dusk.jpg",    "10_walnut-grain.jpg",      "11_aurora-lake.jpg",     "12_fjord-evening.jpg",
    "13_burning-ship.jpg",   "14_spiral-galaxy.jpg",     "15_moonlit-peaks.jpg",   "16-amethyst-geode.jpg",
    "17-storm-front.jpg",    "18-red-canyon.jpg",        "19-deep-spiral.jpg",     "20-solar-eclipse.jpg",
    "21-volcanic-island.jpg", "22-autumn-leaves.jpg",    "23-sunset-sea.jpg",      "24-misty-highlands.jpg",
};
