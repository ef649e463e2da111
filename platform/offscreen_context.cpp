#include "platform/offscreen_context.h"

#include <EGL/egl.h>      // display, context and GL entry points without a window
#include <EGL/eglext.h>   // the surfaceless Mesa platform
#include <GL/gl.h>
#include <GL/glext.h>     // framebuffer objects (GL 3.0 core, also in compatibility)

#include <string>

namespace {

// Every GL function this module calls, taken from EGL: it holds the entry
// points of the context that is current, whatever GL library the program
// links (EGL_KHR_get_all_proc_addresses covers the core functions too).
struct GLFunctions {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    void (*viewport)(GLint, GLint, GLsizei, GLsizei) = nullptr;
    void (*finish)() = nullptr;
    void (*pixelStorei)(GLenum, GLint) = nullptr;
    void (*readPixels)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void *) = nullptr;
};

struct OffscreenContext {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {0, 0};   // colour, depth
    int32_t width = 0, height = 0;      // pixels
    GLFunctions gl;
    std::string failureReason;
};

OffscreenContext offscreen;

template <typename F>
bool load(F &function, const char *name) {
    function = reinterpret_cast<F>(eglGetProcAddress(name));
    return function != nullptr;
}

bool loadFunctions(GLFunctions &gl) {
    return load(gl.genFramebuffers, "glGenFramebuffers") && load(gl.bindFramebuffer, "glBindFramebuffer") &&
           load(gl.deleteFramebuffers, "glDeleteFramebuffers") && load(gl.genRenderbuffers, "glGenRenderbuffers") &&
           load(gl.bindRenderbuffer, "glBindRenderbuffer") &&
           load(gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
           load(gl.renderbufferStorage, "glRenderbufferStorage") &&
           load(gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           load(gl.checkFramebufferStatus, "glCheckFramebufferStatus") && load(gl.viewport, "glViewport") &&
           load(gl.finish, "glFinish") && load(gl.pixelStorei, "glPixelStorei") &&
           load(gl.readPixels, "glReadPixels");
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
    offscreen.failureReason.clear();
    if (width < 1 || height < 1 || width > 16384 || height > 16384) return fail("size out of range");

    offscreen.display = surfacelessDisplay();
    if (offscreen.display == EGL_NO_DISPLAY) return fail("no surfaceless EGL display (Mesa's EGL is needed)");
    EGLint major = 0, minor = 0;
    if (!eglInitialize(offscreen.display, &major, &minor)) {
        offscreen.display = EGL_NO_DISPLAY;
        return fail("EGL would not initialise");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) return fail("EGL offers no desktop OpenGL");

    // No surface, so no config is needed; the framebuffer object takes its place.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    eglChooseConfig(offscreen.display, configAttributes, &config, 1, &configs);
    // Immediate mode lives only in the compatibility profile.
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    offscreen.context = eglCreateContext(offscreen.display, configs > 0 ? config : EGLConfig(nullptr), EGL_NO_CONTEXT,
                                         contextAttributes);
    if (offscreen.context == EGL_NO_CONTEXT) return fail("no compatibility-profile OpenGL context");
    if (!eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, offscreen.context)) {
        return fail("the context cannot be made current without a surface");
    }
    GLFunctions &gl = offscreen.gl;
    if (!loadFunctions(gl)) return fail("the context lacks framebuffer objects");

    gl.genRenderbuffers(2, offscreen.renderbuffers);
    gl.bindRenderbuffer(GL_RENDERBUFFER, offscreen.renderbuffers[0]);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    gl.bindRenderbuffer(GL_RENDERBUFFER, offscreen.renderbuffers[1]);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    gl.genFramebuffers(1, &offscreen.framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, offscreen.framebuffer);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, offscreen.renderbuffers[0]);
    gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, offscreen.renderbuffers[1]);
    if (gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        return fail("a " + std::to_string(width) + " x " + std::to_string(height) + " framebuffer is not available");
    }
    gl.viewport(0, 0, width, height);
    offscreen.width = width;
    offscreen.height = height;
    return true;
}

void readOffscreenFrame(uint8_t *rgba) {
    if (offscreen.context == EGL_NO_CONTEXT || !rgba) return;
    offscreen.gl.finish();
    offscreen.gl.pixelStorei(GL_PACK_ALIGNMENT, 1);
    offscreen.gl.readPixels(0, 0, offscreen.width, offscreen.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void destroyOffscreenContext() {
    if (offscreen.context != EGL_NO_CONTEXT) {
        GLFunctions &gl = offscreen.gl;
        if (gl.deleteFramebuffers && offscreen.framebuffer) gl.deleteFramebuffers(1, &offscreen.framebuffer);
        if (gl.deleteRenderbuffers && offscreen.renderbuffers[0]) gl.deleteRenderbuffers(2, offscreen.renderbuffers);
        eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(offscreen.display, offscreen.context);
    }
    if (offscreen.display != EGL_NO_DISPLAY) eglTerminate(offscreen.display);
    offscreen = OffscreenContext{};
}

const char *offscreenFailureReason() { return offscreen.failureReason.c_str(); }
