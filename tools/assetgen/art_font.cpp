// font.png: 256 cells of 32 x 32, cell k the glyph of character k.
#include "tools/assetgen/art.h"

namespace assetgen {

GlyphPlacement FontPlacement(float cellX, float cellY, float scale) {
    const float hw = kFontStrokeHalfWidth;
    const float inkWidth = kFontAdvance - 3.0f;
    return {{cellX + (kFontOffX + hw) * scale, cellY + (kFontOffY + hw) * scale},
            (inkWidth - 2 * hw) / 4.0f * scale,
            (kFontHeight - 2 * hw) / 6.0f * scale};
}

Canvas MakeFont() {
    Canvas c(16 * kFontCell, 16 * kFontCell);
    for (int code = 0; code < 256; ++code) {
        if (GlyphStrokes(code).empty()) continue;
        float x = float(code % 16 * kFontCell), y = float(code / 16 * kFontCell);
        GlyphPlacement at = FontPlacement(x, y, 1.0f);
        Box box{int(x), int(y), int(x) + kFontCell, int(y) + kFontCell};
        auto dist = [&](Vec2 p) { return GlyphDistance(p, code, at); };
        c.Glow([&](Vec2 p) { return dist(p) - kFontStrokeHalfWidth; }, 1.2f, 1.0f, 0.22f, box);
        c.Stroke(dist, kFontStrokeHalfWidth, 1.0f, 1.0f, box);
    }
    return c;
}

}  // namespace assetgen
