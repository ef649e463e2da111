#include "tests/support/gl_test_context.h"

#include <GL/osmesa.h>  // off-screen software rendering
#include <GL/gl.h>
#include <png.h>  // saving frames to look at

GLTestContext::GLTestContext(int width, int height) : w(width), h(height) {
    buffer.assign(size_t(width) * height * 4, 0);
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!ctx) return;
    if (!OSMesaMakeCurrent(ctx, buffer.data(), GL_UNSIGNED_BYTE, width, height)) {
        OSMesaDestroyContext(ctx);
        return;
    }
    context = ctx;
}

GLTestContext::~GLTestContext() {
    if (!context) return;
    glFinish();
    OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
    OSMesaDestroyContext(static_cast<OSMesaContext>(context));
}

std::vector<uint8_t> GLTestContext::readPixels() const {
    glFinish();
    std::vector<uint8_t> frame(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, frame.data());
    return frame;
}

GLTestContext::RGBA GLTestContext::pixel(const std::vector<uint8_t> &frame, int x, int y) const {
    const uint8_t *p = &frame[(size_t(y) * w + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void GLTestContext::savePng(const std::vector<uint8_t> &frame, const char *path) const {
    saveRgbaPng(frame, w, h, path);
}

void saveRgbaPng(const std::vector<uint8_t> &frame, int width, int height, const char *path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.format = PNG_FORMAT_RGBA;
    // A negative row stride writes the bottom-up frame upright.
    png_image_write_to_file(&image, path, 0, frame.data(), -width * 4, nullptr);
}
