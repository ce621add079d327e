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

namespace vantrel {

struct GLDrawState {
    bool blendKnown = false;   // false until SetBlend applied a mode to this context
    int blend = 0;
    unsigned texture = 0;      // 0: none bound through the cache
    bool texturing = false;
    uint8_t color[4] = {0, 0, 0, 0};   // red, green, blue, alpha
    float ix = 1.0f, iy = 0.0f, jx = 0.0f, jy = 1.0f;

    // (u, v) through the matrix, then moved by (tx, ty).
    float X(float u, float v, float tx) const { return u * ix + v * iy + tx; }
    float Y(float u, float v, float ty) const { return u * jx + v * jy + ty; }
};

GLDrawState& GLState();

// Forgets blend mode, texture and texturing and switches texturing off.
void ForgetGLDrawState();
void BindGLTexture(unsigned name);
// Binds the texture and turns 2D texturing on.
void EnableGLTexturing(unsigned name);
void DisableGLTexturing();
// A texture being deleted must not stay in the cache: its name may come back.
void ForgetGLTexture(unsigned name);

}  // namespace vantrel
