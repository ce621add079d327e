// The screen furniture: the full-screen interface overlay and the title
// menu's two pictures (the key plate and the side ornament).
#include "tools/assetgen/art.h"
#include "tools/assetgen/neon.h"

namespace assetgen {
namespace {

// The plates are dark glass: the game draws its text in the same colour
// on top of them.
NeonStyle PlateStyle() {
    NeonStyle s;
    s.bodyGrey = 0.1f;
    s.bodyAlpha = 0.88f;
    return s;
}

std::vector<Vec2> Mirrored(std::vector<Vec2> v, float axisX) {
    for (Vec2& p : v) p.x = 2 * axisX - p.x;
    return v;
}

}  // namespace

// 800 x 600, drawn over everything: a frame with openings where the guns
// stand at the top and bottom, and two corner plates behind "Level" (text
// from x 10, y 10) and "Score" (right-aligned at x 790).
Canvas MakeInterface() {
    Canvas c(800, 600);
    const std::vector<Vec2> plate = {{-10, -10}, {132, -10}, {132, 52}, {110, 74}, {-10, 74}};
    const std::vector<Vec2> plateRight = Mirrored(plate, 400);
    auto plates = [&](Vec2 p) { return std::min(SdPolygon(p, plate), SdPolygon(p, plateRight)); };
    // The frame: a rounded rectangle 6 pixels in from the edges, open
    // around the top and bottom guns and running into the plates' edges.
    auto frame = [&](Vec2 p) {
        float d = std::abs(SdBox(p, {400, 300}, {394, 294}, 14));
        float opening = std::max(std::abs(p.x - 400) - 44, std::min(p.y - 40, 560 - p.y));
        return std::max({d, -opening, -plates(p)});
    };
    NeonLine(c, frame, 1.0f, 0.85f, 0.3f);
    // Short cross-bars close the frame's openings.
    for (float y : {6.0f, 594.0f})
        for (float x : {356.0f, 444.0f})
            NeonLine(c, [&](Vec2 p) { return SdSegment(p, {x, y - 5}, {x, y + 5}); }, 1.2f, 1.0f, 0.3f,
                     BoxAround({x, y}, 12));
    // Corner plates behind the texts.
    NeonShape(c, plates, PlateStyle());
    // Rules between label and value.
    for (float sign : {1.0f, -1.0f}) {
        float x0 = 400 - sign * 392, x1 = 400 - sign * 288;
        c.Stroke([&](Vec2 p) { return SdSegment(p, {x0, 33}, {x1, 33}); }, 0.6f, 0.8f, 0.8f);
    }
    // Brackets in the bottom corners balance the plates.
    for (float sign : {1.0f, -1.0f}) {
        std::vector<Vec2> bracket = {{400 - sign * 386, 520}, {400 - sign * 386, 586}, {400 - sign * 320, 586}};
        NeonLine(c, [&](Vec2 p) { return SdPolyline(p, bracket); }, 1.5f, 1.0f, 0.35f);
        for (int i = 0; i < 3; ++i) {
            Vec2 a{400 - sign * (374 - 8.0f * i), 574}, b{400 - sign * (374 - 8.0f * i + 4), 578};
            c.Stroke([&](Vec2 p) { return SdSegment(p, a, b); }, 1.0f, 0.8f, 0.9f);
        }
    }
    return c;
}

// The title menu's key plate, 512 x 150, drawn at (144, 10): a bar along
// the screen edge, a body holding the key cap (key letter centred at
// x 256, bottom at y 98) and a band for the label (bottom at y 130). The
// game draws the same picture upside down for the bottom plate.
Canvas MakeButton1() {
    Canvas c(512, 150);
    NeonStyle style = PlateStyle();
    const std::vector<Vec2> bar = {{10, 10}, {24, 3}, {488, 3}, {502, 10}, {488, 17}, {24, 17}};
    const std::vector<Vec2> body = {{118, 17}, {394, 17}, {366, 140}, {356, 146}, {156, 146}, {146, 140}};
    NeonShape(c, [&](Vec2 p) { return std::min(SdPolygon(p, bar), SdPolygon(p, body)); }, style);
    // Dashes along the bar fade out towards its ends.
    for (int i = 0; i < 9; ++i) {
        for (float sign : {1.0f, -1.0f}) {
            float x = 256 + sign * (150 + 10.0f * i);
            c.Stroke([&](Vec2 p) { return SdSegment(p, {x - 2, 10}, {x + 2, 10}); }, 1.0f, 1.0f, 1.0f - i * 0.1f);
        }
    }
    // A chevron pointing at the screen edge: the way this key turns the
    // shield.
    for (float y : {48.0f, 38.0f}) {
        std::vector<Vec2> chevron = {{240, y + 12}, {256, y}, {272, y + 12}};
        NeonLine(c, [&](Vec2 p) { return SdPolyline(p, chevron); }, y > 40 ? 1.6f : 1.0f, 1.0f, 0.35f);
    }
    // The key cap around the letter.
    NeonStyle cap = style;
    cap.bodyGrey = 0.18f;
    NeonShape(c, [](Vec2 p) { return SdBox(p, {256, 88.5f}, {18, 17}, 5); }, cap);
    c.Stroke([](Vec2 p) { return SdBox(p, {256, 88.5f}, {14, 13}, 3); }, 0.5f, 1.0f, 0.5f);
    // The label band.
    const std::vector<Vec2> band = {{176, 108}, {336, 108}, {346, 120}, {336, 133}, {176, 133}, {166, 120}};
    c.Stroke([&](Vec2 p) { return SdPolygon(p, band); }, 0.7f, 1.0f, 0.7f);
    return c;
}

// The title menu's side ornament, drawn at (110, 170) and mirrored about
// x = 400 for the right side: arcs about the screen centre (290, 130 in
// this picture) between the two key plates, clear of the middle.
Canvas MakeButton2() {
    Canvas c(176, 260);
    const Vec2 o{290, 130};
    NeonLine(c, [&](Vec2 p) { return SdArc(p, o, 228, 238, 302); }, 2.0f, 1.0f, 0.35f);
    c.Stroke([&](Vec2 p) { return SdArc(p, o, 214, 246, 294); }, 0.7f, 1.0f, 0.7f);
    // A glass plate riding the arc's middle with a pointer to the side.
    NeonShape(c, [&](Vec2 p) { return SdAnnularSector(p, o, 234, 250, 258, 282); }, PlateStyle());
    for (float sign : {1.0f, -1.0f}) {
        for (int i = 1; i <= 6; ++i) {
            float a = 270 + sign * (13.0f + 3.0f * i);
            Vec2 in = o + Compass(a) * 233.0f, out = o + Compass(a) * (i % 3 == 0 ? 246.0f : 240.0f);
            c.Stroke([&](Vec2 p) { return SdSegment(p, in, out); }, 0.7f, 1.0f, 0.9f);
        }
        // End caps of the big arc.
        float a = 270 + sign * 32.0f;
        Vec2 in = o + Compass(a) * 218.0f, out = o + Compass(a) * 240.0f;
        NeonLine(c, [&](Vec2 p) { return SdSegment(p, in, out); }, 1.4f, 1.0f, 0.35f);
    }
    for (float x : {24.0f, 12.0f}) {
        std::vector<Vec2> chevron = {{x + 12, 116}, {x, 130}, {x + 12, 144}};
        NeonLine(c, [&](Vec2 p) { return SdPolyline(p, chevron); }, x > 20 ? 1.6f : 1.0f, 1.0f, 0.35f);
    }
    return c;
}

}  // namespace assetgen
