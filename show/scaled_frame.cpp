#include "show/scaled_frame.h"

#define GL_GLEXT_PROTOTYPES   // framebuffer objects (GL 3.0), from the GL library itself
#include <GL/gl.h>
#include <GL/glext.h>

namespace {

struct ScaledFrame {
    GLuint framebuffer = 0;
    GLuint colour = 0;       // texture: what the layers draw, and what is scaled
    GLuint depth = 0;        // renderbuffer, as the window's 16 bits
    bool rowsFromTop = false;   // drawn upside down, as into a window (below)
};

ScaledFrame frame;

}  // namespace

bool openScaledFrame(int32_t width, int32_t height) {
    closeScaledFrame();
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint previousTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGenTextures(1, &frame.colour);
    glBindTexture(GL_TEXTURE_2D, frame.colour);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, GLuint(previousTexture));

    glGenRenderbuffers(1, &frame.depth);
    glBindRenderbuffer(GL_RENDERBUFFER, frame.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    glGenFramebuffers(1, &frame.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, frame.colour, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, frame.depth);
    // A size beyond the driver's limits fails the texture or the storage,
    // and leaves the framebuffer incomplete.
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || glGetError() != GL_NO_ERROR) {
        closeScaledFrame();
        return false;
    }
    // Mesa keeps a window's rows from the top and draws into it upside down;
    // drawn the other way up, a framebuffer object rounds some edges of the
    // picture differently. With the clip origin at the upper left the frame
    // is drawn as a window is, to the bit, and scaled upside down again.
    // (Without clip control, GL 4.5, a few edge pixels may differ.)
    glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    GLint clipOrigin = GL_LOWER_LEFT;
    glGetIntegerv(GL_CLIP_ORIGIN, &clipOrigin);
    frame.rowsFromTop = clipOrigin == GL_UPPER_LEFT;
    while (glGetError() != GL_NO_ERROR) {
    }
    return true;
}

bool scaledFrameOpen() { return frame.framebuffer != 0; }

void scaleFrameOnto(int32_t windowWidth, int32_t windowHeight, const PictureBox &box) {
    if (!scaledFrameOpen()) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // Blending, the texture binding and environment, the colour, the clear
    // colour, the viewport and scissor: all as the layers left them, after.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, windowWidth, 0, windowHeight, -1, 1);   // window pixels, origin bottom-left
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    if (frame.rowsFromTop) glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glViewport(0, 0, windowWidth, windowHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, frame.colour);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const float left = float(box.x), bottom = float(box.y);
    const float right = float(box.x + box.width), top = float(box.y + box.height);
    const float bottomRow = frame.rowsFromTop ? 1.0f : 0.0f, topRow = 1.0f - bottomRow;
    glBegin(GL_QUADS);
    glTexCoord2f(0, bottomRow);
    glVertex2f(left, bottom);
    glTexCoord2f(0, topRow);
    glVertex2f(left, top);
    glTexCoord2f(1, topRow);
    glVertex2f(right, top);
    glTexCoord2f(1, bottomRow);
    glVertex2f(right, bottom);
    glEnd();

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();   // the matrix mode too: model-view
    if (frame.rowsFromTop) glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    glBindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer);
}

void closeScaledFrame() {
    if (frame.rowsFromTop) glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    if (frame.framebuffer) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &frame.framebuffer);
    }
    if (frame.depth) glDeleteRenderbuffers(1, &frame.depth);
    if (frame.colour) glDeleteTextures(1, &frame.colour);
    frame = ScaledFrame{};
}
