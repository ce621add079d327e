// The built-in 8 x 16 bitmap font, embedded in the program.
//
// 96 glyphs for character codes 32..127, stored as the 1536-byte font file
// the engine knows under two names, "orvofont.bin" (image fonts) and
// "gldrawtextfont.bin" (the plain-GL text utility). Layout: 16 rows of 96
// bytes; byte r * 96 + n is pixel row r (0 = top) of code 32 + n, bit k is
// pixel column k (bit 0 leftmost), a set bit is ink.
//
// The data is constant and built at compile time; any thread may read it.
#pragma once

#include <cstdint>
#include <string_view>

namespace vantrel {

inline constexpr int kBuiltinFontSize = 1536;
inline constexpr int kBuiltinFontFirstChar = 32;
inline constexpr int kBuiltinFontGlyphs = 96;
inline constexpr int kBuiltinFontGlyphWidth = 8;
inline constexpr int kBuiltinFontGlyphHeight = 16;

// The kBuiltinFontSize bytes of the embedded font file called name, or
// null when no embedded file has that name.
const uint8_t* BuiltinFontData(std::string_view name);

// Whether pixel (column, row) of the glyph for code 32..127 is ink.
bool BuiltinFontPixel(int code, int column, int row);

}  // namespace vantrel
