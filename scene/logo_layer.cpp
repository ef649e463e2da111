#include "scene/logo_layer.h"

#include <GL/gl.h>  // blend state, binding the logo

#include <algorithm>

#include "assets/asset_store.h"
#include "scene/picture_quads.h"
#include "scene/virtual_screen.h"

void enableLayerBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

bool LogoLayer::init() {
    AssetStore *store = AssetStore::instance();
    logo.logoId = logo.ownLogo.empty() ? store->requestTexture("krv-logo.png", LoadWhen::FirstFrame)
                                       : store->requestPictureFile(logo.ownLogo, LoadWhen::FirstFrame);
    return true;
}

// Virtual pixels, fractions kept, to GL units.
static Vec2 virtualToGL(double x, double y) {
    const Vec2 whole = VirtualScreen::toGL(1024, 768);
    return {float(x / 1024.0 * whole.x), float(y / 768.0 * whole.y)};
}

// The viewer's picture, whole, as large as fits the group's logo's
// rectangle (virtual pixels: 660 x 200 at LOGO_SCALE from (328, 542)) and
// centred in it. The picture fills the lower left of its padded texture.
static void drawOwnLogo(const Texture &picture) {
    const double boxWidth = 660.0 * double(LOGO_SCALE), boxHeight = 200.0 * double(LOGO_SCALE);
    const double scale = std::min(boxWidth / picture.imageWidth, boxHeight / picture.imageHeight);
    const double width = picture.imageWidth * scale, height = picture.imageHeight * scale;
    const Vec2 texMax = {float(picture.imageWidth) / float(picture.textureWidth),
                         float(picture.imageHeight) / float(picture.textureHeight)};
    drawPicture(picture, virtualToGL(328.0 + (boxWidth - width) / 2, 542.0 + (boxHeight - height) / 2),
                virtualToGL(width, height), {0, 0}, texMax);
}

void LogoLayer::draw() {
    const Texture *logoImage = AssetStore::instance()->texture(logo.logoId);
    glDisable(GL_CULL_FACE);
    enableLayerBlending();   // left on into the next frame
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    if (!logoImage) return;
    glBindTexture(GL_TEXTURE_2D, logoImage->glName);
    if (!logo.ownLogo.empty()) {
        drawOwnLogo(*logoImage);
        return;
    }

    const Vec2 extent = VirtualScreen::toGL(660, 200);
    const float w = float(extent.x * double(LOGO_SCALE));
    const float h = float(extent.y * double(LOGO_SCALE));
    drawPicture(*logoImage, VirtualScreen::toGL(328, 542), {w, h}, {LOGO_S0, LOGO_T0}, {LOGO_S1, LOGO_T1});
}
