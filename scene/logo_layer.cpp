#include "scene/logo_layer.h"

#include <GL/gl.h>  // blend state, binding the logo

#include "assets/asset_store.h"
#include "scene/picture_quads.h"
#include "scene/virtual_screen.h"

void enableLayerBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

bool LogoLayer::init() {
    logo.logoId = AssetStore::instance()->requestTexture("krv-logo.png", LoadWhen::FirstFrame);
    return true;
}

void LogoLayer::draw() {
    const Texture *logoImage = AssetStore::instance()->texture(logo.logoId);
    glDisable(GL_CULL_FACE);
    enableLayerBlending();   // left on into the next frame
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    if (!logoImage) return;
    glBindTexture(GL_TEXTURE_2D, logoImage->glName);

    const Vec2 extent = VirtualScreen::toGL(660, 200);
    const float w = float(extent.x * double(LOGO_SCALE));
    const float h = float(extent.y * double(LOGO_SCALE));
    drawPicture(*logoImage, VirtualScreen::toGL(328, 542), {w, h}, {LOGO_S0, LOGO_T0}, {LOGO_S1, LOGO_T1});
}
