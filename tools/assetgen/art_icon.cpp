// The program icon: the player's emblem lit in the title screen's blue on a
// dark rounded tile, drawn from its shapes at each size (not scaled down
// from one picture), so that small icons stay sharp.
#include <algorithm>

#include "tools/assetgen/art.h"

namespace assetgen {

namespace {

// Premultiplied colour c at opacity a.
Rgba Tint(const float (&c)[3], float a) { return {c[0] * a, c[1] * a, c[2] * a, a}; }

}  // namespace

Canvas MakeIcon(int size) {
    Canvas c(size, size);
    // Drawn on a 96-unit grid like the emblem; lines keep at least half a
    // pixel of half width so the small sizes do not fade away.
    const float k = size / 96.0f;
    const Vec2 o{size / 2.0f, size / 2.0f};
    auto px = [&](float units) { return std::max(units * k, 0.5f); };
    constexpr float kTileTop[3] = {0.10f, 0.16f, 0.40f};
    constexpr float kTileBottom[3] = {0.02f, 0.04f, 0.14f};
    constexpr float kLight[3] = {0.62f, 0.84f, 1.0f};
    constexpr float kCore[3] = {0.92f, 0.97f, 1.0f};

    c.Paint([&](Vec2 p) {
        float t = std::clamp(p.y / float(size), 0.0f, 1.0f);
        const float shade[3] = {kTileTop[0] + (kTileBottom[0] - kTileTop[0]) * t,
                                kTileTop[1] + (kTileBottom[1] - kTileTop[1]) * t,
                                kTileTop[2] + (kTileBottom[2] - kTileTop[2]) * t};
        return Tint(shade, Coverage(SdBox(p, o, {46 * k, 46 * k}, 16 * k)));
    });

    // The ring, cut into the eight direction segments where there is room.
    auto ring = [&](Vec2 p) {
        float d = std::abs(Length(p - o) - 34 * k) - px(3.5f);
        if (size >= 32) {
            for (int i = 0; i < 8; ++i) {
                Vec2 a = o + Compass(22.5f + 45.0f * i) * (28 * k), b = o + Compass(22.5f + 45.0f * i) * (44 * k);
                d = std::max(d, px(1.6f) - SdSegment(p, a, b));
            }
        }
        return d;
    };
    std::vector<Vec2> star;
    for (int i = 0; i < 8; ++i) star.push_back(o + Compass(45.0f * i) * (i % 2 ? 9 * k : 26 * k));
    auto starShape = [&](Vec2 p) { return SdPolygon(p, star); };

    const float glow = px(3.0f);
    c.Paint([&](Vec2 p) {
        float d = std::max(std::min(ring(p), starShape(p)), 0.0f);
        return Tint(kLight, 0.45f * std::exp(-d / glow));
    });
    c.Paint([&](Vec2 p) { return Tint(kLight, Coverage(ring(p))); });
    c.Paint([&](Vec2 p) { return Tint(kLight, 0.35f * Coverage(starShape(p))); });
    c.Paint([&](Vec2 p) { return Tint(kLight, Coverage(std::abs(starShape(p) + px(1.1f)) - px(1.1f))); });
    c.Paint([&](Vec2 p) { return Tint(kCore, Coverage(SdCircle(p, o, px(5.0f)))); });
    return c;
}

}  // namespace assetgen
