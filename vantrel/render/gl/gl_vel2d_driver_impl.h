// The OpenGL 2D driver's class (gl_vel2d_driver.h): the 2D drawing
// interface on fixed-function OpenGL (immediate mode, one texture unit,
// orthographic projection with y downward), over the OpenGL graphics
// driver. Every primitive is one begin/end; blend mode, bound texture and
// texturing are cached so that repeated settings cost nothing. Inside the
// engine only; a program reaches the driver through GLVel2DDriverInstance.
//
// Failure: creating graphics returns Null when the OpenGL graphics driver
// cannot make a window and context. Drawing calls assume a current context
// made current through SetGraphics.
//
// Main thread only.
#pragma once

#include <vantrel/render/gl/gl_vel2d_driver.h>

namespace vantrel {

class TGLVel2DDriver : public TVel2DDriver {
public:
    GraphicsModeList GraphicsModes() override;
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

    String ToString() const override;   // "OpenGL"
    // This driver when the OpenGL graphics driver exists, else Null.
    Ref<TGLVel2DDriver> Create();
    // Forgets the cached device state and sets projection, model-view and
    // viewport for the physical size of g.
    void ResetGLContext(const Ref<TGraphics>& g);

    // On (the default): alpha and
    // additive blending leave out fragments and image areas of alpha 0,
    // which cannot change the screen in those modes. Off draws every
    // fragment, for comparison and for OpenGL implementations that get the
    // alpha test or the scissor wrong.
    void SetSkipTransparent(bool on);
};

// Segments of a filled ellipse with radii rx, ry: |rx| + |ry| truncated, at
// least 12, rounded down to a multiple of 4.
int OvalSegments(float rx, float ry);

}  // namespace vantrel
