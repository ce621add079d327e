// A 2D driver without a device, for running drawing code where there is no
// display: it records every driver call with its arguments, keeps the device
// state a real driver would (clamped colour, alpha, blend, viewport, matrix)
// and keeps a software back buffer per graphics for the operations that
// move pixels (Cls, DrawPixmap, GrabPixmap). Primitives and image frames are
// recorded, not rasterised. Frames it makes hold a copy of their pixmap taken
// when the frame was built, as a texture upload would.
//
// Use: SelectGraphicsDriver(driver, 0), then OpenGraphics(...) as with any
// driver; the drawing procedures of render/vel2d.h then reach the driver,
// and Count, Last and All look up what they did.
//
// Failure: CreateGraphics and AttachGraphics give Null for a size below
// 1 x 1; CreateFrameFromPixmap gives Null while refuseFrames is set.
//
// Main thread only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/render/image.h>
#include <vantrel/render/vel2d.h>

namespace vantrel {

class TRecordingVel2DDriver;

// One recorded driver call. Integer arguments are recorded as floats (exact
// below 2^24). A pixmap handed to the driver is kept; a frame or graphics
// involved is only named by its address (holding it would make a cycle
// through its reference to the driver).
struct DriverCall {
    std::string op;
    std::vector<float> args;
    Ref<TPixmap> pixmap;
    const Object* target = nullptr;
};

// A device context of the recording driver: a size and a back buffer.
class TRecordingGraphics : public TGraphics {
public:
    TRecordingGraphics(const Ref<TRecordingVel2DDriver>& driver, int width, int height, int depth,
                       int hertz, int flags);

    Ref<TGraphicsDriver> Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    void Close() override;
    // Changes the size as a resized window would; the back buffer is made anew.
    void Resize(int width, int height);

    int width, height, depth, hertz, flags;
    bool closed = false;
    Ref<TPixmap> backBuffer;   // RGBA, width x height
    Ref<TRecordingVel2DDriver> _driver;
};

// A frame of the recording driver: a snapshot of the pixmap it was made from.
class TRecordingImageFrame : public TImageFrame {
public:
    TRecordingImageFrame(const Ref<TRecordingVel2DDriver>& driver, const Ref<TPixmap>& source, int flags);
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty,
              float sx, float sy, float sw, float sh) override;

    Ref<TPixmap> source;   // the pixmap handed in
    Ref<TPixmap> pixels;   // its pixels when the frame was made (RGBA)
    int flags;
    int seq;               // GraphicsSeq() when the frame was made
    Ref<TRecordingVel2DDriver> _driver;
};

class TRecordingVel2DDriver : public TVel2DDriver {
public:
    TRecordingVel2DDriver();

    GraphicsModeList GraphicsModes() override;
    // windowHandle is recorded; the context gets attachWidth x attachHeight.
    Ref<TGraphics> AttachGraphics(intptr_t windowHandle, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    void SetGraphics(const Ref<TGraphics>& g) override;
    void Flip(int sync) override;

    Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override;
    void SetBlend(int mode) override;
    void SetAlpha(float alpha) override;
    void SetColor(int red, int green, int blue) override;
    void SetClsColor(int red, int green, int blue) override;
    void SetViewport(int x, int y, int width, int height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const Array<float>& xy, float handleX, float handleY, float originX, float originY) override;
    void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) override;
    Ref<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
    void SetResolution(float width, float height) override;

    void Record(std::string_view op, std::initializer_list<float> args, const Ref<TPixmap>& pixmap = nullptr,
                const Object* target = nullptr);
    void ClearCalls() { calls.clear(); }
    int Count(std::string_view op) const;
    // The last call of op; raises TRuntimeException when there is none.
    const DriverCall& Last(std::string_view op) const;
    // Every call of op, oldest first.
    std::vector<DriverCall> All(std::string_view op) const;
    // Where local (u, v) lands under the current matrix, translated by (tx, ty).
    void Transform(float u, float v, float tx, float ty, float& x, float& y) const;

    std::vector<DriverCall> calls;

    // Device state, as a real driver holds it after clamping.
    int blend = 0;                        // 0: none set yet
    uint8_t color[4] = {255, 255, 255, 255};   // red, green, blue, alpha
    uint8_t clsColor[3] = {0, 0, 0};
    int viewport[4] = {0, 0, 0, 0};       // x, y, width, height
    float matrix[4] = {1, 0, 0, 1};       // ix, iy, jx, jy
    float lineWidth = 1.0f;
    float resolution[2] = {0, 0};
    int swapInterval = -1;                // last sync passed to Flip
    int flips = 0;

    // Configuration.
    Array<Ref<TGraphicsMode>> modes;
    int attachWidth = 640, attachHeight = 480;
    bool refuseFrames = false;

    // The back buffer of the graphics made current (Null when none).
    Ref<TPixmap> backBuffer;
};

}  // namespace vantrel
