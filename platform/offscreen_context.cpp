#include "platform/offscreen_context.h"

#include <EGL/egl.h>      // display, surface, context and GL entry points without a window
#include <EGL/eglext.h>   // the surfaceless Mesa platform
#include <GL/gl.h>
#include <GL/glext.h>     // GL_BGRA

#include <string>

namespace {

// Every GL function this module calls, taken from EGL: it holds the entry
// points of the context that is current, whatever GL library the program
// links (EGL_KHR_get_all_proc_addresses covers the core functions too).
struct GLFunctions {
    void (*finish)() = nullptr;
    void (*pixelStorei)(GLenum, GLint) = nullptr;
    void (*readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void *) = nullptr;
};

struct OffscreenContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    int32_t width = 0, height = 0;   // pixels
    GLFunctions gl;
    std::string failureReason;
};

OffscreenContext offscreen;

template <typename F>
bool load(F &function, const char *name) {
    function = reinterpret_cast<F>(eglGetProcAddress(name));
    return function != nullptr;
}

bool fail(const std::string &reason) {
    destroyOffscreenContext();
    offscreen.failureReason = reason;
    return false;
}

// The EGL display of Mesa's surfaceless platform: no window system, no device
// file; Mesa picks its software rasteriser when there is no GPU.
EGLDisplay surfacelessDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

bool createOffscreenContext(int32_t width, int32_t height) {
    destroyOffscreenContext();
    if (width < 1 || height < 1 || width > 16384 || height > 16384) return fail("size out of range");

    offscreen.display = surfacelessDisplay();
    if (offscreen.display == EGL_NO_DISPLAY) return fail("no surfaceless EGL display (Mesa's EGL is needed)");
    if (!eglInitialize(offscreen.display, nullptr, nullptr)) {
        offscreen.display = EGL_NO_DISPLAY;
        return fail("EGL would not initialise");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("EGL offers no desktop OpenGL");

    // A pixel buffer, not a framebuffer object: Mesa draws into window-system
    // buffers the other way up from framebuffer objects, and only the former
    // give, to the last bit, the pixels of a window.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                       EGL_DEPTH_SIZE, 16, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(offscreen.display, configAttributes, &config, 1, &configs) || configs < 1) {
        return fail("no RGBA pixel buffer with a depth buffer");
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    offscreen.surface = eglCreatePbufferSurface(offscreen.display, config, surfaceAttributes);
    if (offscreen.surface == EGL_NO_SURFACE) {
        return fail("no " + std::to_string(width) + " x " + std::to_string(height) + " pixel buffer");
    }
    // Immediate mode lives only in the compatibility profile.
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    offscreen.context = eglCreateContext(offscreen.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (offscreen.context == EGL_NO_CONTEXT) return fail("no compatibility-profile OpenGL context");
    if (!eglMakeCurrent(offscreen.display, offscreen.surface, offscreen.surface, offscreen.context)) {
        return fail("the context cannot be made current");
    }
    GLFunctions &gl = offscreen.gl;
    if (!load(gl.finish, "glFinish") || !load(gl.pixelStorei, "glPixelStorei") ||
        !load(gl.readPixels, "glReadPixels")) {
        return fail("the context lacks basic functions");
    }
    offscreen.width = width;
    offscreen.height = height;
    return true;
}

void finishOffscreenFrame() {
    if (offscreen.context != EGL_NO_CONTEXT) offscreen.gl.finish();
}

void readOffscreenFrame(uint8_t *pixels, PixelOrder order) {
    if (offscreen.context == EGL_NO_CONTEXT || !pixels) return;
    finishOffscreenFrame();
    offscreen.gl.pixelStorei(GL_PACK_ALIGNMENT, 1);
    const GLenum format = order == PixelOrder::Bgra ? GL_BGRA : GL_RGBA;
    offscreen.gl.readPixels(0, 0, offscreen.width, offscreen.height, format, GL_UNSIGNED_BYTE, pixels);
}

void destroyOffscreenContext() {
    if (offscreen.display != EGL_NO_DISPLAY) {
        eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (offscreen.context != EGL_NO_CONTEXT) eglDestroyContext(offscreen.display, offscreen.context);
        if (offscreen.surface != EGL_NO_SURFACE) eglDestroySurface(offscreen.display, offscreen.surface);
        // The display stays initialised: terminating it would unload Mesa's
        // driver, and a later context in the process would load it afresh.
    }
    offscreen = OffscreenContext{};
}

const char *offscreenFailureReason() { return offscreen.failureReason.c_str(); }
