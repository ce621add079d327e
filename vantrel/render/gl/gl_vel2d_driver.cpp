#include <vantrel/render/gl/gl_vel2d_driver_impl.h>

#include <GL/gl.h>

#include <cmath>

#include <vantrel/render/gl/gl_draw_state.h>
#include <vantrel/render/gl/gl_graphics.h>
#include <vantrel/render/gl/gl_image_frame.h>
#include <vantrel/render/gl/gl_utility.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/math.h>

namespace vantrel {

namespace {

void SendColor() {
    const uint8_t* c = GLState().color;
    glColor4ub(c[0], c[1], c[2], c[3]);
}

void Orthographic(double width, double height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

int OvalSegments(float rx, float ry) {
    int segments = TruncToInt(std::fabs(rx) + std::fabs(ry));
    if (segments < 12) segments = 12;   // also catches NaN, which truncates to INT_MIN
    return segments & ~3;
}

GraphicsModeList TGLVel2DDriver::GraphicsModes() { return GLGraphicsDriverInstance()->GraphicsModes(); }

Ref<TGraphics> TGLVel2DDriver::AttachGraphics(intptr_t windowHandle, int flags) {
    Ref<TGraphics> g = GLGraphicsDriverInstance()->AttachGraphics(windowHandle, flags);
    if (!g) return nullptr;
    return TVel2DGraphics::Create(g, Ref<TVel2DDriver>(this));
}

Ref<TGraphics> TGLVel2DDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    Ref<TGraphics> g = GLGraphicsDriverInstance()->CreateGraphics(width, height, depth, hertz, flags);
    if (!g) return nullptr;
    return TVel2DGraphics::Create(g, Ref<TVel2DDriver>(this));
}

void TGLVel2DDriver::SetGraphics(const Ref<TGraphics>& g) {
    Ref<TVel2DGraphics> v = Cast<TVel2DGraphics>(g);
    if (!v) {
        TVel2DGraphics::ClearCurrent();
        GLGraphicsDriverInstance()->SetGraphics(nullptr);
        return;
    }
    GLGraphicsDriverInstance()->SetGraphics(v->_graphics);
    ResetGLContext(v);
    v->MakeCurrent();
}

void TGLVel2DDriver::Flip(int sync) { GLGraphicsDriverInstance()->Flip(sync); }

Ref<TImageFrame> TGLVel2DDriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
    return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

void TGLVel2DDriver::SetBlend(int mode) {
    GLDrawState& s = GLState();
    if (s.blendKnown && s.blend == mode) return;
    s.blendKnown = true;
    s.blend = mode;
    switch (mode) {
        case BlendMasked:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            return;
        case BlendAlpha:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case BlendAdditive:
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case BlendMultiply:
            glEnable(GL_BLEND);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            break;
        default:
            glDisable(GL_BLEND);
            break;
    }
    if (s.SkippingTransparent()) {
        // Both blend functions above scale the source by its alpha and keep
        // the destination whole when that alpha is 0, so dropping those
        // fragments saves the blend without changing a pixel.
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
        return;
    }
    glDisable(GL_ALPHA_TEST);
}

void TGLVel2DDriver::SetSkipTransparent(bool on) {
    GLDrawState& s = GLState();
    s.skipTransparent = on;
    if (!s.blendKnown) return;
    s.blendKnown = false;
    SetBlend(s.blend);
}

void TGLVel2DDriver::SetAlpha(float alpha) {
    GLState().color[3] = AlphaByte(alpha);
    SendColor();
}

void TGLVel2DDriver::SetColor(int red, int green, int blue) {
    uint8_t* c = GLState().color;
    c[0] = ColorByte(red);
    c[1] = ColorByte(green);
    c[2] = ColorByte(blue);
    SendColor();
}

void TGLVel2DDriver::SetClsColor(int red, int green, int blue) {
    glClearColor(ColorByte(red) / 255.0f, ColorByte(green) / 255.0f, ColorByte(blue) / 255.0f, 1.0f);
}

void TGLVel2DDriver::SetViewport(int x, int y, int width, int height) {
    GLDrawState& s = GLState();
    s.clipped = !(x == 0 && y == 0 && width == CurrentGraphicsWidth() && height == CurrentGraphicsHeight());
    if (!s.clipped) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    s.clipX = x;
    s.clipY = y;
    s.clipW = width;
    s.clipH = height;
    glEnable(GL_SCISSOR_TEST);
    SetGLScissor(x, y, width, height);
}

void TGLVel2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
    GLDrawState& s = GLState();
    s.ix = ix;
    s.iy = iy;
    s.jx = jx;
    s.jy = jy;
}

void TGLVel2DDriver::SetLineWidth(float width) { glLineWidth(width); }

void TGLVel2DDriver::Cls() { glClear(GL_COLOR_BUFFER_BIT); }

void TGLVel2DDriver::Plot(float x, float y) {
    DisableGLTexturing();
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void TGLVel2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableGLTexturing();
    const GLDrawState& s = GLState();
    glBegin(GL_LINES);
    glVertex2f(s.X(x0, y0, tx) + 0.5f, s.Y(x0, y0, ty) + 0.5f);
    glVertex2f(s.X(x1, y1, tx) + 0.5f, s.Y(x1, y1, ty) + 0.5f);
    glEnd();
}

void TGLVel2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableGLTexturing();
    const GLDrawState& s = GLState();
    glBegin(GL_QUADS);
    glVertex2f(s.X(x0, y0, tx), s.Y(x0, y0, ty));
    glVertex2f(s.X(x1, y0, tx), s.Y(x1, y0, ty));
    glVertex2f(s.X(x1, y1, tx), s.Y(x1, y1, ty));
    glVertex2f(s.X(x0, y1, tx), s.Y(x0, y1, ty));
    glEnd();
}

void TGLVel2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    float rx = (x1 - x0) * 0.5f, ry = (y1 - y0) * 0.5f;
    float cx = x0 + rx, cy = y0 + ry;
    int segments = OvalSegments(rx, ry);
    DisableGLTexturing();
    const GLDrawState& s = GLState();
    glBegin(GL_POLYGON);
    for (int i = 0; i < segments; ++i) {
        double angle = static_cast<double>(i) * 360.0 / segments;
        float x = cx + rx * static_cast<float>(CosDegrees(angle));
        float y = cy - ry * static_cast<float>(SinDegrees(angle));
        glVertex2f(s.X(x, y, tx), s.Y(x, y, ty));
    }
    glEnd();
}

void TGLVel2DDriver::DrawPoly(const Array<float>& xy, float handleX, float handleY, float originX, float originY) {
    int count = xy->Length();
    if (count < 6 || (count & 1)) return;
    DisableGLTexturing();
    const GLDrawState& s = GLState();
    glBegin(GL_POLYGON);
    for (int i = 0; i < count; i += 2) {
        float x = (*xy)[i] + handleX, y = (*xy)[i + 1] + handleY;
        glVertex2f(s.X(x, y, originX), s.Y(x, y, originY));
    }
    glEnd();
}

void TGLVel2DDriver::DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
    GLDrawState& s = GLState();
    bool hadBlend = s.blendKnown;
    int blend = s.blend;
    DisableGLTexturing();
    SetBlend(BlendSolid);
    DrawPixmapPixels(pixmap, x, y);
    if (hadBlend) SetBlend(blend);
}

Ref<TPixmap> TGLVel2DDriver::GrabPixmap(int x, int y, int width, int height) {
    GLDrawState& s = GLState();
    bool hadBlend = s.blendKnown;
    int blend = s.blend;
    SetBlend(BlendSolid);
    Ref<TPixmap> p = NewPixmap(width, height, FormatRGBA8888, 4);
    // The read leaves pixels outside the window untouched: they must not
    // carry whatever the new pixmap's memory held.
    p->ClearPixels(0);
    glPixelStorei(GL_PACK_ROW_LENGTH, p->pitch / 4);
    glReadPixels(x, CurrentGraphicsHeight() - height - y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    if (hadBlend) SetBlend(blend);
    return MirrorPixmapY(p);
}

void TGLVel2DDriver::SetResolution(float width, float height) {
    GLDrawState& s = GLState();
    s.pixelsPerUnitX = s.width / static_cast<double>(width);
    s.pixelsPerUnitY = s.height / static_cast<double>(height);
    Orthographic(width, height);
}

String TGLVel2DDriver::ToString() const { return "OpenGL"; }

Ref<TGLVel2DDriver> TGLVel2DDriver::Create() {
    if (!GLGraphicsDriverInstance()) return nullptr;
    return Ref<TGLVel2DDriver>(this);
}

void TGLVel2DDriver::ResetGLContext(const Ref<TGraphics>& g) {
    int w = 0, h = 0, depth = 0, hertz = 0, flags = 0;
    g->GetSettings(w, h, depth, hertz, flags);
    ForgetGLDrawState(w, h);
    Orthographic(w, h);
    glLoadIdentity();
    glViewport(0, 0, w, h);
}

Ref<TVel2DDriver> GLVel2DDriverInstance() {
    static Ref<TVel2DDriver> instance = MakeRef<TGLVel2DDriver>()->Create();
    return instance;
}

void InitGLVel2DModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartGLGraphicsModule();
    StartVel2DModule();
    StartImageModule();
    uint8_t* c = GLState().color;
    c[0] = c[1] = c[2] = c[3] = 0;
    if (GLVel2DDriverInstance()) SelectGraphicsDriver(GLVel2DDriverInstance(), GraphicsBackBuffer);
}

}  // namespace vantrel
