// The frame floor's layer.
#include "bench/floor_quad.h"

#include <GL/gl.h>  // the floor's texture and quad

#include <cstddef>
#include <cstdint>
#include <vector>

#include "show/frame_loop.h"
#include "scene/virtual_screen.h"

namespace {

class FloorQuadLayer : public Layer {
public:
    bool init() override {
        std::vector<uint8_t> texels(size_t(1024) * 1024 * 3);
        for (size_t i = 0; i < texels.size(); ++i) texels[i] = uint8_t((i * 2654435761u) >> 24);
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1024, 1024, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return true;
    }
    void draw() override {
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
        glColor3f(1, 1, 1);
        drawQuad({0, 0}, {1, 1});
    }

private:
    GLuint name = 0;
};

}  // namespace

void setUpFloorQuad(int width, int height) {
    VirtualScreen::configure(uint32_t(width), uint32_t(height));
    LayerStack::instance().add(new FloorQuadLayer);
    LayerStack::instance().initAll();
}
