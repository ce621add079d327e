#include "render/gl/gl_draw_state.h"

#include <GL/gl.h>

namespace vantrel {

GLDrawState& GLState() {
    static GLDrawState state;
    return state;
}

void ForgetGLDrawState() {
    GLDrawState& s = GLState();
    s.blendKnown = false;
    s.blend = 0;
    s.texture = 0;
    s.texturing = false;
    glDisable(GL_TEXTURE_2D);
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
