// The OpenGL graphics driver: graphics contexts that are OpenGL contexts
// with their windows (render/gl/gl_context.h does the window-system work).
//
// Failure: CreateGraphics and AttachGraphics return Null when no window or
// context can be made; a full-screen mode that cannot be set raises the
// runtime error "GLGraphicsDriver failed to set display mode".
//
// Main thread only.
#pragma once

#include <vantrel/render/graphics.h>

namespace vantrel {

struct GLContext;

class TGLGraphics : public TGraphics {
public:
    explicit TGLGraphics(GLContext* context) : _context(context) {}
    ~TGLGraphics() override;

    Ref<TGraphicsDriver> Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    void Close() override;

    GLContext* _context;   // nullptr after Close
};

class TGLGraphicsDriver : public TGraphicsDriver {
public:
    GraphicsModeList GraphicsModes() override;
    Ref<TGraphics> AttachGraphics(intptr_t windowHandle, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    // Null, or graphics that are not TGLGraphics, make no context current.
    void SetGraphics(const Ref<TGraphics>& g) override;
    void Flip(int sync) override;
};

Ref<TGLGraphicsDriver> GLGraphicsDriverInstance();
// Selects the OpenGL graphics driver (double buffered) and opens graphics.
Ref<TGraphics> OpenGLGraphics(int width, int height, int depth, int hertz, int flags);

void StartGLGraphicsModule();

}  // namespace vantrel
