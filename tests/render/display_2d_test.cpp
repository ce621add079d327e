// Primitives of the OpenGL 2D driver, read back from the back buffer.
#include <GL/gl.h>

#include <cmath>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_draw_state.h>

namespace vantrel::testing {
namespace {

using Display2D = DisplayTest;

TEST_F(Display2D, RotatedRectLandsWhereTheMatrixPutsIt) {
    SetDrawRotation(90);
    FillRect(100, 100, 10, 20);   // local (0..10, 0..20) -> screen x 80..100, y 100..110
    EXPECT_EQ(PixelAt(80, 100), kWhite);
    EXPECT_EQ(PixelAt(99, 109), kWhite);
    EXPECT_EQ(PixelAt(79, 105), kBlack);
    EXPECT_EQ(PixelAt(100, 105), kBlack);
    EXPECT_EQ(PixelAt(90, 99), kBlack);
    EXPECT_EQ(PixelAt(90, 110), kBlack);
}

TEST_F(Display2D, HandleAndOriginMoveRectsButNotPlots) {
    SetDrawHandle(5, 5);
    FillRect(10, 10, 10, 10);   // fills (5, 5)-(15, 15)
    float hx = 0, hy = 0;
    GetDrawHandle(hx, hy);
    EXPECT_EQ(hx, 5.0f);
    EXPECT_EQ(hy, 5.0f);
    EXPECT_EQ(PixelAt(5, 5), kWhite);
    EXPECT_EQ(PixelAt(14, 14), kWhite);
    EXPECT_EQ(PixelAt(4, 10), kBlack);
    EXPECT_EQ(PixelAt(15, 10), kBlack);

    SetDrawOrigin(200, 100);
    SetDrawColor(255, 0, 0);
    FillRect(0, 0, 4, 4);        // handle still (5, 5): (195, 95)-(199, 99)
    PlotPixel(10, 10);           // handle not applied: (210, 110)
    EXPECT_EQ(PixelAt(195, 95), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(198, 98), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(199, 99), kBlack);
    EXPECT_EQ(PixelAt(210, 110), (Rgb{255, 0, 0}));
    EXPECT_EQ(PixelAt(205, 105), kBlack);
}

TEST_F(Display2D, LineSegmentPlotsItsLastPixelOnRequest) {
    DrawLineSegment(10, 20, 20, 20);
    EXPECT_EQ(PixelAt(10, 20), kWhite);
    EXPECT_EQ(PixelAt(15, 20), kWhite);
    EXPECT_EQ(PixelAt(20, 20), kWhite);
    EXPECT_EQ(PixelAt(21, 20), kBlack);
    EXPECT_EQ(PixelAt(15, 21), kBlack);

    DrawLineSegment(10, 40, 20, 40, 0);
    EXPECT_EQ(PixelAt(19, 40), kWhite);
    EXPECT_EQ(PixelAt(20, 40), kBlack);
}

TEST_F(Display2D, ViewportClipsOnlyWhenSmallerThanTheGraphics) {
    SetClipViewport(0, 0, 800, 600);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    SetClipViewport(0, 0, 800, 599);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));

    SetClipViewport(10, 20, 30, 40);
    FillRect(0, 0, 100, 100);
    EXPECT_EQ(PixelAt(10, 20), kWhite);
    EXPECT_EQ(PixelAt(39, 59), kWhite);
    EXPECT_EQ(PixelAt(9, 30), kBlack);
    EXPECT_EQ(PixelAt(40, 30), kBlack);
    EXPECT_EQ(PixelAt(20, 19), kBlack);
    EXPECT_EQ(PixelAt(20, 60), kBlack);

    // ClearCanvas is clipped too.
    SetClearColor(0, 0, 255);
    ClearCanvas();
    EXPECT_EQ(PixelAt(20, 30), (Rgb{0, 0, 255}));
    EXPECT_EQ(PixelAt(60, 30), kBlack);

    SetClipViewport(0, 0, 800, 600);
    FillRect(0, 0, 800, 600);
    EXPECT_EQ(PixelAt(799, 599), kWhite);
}

TEST_F(Display2D, LogicalResolutionScalesDrawingAndClip) {
    SetLogicalResolution(400, 300);
    FillRect(10, 10, 5, 5);           // physical (20, 20)-(30, 30)
    EXPECT_EQ(PixelAt(20, 20), kWhite);
    EXPECT_EQ(PixelAt(29, 29), kWhite);
    EXPECT_EQ(PixelAt(30, 25), kBlack);
    SetClipViewport(0, 0, 400, 300);  // the whole graphics: no clipping
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
}

// Each mode on a known background (64, 128, 192) with colour (200, 100, 50).
struct BlendCase {
    int mode;
    float alpha;
    Rgb expected;
};

TEST_F(Display2D, BlendModesGiveTheirFormulaOnAKnownBackground) {
    const BlendCase cases[] = {
        {BlendMasked, 0.5f, {64, 128, 192}},    // alpha byte 127 fails the >= 0.5 test
        {BlendMasked, 0.51f, {200, 100, 50}},   // passes: drawn unblended
        {BlendSolid, 0.5f, {200, 100, 50}},
        {BlendAlpha, 0.5f, {132, 114, 121}},    // src * 127/255 + dst * 128/255
        {BlendAdditive, 0.5f, {164, 178, 217}}, // src * 127/255 + dst
        {BlendMultiply, 0.5f, {50, 50, 38}},    // src * dst / 255
        {BlendAdditive, 1.0f, {255, 228, 242}}, // saturates
        {0, 0.5f, {200, 100, 50}},              // unknown modes are solid
        {9, 0.5f, {200, 100, 50}},
    };
    int x = 0;
    for (const BlendCase& c : cases) {
        SetBlendMode(BlendSolid);
        SetDrawAlpha(1.0f);
        SetDrawColor(64, 128, 192);
        FillRect(x, 0, 20, 20);
        SetBlendMode(c.mode);
        SetDrawAlpha(c.alpha);
        SetDrawColor(200, 100, 50);
        FillRect(x, 0, 20, 20);
        Rgb got = PixelAt(x + 10, 10);
        EXPECT_TRUE(Near(got, c.expected, 2)) << "mode " << c.mode << " alpha " << c.alpha << ": " << got;
        x += 30;
    }
}

TEST_F(Display2D, ColourAndAlphaAreClampedToBytes) {
    SetBlendMode(BlendSolid);
    SetDrawColor(300, -5, 128);
    FillRect(0, 0, 10, 10);
    EXPECT_EQ(PixelAt(5, 5), (Rgb{255, 0, 128}));

    EXPECT_EQ(AlphaByte(1.5f), 255);
    EXPECT_EQ(AlphaByte(-1.0f), 0);
    EXPECT_EQ(AlphaByte(0.5f), 127);
    EXPECT_EQ(AlphaByte(std::nanf("")), 0);
}

TEST_F(Display2D, EllipseAndPolygonFillTheirShapes) {
    FillEllipse(100, 100, 100, 60);
    EXPECT_EQ(PixelAt(150, 130), kWhite);
    EXPECT_EQ(PixelAt(102, 130), kWhite);
    EXPECT_EQ(PixelAt(103, 103), kBlack);   // outside the curve, inside the box
    EXPECT_EQ(PixelAt(150, 161), kBlack);

    FillPolygon(ArrayOf<float>({300, 100, 340, 100, 300, 140}));
    EXPECT_EQ(PixelAt(305, 105), kWhite);
    EXPECT_EQ(PixelAt(335, 135), kBlack);
    // Too few values, or an odd count, draw nothing.
    FillPolygon(ArrayOf<float>({400, 100, 440, 100}));
    FillPolygon(ArrayOf<float>({400, 100, 440, 100, 400, 140, 5}));
    EXPECT_EQ(PixelAt(405, 105), kBlack);

    EXPECT_EQ(OvalSegments(5, 5), 12);
    EXPECT_EQ(OvalSegments(50, 30), 80);
    EXPECT_EQ(OvalSegments(-50, 33.5f), 80);
    EXPECT_EQ(OvalSegments(std::nanf(""), 1), 12);
}

TEST_F(Display2D, BlendCacheIsForgottenWhenTheContextIsReset) {
    Ref<TGLVel2DDriver> driver = GLDriver();
    driver->SetBlend(BlendMasked);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    glDisable(GL_ALPHA_TEST);            // behind the cache's back
    driver->SetBlend(BlendMasked);       // cached: no state change
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    driver->ResetGLContext(CurrentGraphics());
    driver->SetBlend(BlendMasked);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(GLState().texture, 0u);
    EXPECT_FALSE(GLState().texturing);
}

TEST_F(Display2D, PixmapsAreCopiedRawAndGrabbedTopDown) {
    Ref<TPixmap> p = NewPixmap(3, 2, FormatRGB888, 4);
    p->WritePixel(0, 0, 0xFFFF0000);
    p->WritePixel(1, 0, 0xFF00FF00);
    p->WritePixel(2, 0, 0xFF0000FF);
    p->WritePixel(0, 1, 0xFF101010);
    p->WritePixel(1, 1, 0xFF202020);
    p->WritePixel(2, 1, 0xFF303030);
    SetBlendMode(BlendAlpha);
    SetDrawRotation(45);                 // neither blend nor matrix applies
    DrawPixmapAt(p, 50, 60);
    EXPECT_EQ(GetBlendMode(), BlendAlpha);
    EXPECT_EQ(GLState().blend, BlendAlpha);
    Ref<TPixmap> back = GrabScreenPixmap(50, 60, 3, 2);
    EXPECT_EQ(back->format, FormatRGBA8888);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(back->ReadPixel(x, y) & 0xFFFFFF, p->ReadPixel(x, y) & 0xFFFFFF) << x << "," << y;
        }
    }
    EXPECT_EQ(PixelAt(49, 60), kBlack);
    EXPECT_EQ(PixelAt(50, 62), kBlack);

    // What lies outside the window comes back transparent black, not as
    // whatever the pixmap's memory held.
    DrawPixmapAt(p, 0, 0);
    back = GrabScreenPixmap(-2, -1, 4, 3);
    EXPECT_EQ(back->ReadPixel(2, 1) & 0xFFFFFF, p->ReadPixel(0, 0) & 0xFFFFFF);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            if (x < 2 || y < 1) {
                EXPECT_EQ(back->ReadPixel(x, y), 0) << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
