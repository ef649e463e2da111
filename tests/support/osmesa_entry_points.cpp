// GL entry points that OSMesa's library leaves out although its Mesa has
// them, and that the program calls directly, as the system's libGL exports
// them: glClipControl (GL 4.5). Compiled into every test program on OSMesa.
#include <GL/osmesa.h>   // OSMesaGetProcAddress
#include <GL/gl.h>

extern "C" void glClipControl(GLenum origin, GLenum depth) {
    using ClipControl = void (*)(GLenum, GLenum);
    static const auto function = reinterpret_cast<ClipControl>(OSMesaGetProcAddress("glClipControl"));
    if (function) function(origin, depth);
}
