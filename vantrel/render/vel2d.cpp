#include <vantrel/render/vel2d.h>
#include <vantrel/render/vel2d_current.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <vantrel/render/image.h>
#include <vantrel/render/image_font.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/math.h>
#include <vantrel/system/polled_input.h>

namespace vantrel {

namespace {

// Module state lives in slots that are never destroyed: a context or font
// released by static destruction after the platform has shut down would
// touch a dead device.
Ref<TVel2DGraphics>& CurrentSlot() {
    static auto* slot = new Ref<TVel2DGraphics>();
    return *slot;
}

Ref<TVel2DDriver>& DriverSlot() {
    static auto* slot = new Ref<TVel2DDriver>();
    return *slot;
}

Ref<TImageFont>& DefaultFontSlot() {
    static auto* slot = new Ref<TImageFont>();
    return *slot;
}

TVel2DDriver& Driver2D() {
    TVel2DDriver* d = DriverSlot().get();
    if (!d) RaiseRuntimeError("No current 2D graphics");
    return *d;
}

// The setters below act on a given state and driver, so that Validate can
// apply exactly its own state; the procedures pass the current pair.

void ApplyTransform(TVel2DGraphics& g, TVel2DDriver& d) {
    double s = SinDegrees(g.tform_rot);
    double c = CosDegrees(g.tform_rot);
    g.tform_ix = static_cast<float>(c * g.tform_scale_x);
    g.tform_iy = static_cast<float>(-s * g.tform_scale_y);
    g.tform_jx = static_cast<float>(s * g.tform_scale_x);
    g.tform_jy = static_cast<float>(c * g.tform_scale_y);
    d.SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

void ApplyLogicalResolution(TVel2DGraphics& g, TVel2DDriver& d, float width, float height) {
    g.vres_width = width;
    g.vres_height = height;
    g.vres_mousexscale = width / static_cast<float>(CurrentGraphicsWidth());
    g.vres_mouseyscale = height / static_cast<float>(CurrentGraphicsHeight());
    d.SetResolution(width, height);
}

// Logical to physical: floor of the scaled edges. A degenerate scale (zero
// or infinite) yields the truncation's fixed value instead of undefined
// behaviour.
int ToPhysical(float v, float scale) {
    return TruncToInt(std::floor(static_cast<double>(v / scale)));
}

// x1 - x0 without overflow when an edge hit the conversion's limits.
int Span(int x0, int x1) {
    int64_t span = static_cast<int64_t>(x1) - x0;
    return static_cast<int>(std::clamp<int64_t>(span, INT32_MIN, INT32_MAX));
}

void ApplyClipViewport(TVel2DGraphics& g, TVel2DDriver& d, int x, int y, int width, int height) {
    g.viewport_x = x;
    g.viewport_y = y;
    g.viewport_w = width;
    g.viewport_h = height;
    float sx = g.vres_mousexscale;
    float sy = g.vres_mouseyscale;
    int x0 = ToPhysical(static_cast<float>(x), sx);
    int y0 = ToPhysical(static_cast<float>(y), sy);
    int x1 = ToPhysical(static_cast<float>(x) + static_cast<float>(width), sx);
    int y1 = ToPhysical(static_cast<float>(y) + static_cast<float>(height), sy);
    d.SetViewport(x0, y0, Span(x0, x1), Span(y0, y1));
}

}  // namespace

TVel2DGraphics& CurrentVel2DState() {
    TVel2DGraphics* g = CurrentSlot().get();
    if (!g) RaiseRuntimeError("No current 2D graphics");
    return *g;
}

// ---- TVel2DGraphics ----

TVel2DGraphics::~TVel2DGraphics() = default;

Ref<TGraphicsDriver> TVel2DGraphics::Driver() { return _driver; }

void TVel2DGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    if (!_graphics) {   // closed: a context of no size
        width = height = depth = hertz = flags = 0;
        return;
    }
    _graphics->GetSettings(width, height, depth, hertz, flags);
}

void TVel2DGraphics::Close() {
    // Drawing must not go on into a context that no longer exists.
    if (CurrentSlot().get() == this) ClearCurrent();
    if (_graphics) _graphics->Close();
    _graphics = nullptr;
    _driver = nullptr;
}

void TVel2DGraphics::Validate() {
    if (!_driver) RaiseRuntimeError("2D graphics closed");
    TVel2DDriver& d = *_driver;
    int w, h, depth, hertz, flags;
    GetSettings(w, h, depth, hertz, flags);
    if (w != g_width || h != g_height) {
        g_width = w;
        g_height = h;
        vres_width = static_cast<float>(w);
        vres_height = static_cast<float>(h);
        vres_mousexscale = vres_mouseyscale = 1.0f;
    }
    ApplyLogicalResolution(*this, d, vres_width, vres_height);
    d.SetBlend(blend_mode);
    d.SetColor(color_red, color_green, color_blue);
    d.SetAlpha(color_alpha);
    d.SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    d.SetLineWidth(line_width);
    ApplyTransform(*this, d);
    ApplyClipViewport(*this, d, viewport_x, viewport_y, viewport_w, viewport_h);
    if (!image_font) image_font = DefaultFontSlot();
}

void TVel2DGraphics::MakeCurrent() {
    // A closed state must not become the one every procedure draws with.
    if (!_driver) RaiseRuntimeError("2D graphics closed");
    CurrentSlot() = Ref<TVel2DGraphics>(this);
    DriverSlot() = _driver;
    Validate();
    if (_setup == 0) {
        ClearCanvas();
        FlipGraphics(0);
        ClearCanvas();
        FlipGraphics(0);
        _setup = 1;
    }
}

void TVel2DGraphics::ClearCurrent() {
    CurrentSlot() = nullptr;
    DriverSlot() = nullptr;
}

Ref<TVel2DGraphics> TVel2DGraphics::Current() { return CurrentSlot(); }

Ref<TVel2DGraphics> TVel2DGraphics::Create(const Ref<TGraphics>& graphics, const Ref<TVel2DDriver>& driver) {
    int w, h, depth, hertz, flags;
    graphics->GetSettings(w, h, depth, hertz, flags);
    if (!DefaultFontSlot()) DefaultFontSlot() = TImageFont::CreateDefault();
    Ref<TVel2DGraphics> g = MakeRef<TVel2DGraphics>();
    g->viewport_w = w;
    g->viewport_h = h;
    g->image_font = DefaultFontSlot();
    g->vres_width = static_cast<float>(w);
    g->vres_height = static_cast<float>(h);
    g->g_width = w;
    g->g_height = h;
    g->_graphics = graphics;
    g->_driver = driver;
    return g;
}

Ref<TVel2DDriver> CurrentVel2DDriver() { return DriverSlot(); }

Ref<TImageFont> DefaultImageFont() { return DefaultFontSlot(); }

// ---- state procedures ----

void SetDrawColor(int red, int green, int blue) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.color_red = red;
    g.color_green = green;
    g.color_blue = blue;
    Driver2D().SetColor(red, green, blue);
}

void GetDrawColor(int& red, int& green, int& blue) {
    TVel2DGraphics& g = CurrentVel2DState();
    red = g.color_red;
    green = g.color_green;
    blue = g.color_blue;
}

void SetDrawAlpha(float alpha) {
    CurrentVel2DState().color_alpha = alpha;
    Driver2D().SetAlpha(alpha);
}

float GetDrawAlpha() { return CurrentVel2DState().color_alpha; }

void SetBlendMode(int mode) {
    CurrentVel2DState().blend_mode = mode;
    Driver2D().SetBlend(mode);
}

int GetBlendMode() { return CurrentVel2DState().blend_mode; }

void SetClearColor(int red, int green, int blue) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.clscolor_red = red;
    g.clscolor_green = green;
    g.clscolor_blue = blue;
    Driver2D().SetClsColor(red, green, blue);
}

void GetClearColor(int& red, int& green, int& blue) {
    TVel2DGraphics& g = CurrentVel2DState();
    red = g.clscolor_red;
    green = g.clscolor_green;
    blue = g.clscolor_blue;
}

void ClearCanvas() { Driver2D().Cls(); }

void SetDrawLineWidth(float width) {
    CurrentVel2DState().line_width = width;
    Driver2D().SetLineWidth(width);
}

float GetDrawLineWidth() { return CurrentVel2DState().line_width; }

void SetDrawRotation(float degrees) {
    CurrentVel2DState().tform_rot = degrees;
    UpdateDrawTransform();
}

float GetDrawRotation() { return CurrentVel2DState().tform_rot; }

void SetDrawScale(float scaleX, float scaleY) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.tform_scale_x = scaleX;
    g.tform_scale_y = scaleY;
    UpdateDrawTransform();
}

void GetDrawScale(float& scaleX, float& scaleY) {
    TVel2DGraphics& g = CurrentVel2DState();
    scaleX = g.tform_scale_x;
    scaleY = g.tform_scale_y;
}

void SetDrawTransform(float rotation, float scaleX, float scaleY) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.tform_rot = rotation;
    g.tform_scale_x = scaleX;
    g.tform_scale_y = scaleY;
    UpdateDrawTransform();
}

void UpdateDrawTransform() { ApplyTransform(CurrentVel2DState(), Driver2D()); }

void SetDrawOrigin(float x, float y) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.origin_x = x;
    g.origin_y = y;
}

void GetDrawOrigin(float& x, float& y) {
    TVel2DGraphics& g = CurrentVel2DState();
    x = g.origin_x;
    y = g.origin_y;
}

void SetDrawHandle(float x, float y) {
    TVel2DGraphics& g = CurrentVel2DState();
    g.handle_x = -x;
    g.handle_y = -y;
}

void GetDrawHandle(float& x, float& y) {
    TVel2DGraphics& g = CurrentVel2DState();
    x = -g.handle_x;
    y = -g.handle_y;
}

void SetClipViewport(int x, int y, int width, int height) {
    ApplyClipViewport(CurrentVel2DState(), Driver2D(), x, y, width, height);
}

void GetClipViewport(int& x, int& y, int& width, int& height) {
    TVel2DGraphics& g = CurrentVel2DState();
    x = g.viewport_x;
    y = g.viewport_y;
    width = g.viewport_w;
    height = g.viewport_h;
}

void SetLogicalResolution(float width, float height) {
    ApplyLogicalResolution(CurrentVel2DState(), Driver2D(), width, height);
}

float LogicalResolutionWidth() { return CurrentVel2DState().vres_width; }
float LogicalResolutionHeight() { return CurrentVel2DState().vres_height; }

// ---- drawing commands ----

void PlotPixel(float x, float y) {
    TVel2DGraphics& g = CurrentVel2DState();
    Driver2D().Plot(x + g.origin_x, y + g.origin_y);
}

void FillRect(float x, float y, float width, float height) {
    TVel2DGraphics& g = CurrentVel2DState();
    Driver2D().DrawRect(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                        x + g.origin_x, y + g.origin_y);
}

void FillEllipse(float x, float y, float width, float height) {
    TVel2DGraphics& g = CurrentVel2DState();
    Driver2D().DrawOval(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height,
                        x + g.origin_x, y + g.origin_y);
}

void DrawLineSegment(float x, float y, float x2, float y2, int drawLastPixel) {
    TVel2DGraphics& g = CurrentVel2DState();
    TVel2DDriver& d = Driver2D();
    float ex = g.handle_x + x2 - x;
    float ey = g.handle_y + y2 - y;
    float tx = x + g.origin_x;
    float ty = y + g.origin_y;
    d.DrawLine(g.handle_x, g.handle_y, ex, ey, tx, ty);
    if (drawLastPixel != 0) {
        d.Plot(ex * g.tform_ix + ey * g.tform_iy + tx, ex * g.tform_jx + ey * g.tform_jy + ty);
    }
}

void FillPolygon(const Array<float>& xy) {
    TVel2DGraphics& g = CurrentVel2DState();
    Driver2D().DrawPoly(xy, g.handle_x, g.handle_y, g.origin_x, g.origin_y);
}

void DrawImageAt(const Ref<TImage>& image, float x, float y, int frame) {
    TVel2DGraphics& g = CurrentVel2DState();
    Ref<TImageFrame> f = image->Frame(frame);
    if (!f) return;
    float w = static_cast<float>(image->width);
    float h = static_cast<float>(image->height);
    f->Draw(-image->handle_x, -image->handle_y, w - image->handle_x, h - image->handle_y,
            x + g.origin_x, y + g.origin_y, 0, 0, w, h);
}

void DrawImageStretched(const Ref<TImage>& image, float x, float y, float w, float h, int frame) {
    TVel2DGraphics& g = CurrentVel2DState();
    Ref<TImageFrame> f = image->Frame(frame);
    if (!f) return;
    f->Draw(-image->handle_x, -image->handle_y, w - image->handle_x, h - image->handle_y,
            x + g.origin_x, y + g.origin_y, 0, 0, static_cast<float>(image->width),
            static_cast<float>(image->height));
}

void DrawImageRegion(const Ref<TImage>& image, float x, float y, float w, float h,
                     float sx, float sy, float sw, float sh, float hx, float hy, int frame) {
    TVel2DGraphics& g = CurrentVel2DState();
    Ref<TImageFrame> f = image->Frame(frame);
    if (!f) return;
    float x0 = -hx * w / sw;
    float y0 = -hy * h / sh;
    f->Draw(x0, y0, x0 + w, y0 + h, x + g.origin_x, y + g.origin_y, sx, sy, sw, sh);
}

namespace {

// The first tile edge at or before `edge` (and after edge - size) that is a
// whole number of tiles away from `pos`: a non-negative remainder whatever
// the sign, so the first row and column of the viewport are always covered.
// The remainder is taken in double precision, where every floored float is
// exact, so no position is too far out for the arithmetic; pos is finite.
int64_t FirstTile(int edge, double pos, int size) {
    int64_t s = static_cast<int64_t>(edge) - size + 1;
    double m = std::fmod(std::floor(pos) - static_cast<double>(s), size);
    if (m < 0) m += size;
    return s + static_cast<int64_t>(m);
}

}  // namespace

void TileImageFill(const Ref<TImage>& image, float x, float y, int frame) {
    TVel2DGraphics& g = CurrentVel2DState();
    TVel2DDriver& d = Driver2D();
    Ref<TImageFrame> f = image->Frame(frame);
    if (!f) return;
    int w = image->width;
    int h = image->height;
    if (w <= 0 || h <= 0) return;
    float px = x + g.origin_x - image->handle_x;
    float py = y + g.origin_y - image->handle_y;
    // A position that is no number (or infinite) puts the lattice nowhere.
    if (!std::isfinite(px) || !std::isfinite(py)) return;
    d.SetTransform(1, 0, 0, 1);
    float fx = px - std::floor(px);
    float fy = py - std::floor(py);
    int64_t startX = FirstTile(g.viewport_x, px, w);
    int64_t startY = FirstTile(g.viewport_y, py, h);
    int64_t endX = static_cast<int64_t>(g.viewport_x) + g.viewport_w;
    int64_t endY = static_cast<int64_t>(g.viewport_y) + g.viewport_h;
    float fw = static_cast<float>(w);
    float fh = static_cast<float>(h);
    for (int64_t row = startY; row < endY; row += h) {
        for (int64_t col = startX; col < endX; col += w) {
            f->Draw(0, 0, fw, fh, static_cast<float>(col) + fx, static_cast<float>(row) + fy, 0, 0, fw, fh);
        }
    }
    UpdateDrawTransform();
}

void DrawPixmapAt(const Ref<TPixmap>& pixmap, int x, int y) { Driver2D().DrawPixmap(pixmap, x, y); }

Ref<TPixmap> GrabScreenPixmap(int x, int y, int width, int height) {
    return Driver2D().GrabPixmap(x, y, width, height);
}

void StartVel2DModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartGraphicsModule();
    StartPolledInputModule();
    StartImageModule();
}

}  // namespace vantrel
