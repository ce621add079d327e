// Plain OpenGL utilities for drawing over whatever a program renders itself:
// a 2D pixel projection of the current viewport, filled rectangles, ASCII
// text in the built-in 8 x 16 font, and raw pixmaps. They need no 2D driver
// or drawing state and leave the OpenGL state as they found it (matrices,
// enables, texture binding and blending are saved and restored), so the 2D
// driver's cached state stays true.
//
// Failure: none reported; the calls assume a current OpenGL context.
//
// Main thread only, with an OpenGL context current.
#pragma once

#include "runtime/object.h"
#include "runtime/string.h"

namespace vantrel {

class TPixmap;

// Saves the enable, transform and texture state and both matrices, then sets
// an orthographic projection of the current viewport in pixels, y downward,
// and switches face culling, alpha test and depth test off.
void BeginGL2D();
// Restores what BeginGL2D saved.
void EndGL2D();

// Fills the rectangle in the current colour.
void GLFillRect(int x, int y, int width, int height);
// Draws characters 32..127 in the current colour with the top-left corner of
// the first at (x, y); every character advances 8 pixels, and one outside
// that range leaves a gap. The font texture is made once per context.
void GLDrawAsciiText(const String& text, int x, int y);
// Copies the pixmap's pixels, unblended and untextured, with its top-left
// corner at (x, y); it may hang over any edge.
void GLDrawPixmapAt(const Ref<TPixmap>& pixmap, int x, int y);

}  // namespace vantrel
