#include <vantrel/render/gl/gl_letterbox_target.h>

#include <SDL.h>

#include <cstdlib>

#include <vantrel/render/graphics.h>
#include <vantrel/system/sdl/letterbox.h>

namespace vantrel {

namespace {

template <class F>
bool Load(F& f, const char* name) {
    f = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    return f != nullptr;
}

bool HasFramebufferBlit() {
    // The version string starts "major.minor"; asking for GL_MAJOR_VERSION
    // would leave an error in the program's error flag before 3.0.
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return (version && std::atoi(version) >= 3) || SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object");
}

// Clears the bound draw framebuffer to black without the scissor, keeping
// the program's clear colour and scissor test.
void ClearToBlack() {
    GLfloat clear[4] = {0, 0, 0, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

}  // namespace

bool GLLetterboxTarget::LoadFunctions() {
    if (_blitFramebuffer) return true;
    if (!HasFramebufferBlit()) return false;
    return Load(_genFramebuffers, "glGenFramebuffers") && Load(_deleteFramebuffers, "glDeleteFramebuffers") &&
           Load(_bindFramebuffer, "glBindFramebuffer") &&
           Load(_checkFramebufferStatus, "glCheckFramebufferStatus") &&
           Load(_framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           Load(_genRenderbuffers, "glGenRenderbuffers") && Load(_deleteRenderbuffers, "glDeleteRenderbuffers") &&
           Load(_bindRenderbuffer, "glBindRenderbuffer") && Load(_renderbufferStorage, "glRenderbufferStorage") &&
           Load(_blitFramebuffer, "glBlitFramebuffer");
}

bool GLLetterboxTarget::Create(int width, int height, int flags) {
    if (Active()) return true;
    if (width <= 0 || height <= 0 || !LoadFunctions()) return false;
    _width = width;
    _height = height;
    _genFramebuffers(1, &_framebuffer);
    _bindFramebuffer(GL_FRAMEBUFFER, _framebuffer);
    _genRenderbuffers(1, &_color);
    _bindRenderbuffer(GL_RENDERBUFFER, _color);
    // Without an alpha buffer asked for, the window has none either: blends
    // reading the destination's alpha must see 1 as they do there.
    _renderbufferStorage(GL_RENDERBUFFER, (flags & GraphicsAlphaBuffer) ? GL_RGBA8 : GL_RGB8, width, height);
    _framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, _color);
    if (flags & (GraphicsDepthBuffer | GraphicsStencilBuffer)) {
        _genRenderbuffers(1, &_depthStencil);
        _bindRenderbuffer(GL_RENDERBUFFER, _depthStencil);
        _renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
        _framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, _depthStencil);
    }
    _bindRenderbuffer(GL_RENDERBUFFER, 0);
    if (_checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        Destroy();
        return false;
    }
    ClearToBlack();
    return true;
}

void GLLetterboxTarget::Destroy() {
    if (!_framebuffer) return;
    _bindFramebuffer(GL_FRAMEBUFFER, 0);
    _deleteFramebuffers(1, &_framebuffer);
    _deleteRenderbuffers(1, &_color);
    if (_depthStencil) _deleteRenderbuffers(1, &_depthStencil);
    _framebuffer = _color = _depthStencil = 0;
}

void GLLetterboxTarget::Present(int drawableWidth, int drawableHeight) {
    if (!Active()) return;
    _bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    ClearToBlack();
    LetterboxRect box = FitLetterbox(drawableWidth, drawableHeight, _width, _height);
    int bottom = drawableHeight - box.y - box.height;   // OpenGL counts rows from the bottom
    GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);   // the blit obeys it
    glDisable(GL_SCISSOR_TEST);
    _blitFramebuffer(0, 0, _width, _height, box.x, bottom, box.x + box.width, bottom + box.height,
                     GL_COLOR_BUFFER_BIT, GL_LINEAR);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    _bindFramebuffer(GL_DRAW_FRAMEBUFFER, _framebuffer);
}

}  // namespace vantrel
