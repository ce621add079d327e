// The OpenGL 2D driver's cached device state, shared by every context
// (only one is current at a time): blend mode, bound texture, whether 2D
// texturing is on, the colour bytes and the drawing matrix. Redundant state
// changes are skipped by comparing with the cache; ForgetGLDrawState drops
// the cache when another context becomes current.
//
// Failure: none reported; OpenGL errors are left in the context's error flag.
//
// Main thread only, with a current OpenGL context.
#pragma once

#include <cstdint>

#include <vantrel/render/vel2d.h>

namespace vantrel {

struct GLDrawState {
    bool blendKnown = false;   // false until SetBlend applied a mode to this context
    int blend = 0;
    unsigned texture = 0;      // 0: none bound through the cache
    bool texturing = false;
    uint8_t color[4] = {0, 0, 0, 0};   // red, green, blue, alpha
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;

    int width = 0, height = 0;   // physical size of the current context
    double pixelsPerUnitX = 1.0, pixelsPerUnitY = 1.0;   // window pixels per logical unit
    bool clipped = false;        // scissor test on: the viewport is not the whole window
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;   // viewport in window pixels, rows from the top

    // Whether alpha and additive blending skip sources of alpha 0 (alpha
    // test, and image areas that hold none).
    bool skipTransparent = true;
    // Whether the blend mode now applied leaves the destination unchanged
    // under a source of alpha 0, and skipping is on.
    bool SkippingTransparent() const {
        return skipTransparent && blendKnown && (blend == BlendAlpha || blend == BlendAdditive);
    }

    // (u, v) through the matrix, then moved by (tx, ty).
    float X(float u, float v, float tx) const { return u * ix + v * iy + tx; }
    float Y(float u, float v, float ty) const { return u * jx + v * jy + ty; }
};

GLDrawState& GLState();

// Forgets blend mode, texture, texturing and clipping and switches
// texturing off; the physical size becomes width x height.
void ForgetGLDrawState(int width, int height);
// Window rectangle (rows from the top) to the scissor box.
void SetGLScissor(int x, int y, int width, int height);
void BindGLTexture(unsigned name);
// Binds the texture and turns 2D texturing on.
void EnableGLTexturing(unsigned name);
void DisableGLTexturing();
// A texture being deleted must not stay in the cache: its name may come back.
void ForgetGLTexture(unsigned name);

}  // namespace vantrel
