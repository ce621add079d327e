// patterns.png: the background cells, ten of 32 x 32 in a row. The game
// tiles the screen with one of them, turning and pulsing each cell and
// tinting it dark, so the shapes are bold and calm and stay within the
// cell's inscribed circle (the cells rotate).
#include "tools/assetgen/art.h"
#include "tools/assetgen/neon.h"

namespace assetgen {
namespace {

const char* const kDirectionLabels[8] = {"W", "WD", "D", "DS", "S", "SA", "A", "AW"};

Box CellBox(int cell) { return {cell * kPatternCell, 0, (cell + 1) * kPatternCell, kPatternCell}; }

// Title and game over: a four-petalled flower in a ring.
void DrawFlower(Canvas& c, Vec2 o, Box box) {
    c.Stroke([&](Vec2 p) { return Length(p - o) - 13.0f; }, 0.9f, 1.0f, 0.6f, box);
    for (int i = 0; i < 4; ++i) {
        Vec2 tip = o + Compass(45.0f + 90.0f * i) * 11.0f;
        Vec2 side1 = o + Compass(45.0f + 90.0f * i - 30.0f) * 5.5f;
        Vec2 side2 = o + Compass(45.0f + 90.0f * i + 30.0f) * 5.5f;
        NeonShape(c, [&](Vec2 p) { return SdPolygon(p, {o, side1, tip, side2}); },
                  {0.6f, 0.5f, 1.0f, 0.7f, 1.5f, 0.25f}, box);
    }
    for (int i = 0; i < 4; ++i) {
        Vec2 dot = o + Compass(90.0f * i) * 9.0f;
        c.Fill([&](Vec2 p) { return SdCircle(p, dot, 1.5f); }, 1.0f, 0.8f, box);
    }
}

// Play: eight dots on a ring around a small diamond. With `swapped` set to
// a direction, that direction's dot becomes an arrow and the diamond gives
// way to the direction's key letters.
void DrawCompass(Canvas& c, Vec2 o, Box box, int swapped) {
    for (int k = 0; k < 8; ++k) {
        if (k == swapped) continue;
        Vec2 dot = o + Compass(45.0f * k) * 12.0f;
        c.Fill([&](Vec2 p) { return SdCircle(p, dot, k % 2 ? 1.3f : 1.9f); }, 1.0f, 0.85f, box);
    }
    if (swapped < 0) {
        std::vector<Vec2> diamond = {o + Vec2{0, -6.5f}, o + Vec2{6.5f, 0}, o + Vec2{0, 6.5f}, o + Vec2{-6.5f, 0}};
        NeonShape(c, [&](Vec2 p) { return SdPolygon(p, diamond); }, {0.5f, 0.4f, 1.0f, 0.8f, 1.5f, 0.25f}, box);
        c.Fill([&](Vec2 p) { return SdCircle(p, o, 1.4f); }, 1.0f, 1.0f, box);
        return;
    }
    // The swapped direction's dot becomes a small outward triangle.
    float a = 45.0f * swapped;
    auto at = [&](float along, float across) { return o + Compass(a) * along + Compass(a + 90) * across; };
    std::vector<Vec2> arrow = {at(15, 0), at(10.5f, 3.5f), at(10.5f, -3.5f)};
    c.Fill([&](Vec2 p) { return SdPolygon(p, arrow); }, 1.0f, 0.9f, box);
    // The key letters, about ten pixels high, centred on the cell.
    std::string_view label = kDirectionLabels[swapped];
    const float ux = 1.25f, uy = 1.45f, advance = 5.6f;
    float width = (float(label.size() - 1) * advance + 4) * ux;
    GlyphPlacement place{{o.x - width / 2, o.y - 3 * uy}, ux, uy};
    auto letters = [&](Vec2 p) { return TextDistance(p, label, place, advance) - 0.85f; };
    c.Glow(letters, 1.2f, 1.0f, 0.25f, box);
    c.Fill(letters, 1.0f, 0.9f, box);
}

}  // namespace

Canvas MakePatterns() {
    Canvas c(kPatternCell * kPatternCount, kPatternCell);
    for (int cell = 0; cell < kPatternCount; ++cell) {
        Box box = CellBox(cell);
        Vec2 o{box.x0 + kPatternCell * 0.5f, kPatternCell * 0.5f};
        if (cell == 0)
            DrawFlower(c, o, box);
        else
            DrawCompass(c, o, box, cell - 2);
    }
    return c;
}

}  // namespace assetgen
