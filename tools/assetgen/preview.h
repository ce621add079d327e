// A small software version of the game's drawing, used to show the art as
// the game draws it: images placed with a handle, rotated, scaled, tinted
// and blended (alpha or additive), and text drawn from the font picture.
// Only for pictures of the art; the game itself draws through the engine.
// Main thread only.
#pragma once

#include <string_view>

#include "tools/assetgen/canvas.h"

namespace assetgen {

struct Rgb {
    float r = 1, g = 1, b = 1;
};

// The colour of hue `hue` (degrees) at saturation and value 0..255, by the
// game's colour rule.
Rgb HueColour(double hue, int sat, int val);

enum class Blend { Alpha, Additive };

struct DrawState {
    float rotation = 0;  // degrees, clockwise on screen
    float scaleX = 1, scaleY = 1;
    Rgb colour;
    float alpha = 1;
    Blend blend = Blend::Alpha;
};

// The cell at `cell` of `image` (a sub-rectangle) drawn with its point
// `handle` at (x, y).
void DrawImage(Canvas& screen, const Canvas& image, Box cell, Vec2 handle, float x, float y, const DrawState& s);
inline void DrawImage(Canvas& screen, const Canvas& image, Vec2 handle, float x, float y, const DrawState& s) {
    DrawImage(screen, image, image.Whole(), handle, x, y, s);
}

// Text from the font picture, placed as the game places it: alignX 0 left,
// 1 right, 2 centred; alignY 0 top, 1 bottom, 2 centred.
void DrawText(Canvas& screen, const Canvas& font, std::string_view text, int x, int y, float scale, int alignX,
              int alignY, DrawState s);

// Fills the whole canvas with an opaque colour.
void Clear(Canvas& screen, Rgb colour);

}  // namespace assetgen
