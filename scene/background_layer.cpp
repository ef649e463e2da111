#include "scene/background_layer.h"

#include <GL/gl.h>  // clearing, binding the image

#include "assets/asset_store.h"
#include "scene/photo_layer.h"
#include "scene/picture_quads.h"
#include "scene/virtual_screen.h"

// The quad in GL units: full width, 1.332 screen heights centred, so the
// square image keeps its proportions on a 4:3 screen.
static const float BACKGROUND_BOTTOM = -0.166f;
static const float BACKGROUND_TOP = 1.166f;

bool BackgroundLayer::init() {
    background.backgroundId = AssetStore::instance()->requestTexture("background-star.png", LoadWhen::FirstFrame);
    return true;
}

void BackgroundLayer::draw() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const Texture *stars = AssetStore::instance()->texture(background.backgroundId);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);   // every later layer draws textured
    if (!stars) return;        // no star image: the black clear stays
    glBindTexture(GL_TEXTURE_2D, stars->glName);
    // Where the slideshow covers the stars this frame they are left out.
    const PixelRect covered =
        slideshow && slideshow->coversItsRectangle() ? pixelsInside(PHOTO_X, PHOTO_Y, PHOTO_SIZE, PHOTO_SIZE) : PixelRect{};
    // The bottom plus this height gives BACKGROUND_TOP exactly, in float.
    drawPicture(*stars, {0, BACKGROUND_BOTTOM}, {1, BACKGROUND_TOP - BACKGROUND_BOTTOM}, {0, 0}, {1, 1}, covered);
}
