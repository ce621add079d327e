#include <vantrel/render/recording_driver.h>

#include <algorithm>
#include <cstring>

#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

Ref<TPixmap> NewBackBuffer(int width, int height) {
    Ref<TPixmap> p = NewPixmap(width, height, FormatRGBA8888, 4);
    p->ClearPixels(0);
    return p;
}

// Copies the w x h rectangle at (sx, sy) of src to (dx, dy) of dst, both
// RGBA, leaving out whatever falls outside either pixmap or the clip
// rectangle of dst.
void CopyRect(const TPixmap& src, int sx, int sy, TPixmap& dst, int dx, int dy, int w, int h,
              int clipX, int clipY, int clipW, int clipH) {
    int64_t x0 = std::max<int64_t>({0, clipX, dx, static_cast<int64_t>(dx) - sx});
    int64_t y0 = std::max<int64_t>({0, clipY, dy, static_cast<int64_t>(dy) - sy});
    int64_t x1 = std::min<int64_t>({dst.width, static_cast<int64_t>(clipX) + clipW, static_cast<int64_t>(dx) + w,
                                    static_cast<int64_t>(dx) - sx + src.width});
    int64_t y1 = std::min<int64_t>({dst.height, static_cast<int64_t>(clipY) + clipH, static_cast<int64_t>(dy) + h,
                                    static_cast<int64_t>(dy) - sy + src.height});
    if (x0 >= x1) return;
    for (int64_t y = y0; y < y1; ++y) {
        int srcX = static_cast<int>(x0 - dx + sx);
        int srcY = static_cast<int>(y - dy + sy);
        std::memcpy(dst.PixelPtr(static_cast<int>(x0), static_cast<int>(y)), src.PixelPtr(srcX, srcY),
                    static_cast<size_t>(x1 - x0) * 4);
    }
}

Ref<TPixmap> AsRGBA(const Ref<TPixmap>& p) {
    return p->format == FormatRGBA8888 ? p : p->Convert(FormatRGBA8888);
}

}  // namespace

// ---- TRecordingGraphics ----

TRecordingGraphics::TRecordingGraphics(const Ref<TRecordingVel2DDriver>& driver, int width, int height,
                                       int depth, int hertz, int flags)
    : width(width), height(height), depth(depth), hertz(hertz), flags(flags),
      backBuffer(NewBackBuffer(width, height)), _driver(driver) {}

Ref<TGraphicsDriver> TRecordingGraphics::Driver() { return _driver; }

void TRecordingGraphics::GetSettings(int& w, int& h, int& d, int& hz, int& f) {
    w = width;
    h = height;
    d = depth;
    hz = hertz;
    f = flags;
}

void TRecordingGraphics::Close() {
    if (closed) return;
    closed = true;
    _driver->Record("Close", {}, nullptr, this);
}

void TRecordingGraphics::Resize(int w, int h) {
    bool current = _driver->backBuffer == backBuffer;
    width = w;
    height = h;
    backBuffer = NewBackBuffer(w, h);
    if (current) _driver->backBuffer = backBuffer;
}

// ---- TRecordingImageFrame ----

TRecordingImageFrame::TRecordingImageFrame(const Ref<TRecordingVel2DDriver>& driver, const Ref<TPixmap>& source,
                                           int flags)
    : source(source), pixels(source->Convert(FormatRGBA8888)), flags(flags), seq(GraphicsSeq()),
      _driver(driver) {}

void TRecordingImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty,
                                float sx, float sy, float sw, float sh) {
    _driver->Record("FrameDraw", {x0, y0, x1, y1, tx, ty, sx, sy, sw, sh}, pixels, this);
}

// ---- TRecordingVel2DDriver ----

TRecordingVel2DDriver::TRecordingVel2DDriver()
    : modes(ArrayOf<Ref<TGraphicsMode>>({MakeRef<TGraphicsMode>(640, 480, 32, 60),
                                         MakeRef<TGraphicsMode>(800, 600, 32, 60),
                                         MakeRef<TGraphicsMode>(1024, 768, 32, 60)})) {}

void TRecordingVel2DDriver::Record(std::string_view op, std::initializer_list<float> args,
                                   const Ref<TPixmap>& pixmap, const Object* target) {
    calls.push_back(DriverCall{std::string(op), std::vector<float>(args), pixmap, target});
}

int TRecordingVel2DDriver::Count(std::string_view op) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const DriverCall& c) { return c.op == op; }));
}

const DriverCall& TRecordingVel2DDriver::Last(std::string_view op) const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
        if (it->op == op) return *it;
    }
    RaiseRuntimeError(String("No recorded call of ") + String(op));
}

std::vector<DriverCall> TRecordingVel2DDriver::All(std::string_view op) const {
    std::vector<DriverCall> out;
    for (const DriverCall& c : calls) {
        if (c.op == op) out.push_back(c);
    }
    return out;
}

void TRecordingVel2DDriver::Transform(float u, float v, float tx, float ty, float& x, float& y) const {
    x = u * matrix[0] + v * matrix[1] + tx;
    y = u * matrix[2] + v * matrix[3] + ty;
}

GraphicsModeList TRecordingVel2DDriver::GraphicsModes() {
    Record("GraphicsModes", {});
    return modes;
}

Ref<TGraphics> TRecordingVel2DDriver::AttachGraphics(intptr_t windowHandle, int flags) {
    Record("AttachGraphics", {static_cast<float>(windowHandle), static_cast<float>(flags)});
    if (attachWidth < 1 || attachHeight < 1) return nullptr;
    Ref<TRecordingVel2DDriver> self(this);
    return TVel2DGraphics::Create(MakeRef<TRecordingGraphics>(self, attachWidth, attachHeight, 0, 0, flags), self);
}

Ref<TGraphics> TRecordingVel2DDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    Record("CreateGraphics", {static_cast<float>(width), static_cast<float>(height), static_cast<float>(depth),
                              static_cast<float>(hertz), static_cast<float>(flags)});
    if (width < 1 || height < 1) return nullptr;
    Ref<TRecordingVel2DDriver> self(this);
    return TVel2DGraphics::Create(MakeRef<TRecordingGraphics>(self, width, height, depth, hertz, flags), self);
}

void TRecordingVel2DDriver::SetGraphics(const Ref<TGraphics>& g) {
    Record("SetGraphics", {}, nullptr, g.get());
    if (!g) {
        TVel2DGraphics::ClearCurrent();
        backBuffer = nullptr;
        return;
    }
    Ref<TVel2DGraphics> state = Cast<TVel2DGraphics>(g);
    Ref<TRecordingGraphics> device = Cast<TRecordingGraphics>(state ? state->_graphics : g);
    backBuffer = device ? device->backBuffer : nullptr;
    // A newly current context starts from a forgotten device state, as a
    // real driver's does.
    blend = 0;
    viewport[0] = viewport[1] = 0;
    viewport[2] = backBuffer ? backBuffer->width : 0;
    viewport[3] = backBuffer ? backBuffer->height : 0;
    if (state) state->MakeCurrent();
}

void TRecordingVel2DDriver::Flip(int sync) {
    Record("Flip", {static_cast<float>(sync)});
    swapInterval = sync;
    ++flips;
}

Ref<TImageFrame> TRecordingVel2DDriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
    Record("CreateFrameFromPixmap", {static_cast<float>(flags)}, pixmap);
    if (refuseFrames || !pixmap) return nullptr;
    return MakeRef<TRecordingImageFrame>(Ref<TRecordingVel2DDriver>(this), pixmap, flags);
}

void TRecordingVel2DDriver::SetBlend(int mode) {
    Record("SetBlend", {static_cast<float>(mode)});
    blend = mode;
}

void TRecordingVel2DDriver::SetAlpha(float alpha) {
    Record("SetAlpha", {alpha});
    color[3] = AlphaByte(alpha);
}

void TRecordingVel2DDriver::SetColor(int red, int green, int blue) {
    Record("SetColor", {static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue)});
    color[0] = ColorByte(red);
    color[1] = ColorByte(green);
    color[2] = ColorByte(blue);
}

void TRecordingVel2DDriver::SetClsColor(int red, int green, int blue) {
    Record("SetClsColor", {static_cast<float>(red), static_cast<float>(green), static_cast<float>(blue)});
    clsColor[0] = ColorByte(red);
    clsColor[1] = ColorByte(green);
    clsColor[2] = ColorByte(blue);
}

void TRecordingVel2DDriver::SetViewport(int x, int y, int width, int height) {
    Record("SetViewport", {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                           static_cast<float>(height)});
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
}

void TRecordingVel2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
    Record("SetTransform", {ix, iy, jx, jy});
    matrix[0] = ix;
    matrix[1] = iy;
    matrix[2] = jx;
    matrix[3] = jy;
}

void TRecordingVel2DDriver::SetLineWidth(float width) {
    Record("SetLineWidth", {width});
    lineWidth = width;
}

void TRecordingVel2DDriver::Cls() {
    Record("Cls", {});
    if (!backBuffer) return;
    const uint8_t rgba[4] = {clsColor[0], clsColor[1], clsColor[2], 255};
    int64_t x0 = std::max(viewport[0], 0), y0 = std::max(viewport[1], 0);
    int64_t x1 = std::min<int64_t>(static_cast<int64_t>(viewport[0]) + viewport[2], backBuffer->width);
    int64_t y1 = std::min<int64_t>(static_cast<int64_t>(viewport[1]) + viewport[3], backBuffer->height);
    for (int64_t y = y0; y < y1; ++y) {
        for (int64_t x = x0; x < x1; ++x) {
            std::memcpy(backBuffer->PixelPtr(static_cast<int>(x), static_cast<int>(y)), rgba, 4);
        }
    }
}

void TRecordingVel2DDriver::Plot(float x, float y) { Record("Plot", {x, y}); }

void TRecordingVel2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    Record("DrawLine", {x0, y0, x1, y1, tx, ty});
}

void TRecordingVel2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    Record("DrawRect", {x0, y0, x1, y1, tx, ty});
}

void TRecordingVel2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    Record("DrawOval", {x0, y0, x1, y1, tx, ty});
}

void TRecordingVel2DDriver::DrawPoly(const Array<float>& xy, float handleX, float handleY, float originX,
                                     float originY) {
    Record("DrawPoly", {handleX, handleY, originX, originY});
    DriverCall& call = calls.back();
    for (float v : *xy) call.args.push_back(v);
}

void TRecordingVel2DDriver::DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
    Record("DrawPixmap", {static_cast<float>(x), static_cast<float>(y)}, pixmap);
    if (!backBuffer) return;
    Ref<TPixmap> src = AsRGBA(pixmap);
    CopyRect(*src, 0, 0, *backBuffer, x, y, src->width, src->height, viewport[0], viewport[1], viewport[2],
             viewport[3]);
}

Ref<TPixmap> TRecordingVel2DDriver::GrabPixmap(int x, int y, int width, int height) {
    Record("GrabPixmap", {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                          static_cast<float>(height)});
    Ref<TPixmap> out = NewPixmap(width, height, FormatRGBA8888, 4);
    out->ClearPixels(0);
    if (backBuffer) CopyRect(*backBuffer, x, y, *out, 0, 0, width, height, 0, 0, width, height);
    return out;
}

void TRecordingVel2DDriver::SetResolution(float width, float height) {
    Record("SetResolution", {width, height});
    resolution[0] = width;
    resolution[1] = height;
}

}  // namespace vantrel
