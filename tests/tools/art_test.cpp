#include <gtest/gtest.h>

#include <cmath>

#include "tools/assetgen/art.h"

using namespace assetgen;

namespace {

// Bounds of the pixels at least `alpha` opaque inside box.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};
Ink InkIn(const Canvas& c, Box box, float alpha = 0.5f) {
    Ink ink;
    for (int y = box.y0; y < box.y1; ++y)
        for (int x = box.x0; x < box.x1; ++x) {
            if (c.At(x, y).a < alpha) continue;
            ink = {std::min(ink.x0, x), std::min(ink.y0, y), std::max(ink.x1, x), std::max(ink.y1, y), ink.count + 1};
        }
    return ink;
}

float Polar(Vec2 p, Vec2 o, float* radius) {
    Vec2 d = p - o;
    *radius = Length(d);
    return std::atan2(d.x, -d.y) * 180.0f / kPi;  // compass degrees
}

}  // namespace

TEST(Art, EveryPictureIsDeterministicAndHasTransparency) {
    for (const ArtPiece& piece : kArtPieces) {
        SCOPED_TRACE(piece.name);
        std::vector<uint8_t> a = piece.make().ToRgba8(), b = piece.make().ToRgba8();
        EXPECT_EQ(a, b);
        int transparent = 0, solid = 0;
        for (size_t i = 3; i < a.size(); i += 4) {
            transparent += a[i] == 0;
            solid += a[i] > 128;
        }
        EXPECT_GT(transparent, 0);
        EXPECT_GT(solid, 0);
    }
}

TEST(Art, FontGlyphsStayInTheirBoxAndReadAtHalfSize) {
    Canvas font = MakeFont();
    ASSERT_EQ(font.Width(), 512);
    ASSERT_EQ(font.Height(), 512);
    for (int code = 0; code < 256; ++code) {
        SCOPED_TRACE(code);
        int cx = code % 16 * 32, cy = code / 16 * 32;
        if (code <= 32 || code > 126) {
            EXPECT_EQ(InkIn(font, {cx, cy, cx + 32, cy + 32}, 0.001f).count, 0);
            continue;
        }
        // Ink within the glyph box, widened by a pixel for anti-aliasing,
        // and below it for descenders.
        Ink cell = InkIn(font, {cx, cy, cx + 32, cy + 32}, 0.25f);
        EXPECT_GE(cell.x0 - cx, kFontOffX - 1);
        EXPECT_LE(cell.x1 - cx, kFontOffX + kFontAdvance - 1);
        EXPECT_GE(cell.y0 - cy, kFontOffY - 1);
        Ink box = InkIn(font, {cx + kFontOffX, cy + kFontOffY, cx + kFontOffX + kFontAdvance,
                               cy + kFontOffY + kFontHeight});
        EXPECT_GT(box.count, 3);
        // At half size (2 x 2 averages) strokes still show solid pixels.
        int solidHalf = 0;
        for (int y = cy; y < cy + 32; y += 2)
            for (int x = cx; x < cx + 32; x += 2) {
                float a = (font.At(x, y).a + font.At(x + 1, y).a + font.At(x, y + 1).a + font.At(x + 1, y + 1).a) / 4;
                solidHalf += a > 0.6f;
            }
        EXPECT_GT(solidHalf, 0);
    }
    // Capitals and digits fill the box's height: the text aligns by it.
    for (int code : {'E', 'H', '0', '8'}) {
        int cx = code % 16 * 32, cy = code / 16 * 32;
        Ink ink = InkIn(font, {cx, cy, cx + 32, cy + 32});
        EXPECT_NEAR(ink.y0 - cy, kFontOffY, 1);
        EXPECT_NEAR(ink.y1 + 1 - cy, kFontOffY + kFontHeight, 1);
    }
}

TEST(Art, ShieldSegmentSpansTheTopEighthBetweenItsRadii) {
    Canvas c = MakeShield();
    ASSERT_EQ(c.Width(), c.Height());
    Vec2 o{c.Width() / 2.0f, c.Height() / 2.0f};
    float minR = 1e9f, maxR = 0, minA = 1e9f, maxA = -1e9f;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (c.At(x, y).a < 0.5f) continue;
            float r, a = Polar({x + 0.5f, y + 0.5f}, o, &r);
            minR = std::min(minR, r), maxR = std::max(maxR, r);
            minA = std::min(minA, a), maxA = std::max(maxA, a);
        }
    EXPECT_NEAR(minR, 100, 2);
    EXPECT_NEAR(maxR, 112, 1);
    EXPECT_GT(minA, -22.5f);
    EXPECT_LT(maxA, 22.5f);
    EXPECT_GT(maxA - minA, 38.0f);  // close to 45 degrees with a gap
}

TEST(Art, HealthSegmentRunsClockwiseFromTheTopAroundTheEmblem) {
    Canvas health = MakeHealth(), player = MakePlayer();
    Vec2 o{health.Width() / 2.0f, health.Height() / 2.0f};
    float minR = 1e9f, minA = 1e9f, maxA = -1e9f;
    for (int y = 0; y < health.Height(); ++y)
        for (int x = 0; x < health.Width(); ++x) {
            if (health.At(x, y).a < 0.5f) continue;
            float r, a = Polar({x + 0.5f, y + 0.5f}, o, &r);
            minR = std::min(minR, r), minA = std::min(minA, a), maxA = std::max(maxA, a);
        }
    EXPECT_GT(minA, 0.0f);
    EXPECT_LT(maxA, 30.0f);
    EXPECT_GT(maxA - minA, 24.0f);
    // The emblem fits inside the ring and under 90 pixels.
    Ink emblem = InkIn(player, player.Whole(), 0.05f);
    EXPECT_LT(emblem.x1 - emblem.x0 + 1, 90);
    EXPECT_LT((emblem.x1 - emblem.x0 + 1) / 2.0f, minR);
}

TEST(Art, GunBarrelPointsDown) {
    Canvas c = MakeGun();
    Ink ink = InkIn(c, c.Whole());
    float cy = c.Height() / 2.0f;
    EXPECT_GT(ink.y1 - cy, (cy - ink.y0) * 1.3f);
    // Symmetric left to right.
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width() / 2; ++x) ASSERT_NEAR(c.At(x, y).a, c.At(c.Width() - 1 - x, y).a, 0.02f);
}

TEST(Art, InterfaceLeavesThePlayfieldClearAndBacksTheHudText) {
    Canvas c = MakeInterface();
    ASSERT_EQ(c.Width(), 800);
    ASSERT_EQ(c.Height(), 600);
    EXPECT_EQ(InkIn(c, {60, 90, 740, 510}, 0.01f).count, 0);
    // Dark plates behind "Level" (from 10, 10) and "Score" (to 790).
    for (Box text : {Box{10, 10, 90, 60}, Box{710, 10, 790, 60}}) {
        for (int y = text.y0; y < text.y1; y += 7)
            for (int x = text.x0; x < text.x1; x += 7) {
                const Rgba& p = c.At(x, y);
                if (p.a < 0.99f && p.r / p.a > 0.5f) continue;  // a rule line
                EXPECT_GT(p.a, 0.6f);
            }
    }
}

TEST(Art, MenuPicturesFitTheirPlaces) {
    Canvas b1 = MakeButton1(), b2 = MakeButton2();
    EXPECT_EQ(b1.Width(), 512);
    EXPECT_NEAR(b1.Height(), 150, 10);
    for (int y = 0; y < b1.Height(); ++y)
        for (int x = 0; x < 256; ++x) ASSERT_NEAR(b1.At(x, y).a, b1.At(511 - x, y).a, 0.02f);
    // The key letter (centred on x 256, bottom at y 98) sits on the dark
    // key cap, the label (bottom at y 130) on the plate.
    EXPECT_GT(b1.At(256, 88).a, 0.5f);
    EXPECT_LT(b1.At(256, 88).r / b1.At(256, 88).a, 0.3f);
    EXPECT_GT(b1.At(200, 122).a, 0.5f);
    // The ornament at (110, 170) stays between the plates and clear of the
    // emblem and gun rosette at the centre (400, 300).
    EXPECT_LE(170 + b2.Height(), 440);
    Ink ink = InkIn(b2, b2.Whole(), 0.02f);
    EXPECT_LT(110 + ink.x1, 400 - 100);
}

TEST(Art, PatternCellsStayInsideTheirCircleAndDiffer) {
    Canvas c = MakePatterns();
    ASSERT_EQ(c.Width(), kPatternCell * kPatternCount);
    ASSERT_EQ(c.Height(), kPatternCell);
    std::vector<std::vector<float>> cells;
    for (int k = 0; k < kPatternCount; ++k) {
        SCOPED_TRACE(k);
        std::vector<float> alpha;
        for (int y = 0; y < kPatternCell; ++y)
            for (int x = 0; x < kPatternCell; ++x) {
                float a = c.At(k * kPatternCell + x, y).a;
                alpha.push_back(a);
                // Cells turn on screen: nothing in the corners.
                if (Length(Vec2{x + 0.5f, y + 0.5f} - Vec2{16, 16}) > 17.5f) {
                    EXPECT_LT(a, 0.05f);
                }
            }
        for (const auto& other : cells) EXPECT_NE(alpha, other);
        cells.push_back(alpha);
    }
}

TEST(Art, ShotAndShockwaveHaveTheirSizes) {
    Canvas shot = MakeShot(), wave = MakeShockwave();
    Ink glow = InkIn(shot, shot.Whole(), 0.1f);
    EXPECT_NEAR(glow.x1 - glow.x0 + 1, 24, 5);
    Ink ring = InkIn(wave, wave.Whole(), 0.5f);
    EXPECT_NEAR(ring.x1 - ring.x0 + 1, 120, 8);
    // The middle of the ring is see-through.
    EXPECT_LT(wave.At(64, 64).a, 0.05f);
}
