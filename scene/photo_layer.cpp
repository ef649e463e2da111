#include "scene/photo_layer.h"

#include <GL/gl.h>  // binding the pictures, their opacity

#include "assets/asset_store.h"
#include "scene/picture_quads.h"

#include <iterator>

// Block sizes of the pixelated levels: level k has blocks of 2^k texels.
static const uint32_t LEVEL_BLOCKS[FADE_STEPS] = {1, 2, 4, 8, 16, 32, 64};

bool PhotoLayer::init() {
    AssetStore *store = AssetStore::instance();
    slideshow.frameId = store->requestTexture("picture-frame.png", LoadWhen::FirstFrame);
    // The first photograph is on the first frame; the others load meanwhile,
    // each with its pixelated levels, and the slideshow waits for any that
    // is due before it has come.
    photos->requestPhotos(std::vector<uint32_t>(std::begin(LEVEL_BLOCKS), std::end(LEVEL_BLOCKS)));
    // The clocks start with the first frame (draw): the display's opening and
    // the first frame's loading come after this and are no part of the show.
    return true;
}

// Whether the photograph at index can be shown (as its source says: by
// default it has come, or failed to come, and then nothing shows for it).
static bool photoArrived(const PhotoSource &photos, uint32_t index) {
    return index < photos.photoCount() && photos.photoReady(index);
}

// The photograph after index, with wrap-around.
static uint32_t photoAfter(const PhotoSource &photos, uint32_t index) {
    return index + 1 < photos.photoCount() ? index + 1 : 0;
}

static void resetTransition(SlideshowState &slideshow) {
    slideshow.fadeAlpha = 1.0f;
    slideshow.fadeStep = 0;
    slideshow.incomingLevel = FADE_STEPS - 1;
    slideshow.displayClock.restart();
    slideshow.stepClock.restart();
}

// Whether the photograph at index is here, opaque, with its levels.
static bool photoCovers(const PhotoSource &photos, uint32_t index) {
    const Texture *photo = index < photos.photoCount() ? AssetStore::instance()->texture(photos.photoId(index)) : nullptr;
    return photo && photo->opaque && photo->pixelatedLevels.size() >= FADE_STEPS;
}

bool PhotoLayer::coversItsRectangle() const {
    if (photos->photoCount() == 0) return false;
    // Whatever the clocks do this frame, one of these is drawn at full
    // opacity over the whole rectangle: the current one plainly or at its
    // first step, the next one beneath a transition or after the hand-over,
    // the awaited one once it has come.
    return photoCovers(*photos, slideshow.currentPhoto) &&
           photoCovers(*photos, photoAfter(*photos, slideshow.currentPhoto)) &&
           (!slideshow.awaitingPhoto || photoCovers(*photos, slideshow.awaitedPhoto));
}

// Asks for the photograph at index: current at once when it has come; until
// then the current one stays, shown plainly, and takes its place when it comes.
static void showPhoto(SlideshowState &slideshow, const PhotoSource &photos, uint32_t index) {
    slideshow.awaitingPhoto = !photoArrived(photos, index);
    if (slideshow.awaitingPhoto) slideshow.awaitedPhoto = index;
    else slideshow.currentPhoto = index;
    resetTransition(slideshow);
}

// Keys step from the photograph last asked for.
static uint32_t lastAskedFor(const SlideshowState &slideshow) {
    return slideshow.awaitingPhoto ? slideshow.awaitedPhoto : slideshow.currentPhoto;
}

void PhotoLayer::showNextPhoto() {
    if (photos->photoCount() == 0) return;
    showPhoto(slideshow, *photos, photoAfter(*photos, lastAskedFor(slideshow)));
}

void PhotoLayer::showPreviousPhoto() {
    if (photos->photoCount() == 0) return;
    const uint32_t from = lastAskedFor(slideshow);
    showPhoto(slideshow, *photos, from == 0 ? photos->photoCount() - 1 : from - 1);
}

// A photograph asked for before it had come takes its place once it has,
// shown plainly for the full time from then on.
static void showAwaitedOnceArrived(SlideshowState &slideshow, const PhotoSource &photos) {
    if (slideshow.awaitingPhoto && photoArrived(photos, slideshow.awaitedPhoto)) {
        showPhoto(slideshow, photos, slideshow.awaitedPhoto);
    }
}

// A photograph that could not be shown leaves the source: the indices
// after it move down by one, the current and awaited ones with them; an
// awaited one that left is replaced by the one after it.
static void followDroppedPhotos(SlideshowState &slideshow, PhotoSource &photos) {
    for (uint32_t dropped; photos.dropFailed(dropped);) {
        const uint32_t count = photos.photoCount();
        for (uint32_t *index : {&slideshow.currentPhoto, &slideshow.awaitedPhoto}) {
            if (*index > dropped) --*index;
            if (*index >= count) *index = 0;
        }
    }
}

void PhotoLayer::onKey(int key) {
    if (key == KeyArrowLeft) showPreviousPhoto();
    else if (key == KeyArrowRight) showNextPhoto();
}

// The texture of a photograph's pixelated level, or 0 when it has none.
static GLuint levelOf(const Texture *photo, uint32_t level) {
    return photo && level < photo->pixelatedLevels.size() ? photo->pixelatedLevels[level] : 0;
}

// Moves the transition on by its clocks: it begins once the photograph has
// shown for DISPLAY_MS and the next one has come, takes a step at most every
// STEP_MS, and after its last step makes the next photograph current. True
// while a transition shows. None begins while a key's photograph is awaited.
bool PhotoLayer::advanceTransition() {
    if (slideshow.displayClock.elapsedMs() <= DISPLAY_MS) return false;
    const uint32_t next = photoAfter(*photos, slideshow.currentPhoto);
    if (slideshow.awaitingPhoto || !photoArrived(*photos, next)) return false;
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

// Binds a picture with the filter it is drawn with: a photograph plainly
// linear, its pixelated levels nearest. Level 0 is the photograph's own
// texture, so that one's filter follows its use; setting a filter a texture
// has already costs nothing.
static void bindFiltered(GLuint name, GLint filter) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
}

// The current photograph plainly; during a transition, the incoming one's
// level beneath the current one's level at fadeAlpha. Pixelated levels are
// opaque, and so are the photographs: what is drawn at full opacity goes
// without blending, and nothing beneath a level at full opacity.
static void drawPhotographs(const SlideshowState &slideshow, const PhotoSource &photos, bool transitioning,
                            Vec2 position, Vec2 size) {
    if (photos.photoCount() == 0) return;
    AssetStore *store = AssetStore::instance();
    const Texture *current = store->texture(photos.photoId(slideshow.currentPhoto));
    glColor4f(1, 1, 1, 1);
    if (!transitioning) {
        if (!current) return;
        bindFiltered(current->glName, GL_LINEAR);
        drawPicture(*current, position, size, {0, 0}, {1, 1});   // fadeAlpha is 1 outside a transition
        return;
    }
    const GLuint currentLevel = levelOf(current, slideshow.fadeStep);
    const bool currentCovers = currentLevel && slideshow.fadeAlpha == 1.0f;
    const Texture *incoming = store->texture(photos.photoId(photoAfter(photos, slideshow.currentPhoto)));
    if (GLuint incomingLevel = levelOf(incoming, uint32_t(slideshow.incomingLevel)); incomingLevel && !currentCovers) {
        bindFiltered(incomingLevel, GL_NEAREST);
        drawOpaqueQuad(position, size);
    }
    if (!currentLevel) return;
    bindFiltered(currentLevel, GL_NEAREST);
    if (currentCovers) {
        drawOpaqueQuad(position, size);
        return;
    }
    glColor4f(1, 1, 1, slideshow.fadeAlpha);
    drawQuad(position, size);
}

// The picture frame over the photograph, opaque.
static void drawPictureFrame(const SlideshowState &slideshow, Vec2 position, Vec2 size) {
    glColor4f(1, 1, 1, 1);
    const Texture *frame = AssetStore::instance()->texture(slideshow.frameId);
    if (!frame) return;
    glBindTexture(GL_TEXTURE_2D, frame->glName);
    // The frame is padded to a power of two; map only the image's part. Its
    // clear middle is left out (under blending it changes nothing).
    const float u = float(frame->imageWidth) / float(frame->textureWidth);
    const float v = float(frame->imageHeight) / float(frame->textureHeight);
    drawPicture(*frame, position, size, {0, 0}, {u, v});
}

void PhotoLayer::draw() {
    const Vec2 size = VirtualScreen::toGL(PHOTO_SIZE, PHOTO_SIZE);
    const Vec2 position = VirtualScreen::toGL(PHOTO_X, PHOTO_Y);
    if (!slideshow.clocksStarted) {
        // The first photograph's four seconds begin when it is first shown.
        slideshow.displayClock.restart();
        slideshow.stepClock.restart();
        slideshow.clocksStarted = true;
    }
    followDroppedPhotos(slideshow, *photos);
    photos->keepNear(slideshow.currentPhoto, lastAskedFor(slideshow));
    showAwaitedOnceArrived(slideshow, *photos);
    const bool transitioning = advanceTransition();
    drawPhotographs(slideshow, *photos, transitioning, position, size);
    drawPictureFrame(slideshow, position, size);
}
