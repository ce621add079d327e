// The game's typeface: every printable ASCII character as a few strokes on
// a small grid, 4 units wide, capitals 6 units high from the top (y 0) to
// the baseline (y 6), lower case from y 2, descenders to y 8. Rendering the
// strokes with round ends and joins at any size gives the font cells and
// the letters inside the background patterns. Pure functions; any thread.
#pragma once

#include <string_view>
#include <vector>

#include "tools/assetgen/sdf.h"

namespace assetgen {

using Polyline = std::vector<Vec2>;

// The strokes of character code `code`; empty for codes without ink
// (the blank and everything outside 33..126).
const std::vector<Polyline>& GlyphStrokes(int code);

// Placement of glyph units on a picture: a unit point (u, v) lands at
// origin + (u * unitX, v * unitY).
struct GlyphPlacement {
    Vec2 origin;
    float unitX, unitY;
};

// Unsigned distance from p to the centre lines of the strokes of `code`.
float GlyphDistance(Vec2 p, int code, const GlyphPlacement& at);

// Unsigned distance to the strokes of a line of text whose characters
// follow one another every `advance` units.
float TextDistance(Vec2 p, std::string_view text, const GlyphPlacement& at, float advance);

}  // namespace assetgen
