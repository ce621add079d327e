#include <vantrel/render/gl/gl_draw_state.h>

#include <GL/gl.h>

namespace vantrel {

GLDrawState& GLState() {
    static GLDrawState state;
    return state;
}

void ForgetGLDrawState(int width, int height) {
    GLDrawState& s = GLState();
    s.blendKnown = false;
    s.blend = 0;
    s.texture = 0;
    s.texturing = false;
    s.width = width;
    s.height = height;
    s.pixelsPerUnitX = s.pixelsPerUnitY = 1.0;
    s.clipped = false;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
}

void SetGLScissor(int x, int y, int width, int height) {
    // The window system counts rows from the bottom.
    glScissor(x, GLState().height - y - height, width, height);
}

void BindGLTexture(unsigned name) {
    GLDrawState& s = GLState();
    if (s.texture == name) return;
    glBindTexture(GL_TEXTURE_2D, name);
    s.texture = name;
}

void EnableGLTexturing(unsigned name) {
    BindGLTexture(name);
    GLDrawState& s = GLState();
    if (s.texturing) return;
    glEnable(GL_TEXTURE_2D);
    s.texturing = true;
}

void DisableGLTexturing() {
    GLDrawState& s = GLState();
    if (!s.texturing) return;
    glDisable(GL_TEXTURE_2D);
    s.texturing = false;
}

void ForgetGLTexture(unsigned name) {
    GLDrawState& s = GLState();
    if (s.texture == name) s.texture = 0;
}

}  // namespace vantrel
