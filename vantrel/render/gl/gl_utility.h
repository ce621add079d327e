// Plain-OpenGL helpers for programs that draw with OpenGL themselves and want
// a quick 2D overlay: a pixel-exact projection of the current viewport (y
// downward), filled rectangles and raw pixmap copies. Each helper leaves the
// caller's enables, matrices and texture state as it found them.
//
// Failure: none reported; OpenGL errors are left in the context's error flag.
//
// Main thread only, with an OpenGL context current.
#pragma once

#include <vantrel/runtime/object.h>

namespace vantrel {

class TPixmap;

// Pushes the enable, transform and texture attributes and both matrices, and
// sets identity model-view and an orthographic projection of the viewport;
// culling, alpha and depth tests are switched off.
void BeginGL2D();
// Restores what BeginGL2D saved.
void EndGL2D();

void GLFillRect(float x, float y, float width, float height);
void GLDrawPixmapAt(const Ref<TPixmap>& pixmap, int x, int y);

// Copies the pixmap's pixels with their top-left at (x, y) of the current
// projection, rows downward, without changing any other state for good.
void DrawPixmapPixels(const Ref<TPixmap>& pixmap, int x, int y);

}  // namespace vantrel
