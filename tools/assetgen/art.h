// The game's pictures, each drawn in white and grey with alpha so that the
// game's colour tint shows through. Every maker is deterministic: the same
// call gives the same pixels. Main thread only.
#pragma once

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/glyphs.h"

namespace assetgen {

// Metrics of the font picture that the game's text drawing relies on.
inline constexpr int kFontCell = 32;        // 16 x 16 cells of 32 x 32
inline constexpr int kFontOffX = 1;         // glyph box left edge in its cell
inline constexpr int kFontOffY = 6;         // glyph box top edge in its cell
inline constexpr int kFontAdvance = 15;
inline constexpr int kFontHeight = 19;

inline constexpr int kPatternCell = 32;     // patterns.png: ten cells in a row
inline constexpr int kPatternCount = 10;

Canvas MakePatterns();
Canvas MakeInterface();
Canvas MakeButton1();
Canvas MakeButton2();
Canvas MakeFont();
Canvas MakeShield();
Canvas MakeGun();
Canvas MakePlayer();
Canvas MakeHealth();
Canvas MakeShot();
Canvas MakeShockwave();

// The program icon at size x size pixels, and the sizes the desktop looks
// for (written as icons/qirn-<size>.png).
Canvas MakeIcon(int size);
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Every picture with its file name under gfx/, in the game's loading order.
struct ArtPiece {
    const char* name;
    Canvas (*make)();
};
inline constexpr ArtPiece kArtPieces[] = {
    {"interface.png", MakeInterface}, {"font.png", MakeFont},       {"button1.png", MakeButton1},
    {"button2.png", MakeButton2},     {"patterns.png", MakePatterns}, {"shield.png", MakeShield},
    {"gun.png", MakeGun},             {"shot.png", MakeShot},       {"player.png", MakePlayer},
    {"health.png", MakeHealth},       {"shockwave.png", MakeShockwave},
};

// Glyph units to font-cell pixels: the strokes' outer edges fill the glyph
// box from its top to the baseline and 12 of the 15 pixels of the advance.
GlyphPlacement FontPlacement(float cellX, float cellY, float scale);
inline constexpr float kFontStrokeHalfWidth = 1.3f;

}  // namespace assetgen
