#include <gtest/gtest.h>

#include "tools/assetgen/canvas.h"

using namespace assetgen;

namespace {

float TotalAlpha(const Canvas& c) {
    float sum = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) sum += c.At(x, y).a;
    return sum;
}

}  // namespace

TEST(Canvas, FilledShapesHaveTheirAreaAndSoftEdges) {
    Canvas c(64, 64);
    c.Fill([](Vec2 p) { return SdCircle(p, {32.3f, 31.7f}, 20.0f); }, 1.0f, 1.0f);
    EXPECT_NEAR(TotalAlpha(c), kPi * 400.0f, kPi * 400.0f * 0.005f);
    int partial = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) partial += c.At(x, y).a > 0.02f && c.At(x, y).a < 0.98f;
    // Anti-aliasing: about one partial pixel per pixel of circumference.
    EXPECT_GT(partial, 80);
    EXPECT_LT(partial, 200);
    EXPECT_FLOAT_EQ(c.At(32, 32).a, 1.0f);
    EXPECT_FLOAT_EQ(c.At(2, 2).a, 0.0f);
}

TEST(Canvas, StrokesCompositeOverAndEraseCutsOut) {
    Canvas c(40, 10);
    c.Fill([](Vec2 p) { return SdBox(p, {20, 5}, {20, 5}); }, 0.2f, 0.5f);
    c.Stroke([](Vec2 p) { return SdSegment(p, {0, 5}, {40, 5}); }, 1.0f, 1.0f, 1.0f);
    // A two-pixel line straddles rows 4 and 5 fully.
    EXPECT_FLOAT_EQ(c.At(10, 4).a, 1.0f);
    EXPECT_FLOAT_EQ(c.At(10, 4).r, 1.0f);
    // Over the half-transparent grey body.
    EXPECT_FLOAT_EQ(c.At(10, 0).a, 0.5f);
    EXPECT_FLOAT_EQ(c.At(10, 0).r, 0.1f);
    c.Erase([](Vec2 p) { return p.x - 20.0f; });
    EXPECT_FLOAT_EQ(c.At(5, 4).a, 0.0f);
    EXPECT_FLOAT_EQ(c.At(30, 4).a, 1.0f);
}

TEST(Canvas, EightBitOutputIsStraightAlphaWithLightTransparentPixels) {
    Canvas c(8, 1);
    c.At(0, 0) = Canvas::Grey(0.5f, 0.5f);  // premultiplied 0.25
    c.At(1, 0) = Canvas::Grey(0.2f, 1.0f);
    std::vector<uint8_t> px = c.ToRgba8();
    EXPECT_EQ(px[0], 128);
    EXPECT_EQ(px[3], 128);
    EXPECT_EQ(px[4], 51);
    EXPECT_EQ(px[7], 255);
    // The transparent neighbour takes the painted neighbour's colour,
    // far-away ones stay white: no dark fringe under filtering.
    EXPECT_EQ(px[8 + 3], 0);
    EXPECT_EQ(px[8], 51);
    EXPECT_EQ(px[7 * 4], 255);
    EXPECT_EQ(px[7 * 4 + 3], 0);
}

TEST(Sdf, DistancesAreSignedAndMetric) {
    EXPECT_FLOAT_EQ(SdCircle({13, 0}, {10, 0}, 2), 1.0f);
    EXPECT_FLOAT_EQ(SdCircle({10, 0}, {10, 0}, 2), -2.0f);
    EXPECT_FLOAT_EQ(SdBox({0, 0}, {0, 0}, {4, 2}), -2.0f);
    EXPECT_FLOAT_EQ(SdBox({7, 0}, {0, 0}, {4, 2}), 3.0f);
    std::vector<Vec2> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_FLOAT_EQ(SdPolygon({5, 5}, square), -5.0f);
    EXPECT_FLOAT_EQ(SdPolygon({13, 5}, square), 3.0f);
    // Compass angles: 0 up, 90 right.
    EXPECT_NEAR(SdArc({0, -10}, {0, 0}, 10, -10, 10), 0.0f, 1e-4f);
    EXPECT_NEAR(SdArc({10, 0}, {0, 0}, 10, -10, 10), Length(Vec2{10, 0} - Compass(10) * 10), 1e-4f);
    EXPECT_LT(SdAnnularSector({0, -105}, {0, 0}, 100, 110, -20, 20), 0.0f);
    EXPECT_GT(SdAnnularSector({0, 105}, {0, 0}, 100, 110, -20, 20), 0.0f);
    EXPECT_NEAR(SdAnnularSector({0, -115}, {0, 0}, 100, 110, -20, 20), 5.0f, 1e-4f);
}
