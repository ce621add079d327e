#include <vantrel/render/gl/gl_graphics.h>

#include <vantrel/render/gl/gl_context.h>

namespace vantrel {

TGLGraphics::~TGLGraphics() {
    // A graphics dropped without Close must not leave its window open.
    Close();
}

Ref<TGraphicsDriver> TGLGraphics::Driver() { return GLGraphicsDriverInstance(); }

void TGLGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    if (!_context) {
        width = height = depth = hertz = flags = 0;
        return;
    }
    GetGLContextSettings(_context, width, height, depth, hertz, flags);
}

void TGLGraphics::Close() {
    if (!_context) return;
    CloseGLContext(_context);
    _context = nullptr;
}

GraphicsModeList TGLGraphicsDriver::GraphicsModes() { return DisplayModes(); }

Ref<TGraphics> TGLGraphicsDriver::AttachGraphics(intptr_t windowHandle, int flags) {
    GLContext* c = AttachGLContext(windowHandle, flags);
    if (!c) return nullptr;
    return MakeRef<TGLGraphics>(c);
}

Ref<TGraphics> TGLGraphicsDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    GLContext* c = CreateGLContext(width, height, depth, hertz, flags);
    if (!c) return nullptr;
    return MakeRef<TGLGraphics>(c);
}

void TGLGraphicsDriver::SetGraphics(const Ref<TGraphics>& g) {
    Ref<TGLGraphics> gl = Cast<TGLGraphics>(g);
    MakeGLContextCurrent(gl ? gl->_context : nullptr);
}

void TGLGraphicsDriver::Flip(int sync) { SwapGLBuffers(sync); }

Ref<TGLGraphicsDriver> GLGraphicsDriverInstance() {
    static Ref<TGLGraphicsDriver> instance = MakeRef<TGLGraphicsDriver>();
    return instance;
}

Ref<TGraphics> OpenGLGraphics(int width, int height, int depth, int hertz, int flags) {
    SelectGraphicsDriver(GLGraphicsDriverInstance(), GraphicsBackBuffer);
    return OpenGraphics(width, height, depth, hertz, flags);
}

void StartGLGraphicsModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartGraphicsModule();
    SelectGraphicsDriver(GLGraphicsDriverInstance(), GraphicsBackBuffer);
}

}  // namespace vantrel
