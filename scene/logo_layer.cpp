#include "scene/logo_layer.h"

#include <GL/gl.h>  // immediate-mode drawing and blend state

#include "assets/asset_store.h"
#include "scene/virtual_screen.h"

int logoId = 0;

bool LogoLayer::init() {
    logoId = AssetStore::instance()->loadTexture("krv-logo.png");
    return true;
}

void LogoLayer::draw(int) {
    const Texture *logo = AssetStore::instance()->texture(logoId);
    glDisable(GL_CULL_FACE);
    // Left on into the next frame: the photo fade and every transparent
    // picture before the logo blend with it.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    if (!logo) return;
    glBindTexture(GL_TEXTURE_2D, logo->glName);

    const Vec2 extent = VirtualScreen::toGL(660, 200);
    const float w = float(extent.x * double(LOGO_SCALE));
    const float h = float(extent.y * double(LOGO_SCALE));
    const Vec2 corner = VirtualScreen::toGL(328, 542);
    const float x = corner.x, y = corner.y;
    glBegin(GL_QUADS);
    glTexCoord2f(LOGO_S0, LOGO_T0);
    glVertex2f(x, y);
    glTexCoord2f(LOGO_S0, LOGO_T1);
    glVertex2f(x, y + h);
    glTexCoord2f(LOGO_S1, LOGO_T1);
    glVertex2f(x + w, y + h);
    glTexCoord2f(LOGO_S1, LOGO_T0);
    glVertex2f(x + w, y);
    glEnd();
}
