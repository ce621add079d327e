// The 2D drawing front: the drawing state of a graphics context, the abstract
// 2D driver that turns it into device operations, and the procedures that
// change the current state and issue drawing commands.
//
// Every drawing command goes through one rule: local coordinates are offset
// by a handle, multiplied by the 2x2 matrix made from rotation and scale, and
// translated by the command's position plus the origin. Primitives use the
// drawing handle; images use their own handle (render/image.h).
//
// Failure: the procedures act on the current TVel2DGraphics and raise a
// TRuntimeException when no 2D graphics are current. A TVel2DDriver operation
// that a driver does not implement raises TNullMethodException.
//
// Main thread only.
#pragma once

#include <cstdint>

#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/image_font.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/array.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

// Blend modes, stored in blend_mode and passed to SetBlend. Any value not
// listed behaves like BlendSolid.
inline constexpr int BlendMasked = 1;     // no blending; alpha below 0.5 is not drawn
inline constexpr int BlendSolid = 2;      // no blending, no alpha test
inline constexpr int BlendAlpha = 3;      // src * srcAlpha + dst * (1 - srcAlpha)
inline constexpr int BlendAdditive = 4;   // src * srcAlpha + dst
inline constexpr int BlendMultiply = 5;   // src * dst

// The 2D driver interface. Coordinates are floats in logical units unless
// said otherwise; x0..y1 are local coordinates that the driver transforms
// with the matrix of SetTransform and then translates by (tx, ty). Every
// operation raises TNullMethodException unless a driver overrides it.
class TVel2DDriver : public TGraphicsDriver {
public:
    GraphicsModeList GraphicsModes() override;
    Ref<TGraphics> AttachGraphics(intptr_t windowHandle, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    void SetGraphics(const Ref<TGraphics>& g) override;
    void Flip(int sync) override;

    // A frame holding the pixmap for drawing with the given image flags;
    // Null when the driver cannot make one.
    virtual Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags);
    virtual void SetBlend(int mode);
    virtual void SetAlpha(float alpha);                     // clamped to 0..1
    virtual void SetColor(int red, int green, int blue);    // each clamped to 0..255
    virtual void SetClsColor(int red, int green, int blue); // each clamped to 0..255
    // Clip rectangle in physical pixels, origin top left.
    virtual void SetViewport(int x, int y, int width, int height);
    // The matrix used by DrawLine, DrawRect, DrawOval, DrawPoly and frames.
    virtual void SetTransform(float ix, float iy, float jx, float jy);
    virtual void SetLineWidth(float width);
    // Clears the colour buffer to the clear colour, clipped by the viewport.
    virtual void Cls();
    // One point at (x, y), untransformed.
    virtual void Plot(float x, float y);
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty);
    // Filled quadrilateral of the four transformed corners.
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty);
    // Filled ellipse inscribed in the local box, transformed.
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty);
    // Filled polygon of the pairs in xy, each offset by the handle,
    // transformed and translated by the origin.
    virtual void DrawPoly(const Array<float>& xy, float handleX, float handleY, float originX, float originY);
    // Raw copy with top-left at physical (x, y): unblended, untransformed.
    virtual void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y);
    // A new RGBA pixmap of the back buffer rectangle (physical, top-left
    // origin), rows top to bottom.
    virtual Ref<TPixmap> GrabPixmap(int x, int y, int width, int height);
    // Maps logical (0,0)-(width,height) onto the whole graphics, y downward.
    virtual void SetResolution(float width, float height);
};

// The device bytes every driver keeps for the drawing colour: a colour
// component clamped to 0..255; the alpha clamped to 0..1 (NaN is 0), times
// 255, truncated.
uint8_t ColorByte(int value);
uint8_t AlphaByte(float alpha);

// The drawing state of one graphics context. It wraps the device context and
// keeps the whole state, so that it survives while another context is current
// and is applied again when this one becomes current.
class TVel2DGraphics : public TGraphics {
public:
    ~TVel2DGraphics() override;

    Ref<TGraphicsDriver> Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    // Closes the wrapped context and lets go of it and of the driver.
    void Close() override;

    // Applies the whole state to the driver again; picks up a changed size
    // of the wrapped graphics (which drops the logical resolution).
    virtual void Validate();
    // Makes this the current state; the first time, both buffers are cleared.
    virtual void MakeCurrent();

    static void ClearCurrent();
    static Ref<TVel2DGraphics> Current();
    static Ref<TVel2DGraphics> Create(const Ref<TGraphics>& graphics, const Ref<TVel2DDriver>& driver);

    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1.0f;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1.0f;
    float tform_rot = 0.0f;
    float tform_scale_x = 1.0f, tform_scale_y = 1.0f;
    // Always derived from rotation and scale by UpdateDrawTransform.
    float tform_ix = 1.0f, tform_iy = 0.0f, tform_jx = 0.0f, tform_jy = 1.0f;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0.0f, origin_y = 0.0f;
    float handle_x = 0.0f, handle_y = 0.0f;   // stored negated
    Ref<TImageFont> image_font;
    int blend_mode = BlendMasked;
    float vres_width = 0.0f, vres_height = 0.0f;
    float vres_mousexscale = 1.0f, vres_mouseyscale = 1.0f;
    int g_width = 0, g_height = 0;
    Ref<TGraphics> _graphics;
    Ref<TVel2DDriver> _driver;
    int _setup = 0;
};

// The driver of the current drawing state (Null when none is current).
Ref<TVel2DDriver> CurrentVel2DDriver();
// The built-in font, made by the first TVel2DGraphics::Create.
Ref<TImageFont> DefaultImageFont();

// Drawing state. Setters store the value in the current state, then tell the
// driver; getters return the stored value.
void SetDrawColor(int red, int green, int blue);
void GetDrawColor(int& red, int& green, int& blue);
void SetDrawAlpha(float alpha);
float GetDrawAlpha();
void SetBlendMode(int mode);
int GetBlendMode();
void SetClearColor(int red, int green, int blue);
void GetClearColor(int& red, int& green, int& blue);
void ClearCanvas();
void SetDrawLineWidth(float width);
float GetDrawLineWidth();
void SetDrawRotation(float degrees);
float GetDrawRotation();
void SetDrawScale(float scaleX, float scaleY);
void GetDrawScale(float& scaleX, float& scaleY);
void SetDrawTransform(float rotation = 0.0f, float scaleX = 1.0f, float scaleY = 1.0f);
// Recomputes the matrix from rotation and scale and hands it to the driver.
void UpdateDrawTransform();
void SetDrawOrigin(float x, float y);
void GetDrawOrigin(float& x, float& y);
void SetDrawHandle(float x, float y);
void GetDrawHandle(float& x, float& y);
// Clip rectangle in logical coordinates.
void SetClipViewport(int x, int y, int width, int height);
void GetClipViewport(int& x, int& y, int& width, int& height);
void SetLogicalResolution(float width, float height);
float LogicalResolutionWidth();
float LogicalResolutionHeight();
float LogicalMouseX();
float LogicalMouseY();
float LogicalMouseXSpeed();
float LogicalMouseYSpeed();
void MoveLogicalMouse(float x, float y);
// Null selects the built-in font.
void SetDrawFont(const Ref<TImageFont>& font);
Ref<TImageFont> GetDrawFont();
Ref<TImageFont> LoadDrawFont(const Ref<Object>& url, int size, int style);

// Drawing commands.
void PlotPixel(float x, float y);
void FillRect(float x, float y, float width, float height);
void FillEllipse(float x, float y, float width, float height);
void DrawLineSegment(float x, float y, float x2, float y2, int drawLastPixel = 1);
// xy holds x0, y0, x1, y1, ...
void FillPolygon(const Array<float>& xy);
void DrawTextAt(const String& text, float x, float y);
void DrawImageAt(const Ref<TImage>& image, float x, float y, int frame = 0);
void DrawImageStretched(const Ref<TImage>& image, float x, float y, float w, float h, int frame = 0);
void DrawImageRegion(const Ref<TImage>& image, float x, float y, float w, float h,
                     float sx, float sy, float sw, float sh, float hx = 0.0f, float hy = 0.0f, int frame = 0);
// Tiles the whole viewport with the image, unrotated and unscaled, so that
// one tile's handle lands on (x, y).
void TileImageFill(const Ref<TImage>& image, float x, float y, int frame = 0);
int MeasureTextWidth(const String& text);
int MeasureTextHeight();
void DrawPixmapAt(const Ref<TPixmap>& pixmap, int x, int y);
Ref<TPixmap> GrabScreenPixmap(int x, int y, int width, int height);

void StartVel2DModule();

}  // namespace vantrel
