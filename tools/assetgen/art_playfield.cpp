// The pieces of the playfield around the screen centre: shield segment,
// gun, player emblem, health segment, shot and shockwave.
#include "tools/assetgen/art.h"
#include "tools/assetgen/neon.h"

namespace assetgen {

// One of eight shield segments: a band between radius 100 and 112 (where
// shots are stopped) over the top 45 degrees of the circle, drawn
// additively and rotated into place by the game.
Canvas MakeShield() {
    Canvas c(256, 256);
    const Vec2 o{128, 128};
    const float a0 = -22.5f + 1.6f, a1 = 22.5f - 1.6f;
    auto band = [&](Vec2 p) { return SdAnnularSector(p, o, 100.5f, 111.5f, a0, a1); };
    Box box{0, 0, 256, 40};
    c.Paint([&](Vec2 p) {
        float d = band(p);
        float r = Length(p - o);
        // Brighter towards the outer rim, where blocked shots strike.
        float body = 0.25f + 0.5f * std::clamp((r - 100.0f) / 12.0f, 0.0f, 1.0f);
        float halo = 0.3f * std::exp(-std::max(d, 0.0f) / 3.0f) * (1 - Coverage(d));
        return Canvas::Grey(1.0f, halo + body * Coverage(d));
    }, box);
    c.Stroke([&](Vec2 p) { return SdArc(p, o, 110.3f, a0 + 0.6f, a1 - 0.6f); }, 1.2f, 1.0f, 1.0f, box);
    c.Stroke([&](Vec2 p) { return SdArc(p, o, 101.6f, a0 + 0.8f, a1 - 0.8f); }, 0.7f, 1.0f, 0.8f, box);
    // Short bright caps at both ends mark the segment's edges.
    for (float a : {a0 + 0.9f, a1 - 0.9f}) {
        Vec2 in = o + Compass(a) * 102.0f, out = o + Compass(a) * 110.0f;
        c.Stroke([&](Vec2 p) { return SdSegment(p, in, out); }, 0.8f, 1.0f, 0.9f, box);
    }
    return c;
}

// A gun with its barrel pointing down. Eight of them also overlap at the
// centre as a rosette outside play, so the housing is a partial ring about
// the image centre, backed by a base plate on the far side, and the middle
// stays open.
Canvas MakeGun() {
    Canvas c(72, 72);
    const Vec2 o{36, 36};
    NeonStyle style;
    style.bodyAlpha = 0.3f;  // eight overlap in the rosette
    const std::vector<Vec2> base = {{o.x - 20, o.y - 15}, {o.x - 13, o.y - 23}, {o.x + 13, o.y - 23},
                                    {o.x + 20, o.y - 15}};
    NeonShape(c, [&](Vec2 p) { return SdPolygon(p, base); }, style);
    NeonShape(c, [&](Vec2 p) { return SdAnnularSector(p, o, 9.0f, 17.0f, -120.0f, 120.0f); }, style);
    // Twin barrels joined at the muzzle.
    auto barrel = [&](Vec2 p) {
        float rails = std::min(SdBox(p, {o.x - 3.5f, o.y + 19}, {2.2f, 11.0f}, 1.0f),
                               SdBox(p, {o.x + 3.5f, o.y + 19}, {2.2f, 11.0f}, 1.0f));
        float muzzle = SdBox(p, {o.x, o.y + 30}, {6.5f, 2.5f}, 1.0f);
        return std::min(rails, muzzle);
    };
    NeonShape(c, barrel, style);
    // The charge glowing in the breech.
    c.Glow([&](Vec2 p) { return SdCircle(p, o, 2.5f); }, 2.0f, 1.0f, 0.6f);
    c.Fill([&](Vec2 p) { return SdCircle(p, o, 2.8f); }, 1.0f, 1.0f);
    return c;
}

// The player's emblem: a four-pointed star in a ring, under 90 pixels
// across with its halo.
Canvas MakePlayer() {
    Canvas c(96, 96);
    const Vec2 o{48, 48};
    NeonStyle style;
    std::vector<Vec2> star;
    for (int i = 0; i < 8; ++i) star.push_back(o + Compass(45.0f * i) * (i % 2 ? 10.0f : 28.0f));
    // A ring cut by eight notches into segments facing the directions.
    auto ring = [&](Vec2 p) {
        float d = std::abs(Length(p - o) - 36.0f) - 3.5f;
        for (int i = 0; i < 8; ++i) {
            Vec2 a = o + Compass(22.5f + 45.0f * i) * 30.0f, b = o + Compass(22.5f + 45.0f * i) * 46.0f;
            d = std::max(d, 1.6f - SdSegment(p, a, b));
        }
        return d;
    };
    NeonShape(c, ring, style);
    NeonShape(c, [&](Vec2 p) { return SdPolygon(p, star); }, style);
    // A second, smaller star turned 45 degrees between the points.
    std::vector<Vec2> inner;
    for (int i = 0; i < 8; ++i) inner.push_back(o + Compass(22.5f + 45.0f * i) * (i % 2 ? 5.5f : 16.0f));
    c.Stroke([&](Vec2 p) { return SdPolygon(p, inner); }, 0.6f, 1.0f, 0.6f);
    NeonShape(c, [&](Vec2 p) { return SdCircle(p, o, 5.0f); }, {0.9f, 1.0f, 1.0f, 1.0f, 3.0f, 0.5f});
    return c;
}

// One health point: a 30-degree segment of the ring around the emblem,
// from the top clockwise with a small gap at each end; drawn additively.
Canvas MakeHealth() {
    Canvas c(128, 128);
    const Vec2 o{64, 64};
    const float a0 = 2.0f, a1 = 28.0f;
    auto seg = [&](Vec2 p) { return SdAnnularSector(p, o, 48.0f, 56.0f, a0, a1); };
    c.Paint([&](Vec2 p) {
        float d = seg(p);
        float halo = 0.35f * std::exp(-std::max(d, 0.0f) / 2.5f) * (1 - Coverage(d));
        return Canvas::Grey(1.0f, halo + 0.5f * Coverage(d));
    });
    c.Stroke([&](Vec2 p) { return SdArc(p, o, 54.8f, a0 + 1.2f, a1 - 1.2f); }, 1.0f, 1.0f, 1.0f);
    return c;
}

// A glowing ball about 24 pixels across, drawn additively.
Canvas MakeShot() {
    Canvas c(32, 32);
    const Vec2 o{16, 16};
    c.Paint([&](Vec2 p) {
        float r = Length(p - o);
        float halo = 0.85f * std::exp(-std::max(r - 4.0f, 0.0f) / 3.2f);
        float edge = std::clamp((15.5f - r) / 3.0f, 0.0f, 1.0f);  // fades out inside the picture
        return Canvas::Grey(1.0f, std::min(1.0f, halo * edge));
    });
    c.Fill([&](Vec2 p) { return SdCircle(p, o, 4.5f); }, 1.0f, 1.0f);
    return c;
}

// The ring a resolved shot leaves: a bright front with a fading wake
// inside it, 128 pixels across; the game grows and fades it.
Canvas MakeShockwave() {
    Canvas c(128, 128);
    const Vec2 o{64, 64};
    c.Paint([&](Vec2 p) {
        float r = Length(p - o);
        float wake = r < 58 ? 0.45f * std::pow(std::clamp((r - 24.0f) / 34.0f, 0.0f, 1.0f), 2.0f) : 0.0f;
        float halo = 0.4f * std::exp(-std::max(r - 60.0f, 0.0f) / 1.5f) * (r > 60 ? 1.0f : 0.0f);
        return Canvas::Grey(1.0f, wake + halo);
    });
    c.Stroke([&](Vec2 p) { return Length(p - o) - 59.0f; }, 1.6f, 1.0f, 1.0f);
    return c;
}

}  // namespace assetgen
