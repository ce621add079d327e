// ASCII text for programs that draw with OpenGL themselves: the built-in
// 8 x 16 font as one mipmapped texture, drawn between BeginGL2D and EndGL2D
// (render/gl/gl_utility.h), so the caller's OpenGL state, and with it the 2D
// driver's cached state, is left as it was.
//
// Failure: none reported; the call assumes a current OpenGL context.
//
// Main thread only, with an OpenGL context current.
#pragma once

#include <vantrel/runtime/string.h>

namespace vantrel {

// Draws characters 32..127 in the current colour with the top-left corner of
// the first at (x, y) in viewport pixels; every character advances 8 pixels,
// and one outside that range leaves a gap. The font texture is made once per
// graphics context.
void GLDrawAsciiText(const String& text, int x, int y);

}  // namespace vantrel
