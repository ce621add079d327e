#include <cmath>
#include <limits>

#include "recording_fixture.h"
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {
namespace {

using Vel2DState = RecordingGraphicsTest;

std::vector<std::string> Ops(const TRecordingVel2DDriver& d) {
    std::vector<std::string> ops;
    for (const DriverCall& c : d.calls) ops.push_back(c.op);
    return ops;
}

TEST_F(Vel2DState, FirstActivationAppliesWholeStateAndClearsBothBuffers) {
    auto fresh = MakeRef<TRecordingVel2DDriver>();
    SelectGraphicsDriver(fresh, 0);
    Ref<TGraphics> g = OpenGraphics(320, 200, 0, 0, 0);
    ASSERT_TRUE(g);
    std::vector<std::string> expected = {"CreateGraphics", "SetGraphics", "SetResolution", "SetBlend", "SetColor",
                                         "SetAlpha", "SetClsColor", "SetLineWidth", "SetTransform", "SetViewport",
                                         "Cls", "Flip", "Cls", "Flip"};
    EXPECT_EQ(Ops(*fresh), expected);
    EXPECT_EQ(fresh->Last("SetViewport").args, (std::vector<float>{0, 0, 320, 200}));
    EXPECT_EQ(fresh->Last("SetResolution").args, (std::vector<float>{320, 200}));
    EXPECT_EQ(fresh->Last("SetTransform").args, (std::vector<float>{1, 0, 0, 1}));
    EXPECT_EQ(fresh->blend, BlendMasked);
    EXPECT_EQ(fresh->Last("Flip").args[0], 0);
    EXPECT_TRUE(GetDrawFont());
    EXPECT_EQ(GetDrawFont(), DefaultImageFont());

    // Becoming current again re-applies the state but clears nothing.
    fresh->ClearCalls();
    MakeGraphicsCurrent(g);
    EXPECT_EQ(fresh->Count("Cls"), 0);
    EXPECT_EQ(fresh->Count("SetColor"), 1);
}

TEST_F(Vel2DState, RotationScaleAndHandlePlaceRectangles) {
    SetDrawRotation(90);
    FillRect(100, 100, 10, 20);
    float l, t, r, b;
    LastRectBounds(l, t, r, b);
    EXPECT_NEAR(l, 80, 1e-4);
    EXPECT_NEAR(r, 100, 1e-4);
    EXPECT_NEAR(t, 100, 1e-4);
    EXPECT_NEAR(b, 110, 1e-4);

    SetDrawTransform();
    SetDrawHandle(5, 5);
    FillRect(10, 10, 10, 10);
    LastRectBounds(l, t, r, b);
    EXPECT_FLOAT_EQ(l, 5);
    EXPECT_FLOAT_EQ(t, 5);
    EXPECT_FLOAT_EQ(r, 15);
    EXPECT_FLOAT_EQ(b, 15);
    float hx, hy;
    GetDrawHandle(hx, hy);
    EXPECT_EQ(hx, 5);
    EXPECT_EQ(hy, 5);

    // Scale grows the rectangle around the handle, origin shifts it.
    SetDrawHandle(0, 0);
    SetDrawScale(2, 3);
    SetDrawOrigin(50, 40);
    FillEllipse(0, 0, 10, 10);
    EXPECT_EQ(driver->Last("DrawOval").args, (std::vector<float>{0, 0, 10, 10, 50, 40}));
    FillRect(0, 0, 10, 10);
    LastRectBounds(l, t, r, b);
    EXPECT_FLOAT_EQ(l, 50);
    EXPECT_FLOAT_EQ(t, 40);
    EXPECT_FLOAT_EQ(r, 70);
    EXPECT_FLOAT_EQ(b, 70);

    // A positive rotation turns clockwise with y pointing down.
    SetDrawTransform(30, 1, 1);
    float x, y;
    driver->Transform(10, 0, 0, 0, x, y);
    EXPECT_NEAR(x, 10 * std::cos(M_PI / 6), 1e-4);
    EXPECT_NEAR(y, 10 * std::sin(M_PI / 6), 1e-4);
    // Each axis keeps its own scale through the turn.
    SetDrawTransform(30, 2, 1);
    driver->Transform(10, 0, 0, 0, x, y);
    EXPECT_NEAR(x, 20 * std::cos(M_PI / 6), 1e-4);
    EXPECT_NEAR(y, 20 * std::sin(M_PI / 6), 1e-4);
    driver->Transform(0, 10, 0, 0, x, y);
    EXPECT_NEAR(x, -10 * std::sin(M_PI / 6), 1e-4);
    EXPECT_NEAR(y, 10 * std::cos(M_PI / 6), 1e-4);
    SetDrawTransform(30, 1, 1);
    float rot, sx, sy;
    GetDrawScale(sx, sy);
    rot = GetDrawRotation();
    EXPECT_EQ(rot, 30);
    EXPECT_EQ(sx, 1);
    EXPECT_EQ(sy, 1);
}

TEST_F(Vel2DState, PointsLinesAndPolygons) {
    SetDrawOrigin(50, 20);
    SetDrawHandle(3, 3);
    SetDrawRotation(45);
    PlotPixel(1, 2);   // neither handle nor matrix
    EXPECT_EQ(driver->Last("Plot").args, (std::vector<float>{51, 22}));

    SetDrawOrigin(0, 0);
    SetDrawHandle(0, 0);
    SetDrawRotation(0);
    driver->ClearCalls();
    DrawLineSegment(0, 0, 10, 0);
    EXPECT_EQ(driver->Last("DrawLine").args, (std::vector<float>{0, 0, 10, 0, 0, 0}));
    EXPECT_EQ(driver->Last("Plot").args, (std::vector<float>{10, 0}));
    driver->ClearCalls();
    DrawLineSegment(0, 0, 10, 0, 0);
    EXPECT_EQ(driver->Count("DrawLine"), 1);
    EXPECT_EQ(driver->Count("Plot"), 0);

    // The last pixel follows the matrix: a rotated line ends below its start.
    SetDrawRotation(90);
    DrawLineSegment(5, 5, 15, 5);
    const DriverCall& end = driver->Last("Plot");
    EXPECT_NEAR(end.args[0], 5, 1e-4);
    EXPECT_NEAR(end.args[1], 15, 1e-4);

    SetDrawHandle(1, 2);
    SetDrawOrigin(7, 8);
    FillPolygon(ArrayOf<float>({0, 0, 10, 0, 5, 5}));
    EXPECT_EQ(driver->Last("DrawPoly").args, (std::vector<float>{-1, -2, 7, 8, 0, 0, 10, 0, 5, 5}));
}

TEST_F(Vel2DState, StateKeepsValuesTheDriverClamps) {
    SetDrawColor(300, -5, 128);
    int r, g, b;
    GetDrawColor(r, g, b);
    EXPECT_EQ(r, 300);
    EXPECT_EQ(g, -5);
    EXPECT_EQ(b, 128);
    EXPECT_EQ(driver->color[0], 255);
    EXPECT_EQ(driver->color[1], 0);
    EXPECT_EQ(driver->color[2], 128);

    SetDrawAlpha(1.5f);
    EXPECT_EQ(GetDrawAlpha(), 1.5f);
    EXPECT_EQ(driver->color[3], 255);
    SetDrawAlpha(-1);
    EXPECT_EQ(driver->color[3], 0);
    SetDrawAlpha(0.5f);
    EXPECT_EQ(driver->color[3], 127);
    SetDrawAlpha(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(driver->color[3], 0);

    SetClearColor(-1, 256, 7);
    GetClearColor(r, g, b);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(g, 256);
    EXPECT_EQ(driver->clsColor[0], 0);
    EXPECT_EQ(driver->clsColor[1], 255);
    EXPECT_EQ(driver->clsColor[2], 7);

    SetDrawLineWidth(2.5f);
    EXPECT_EQ(GetDrawLineWidth(), 2.5f);
    EXPECT_EQ(driver->lineWidth, 2.5f);

    for (int mode : {BlendAlpha, BlendAdditive, BlendMultiply, 0, 9}) {
        SetBlendMode(mode);
        EXPECT_EQ(GetBlendMode(), mode);
        EXPECT_EQ(driver->blend, mode);
    }
}

TEST_F(Vel2DState, LogicalResolutionScalesViewportAndIsDroppedOnResize) {
    SetLogicalResolution(400, 300);
    EXPECT_EQ(LogicalResolutionWidth(), 400);
    EXPECT_EQ(LogicalResolutionHeight(), 300);
    EXPECT_EQ(driver->resolution[0], 400);
    EXPECT_EQ(graphics->vres_mousexscale, 0.5f);
    SetClipViewport(0, 0, 400, 300);
    EXPECT_EQ(driver->Last("SetViewport").args, (std::vector<float>{0, 0, 800, 600}));
    SetClipViewport(10, 15, 100, 50);
    EXPECT_EQ(driver->Last("SetViewport").args, (std::vector<float>{20, 30, 200, 100}));
    int x, y, w, h;
    GetClipViewport(x, y, w, h);
    EXPECT_EQ((std::vector<int>{x, y, w, h}), (std::vector<int>{10, 15, 100, 50}));
    // Each axis has its own scale.
    SetLogicalResolution(400, 600);
    SetClipViewport(10, 15, 100, 50);
    EXPECT_EQ(driver->Last("SetViewport").args, (std::vector<float>{20, 15, 200, 50}));
    EXPECT_EQ(graphics->vres_mouseyscale, 1.0f);

    // Edges are floored separately: a logical unit of 3/4 pixel.
    SetLogicalResolution(1066.6667f, 800);
    SetClipViewport(1, 1, 2, 2);
    const DriverCall& v = driver->Last("SetViewport");
    EXPECT_EQ(v.args, (std::vector<float>{0, 0, 2, 2}));

    // A degenerate logical resolution must not make the conversion undefined.
    SetLogicalResolution(0, 0);
    SetClipViewport(0, 0, 10, 10);

    // The window grew: the logical resolution follows the new size.
    SetLogicalResolution(400, 300);
    auto device = Cast<TRecordingGraphics>(graphics->_graphics);
    device->Resize(1024, 768);
    MakeGraphicsCurrent(graphics);
    EXPECT_EQ(LogicalResolutionWidth(), 1024);
    EXPECT_EQ(LogicalResolutionHeight(), 768);
    EXPECT_EQ(graphics->vres_mousexscale, 1.0f);
    EXPECT_EQ(driver->resolution[1], 768);
}

TEST_F(Vel2DState, EachContextKeepsItsOwnState) {
    SetDrawColor(255, 0, 0);
    SetDrawRotation(90);
    Ref<TGraphics> other = driver->CreateGraphics(200, 100, 0, 0, 0);
    MakeGraphicsCurrent(other);
    EXPECT_EQ(TVel2DGraphics::Current(), other);
    EXPECT_EQ(driver->color[0], 255);
    EXPECT_EQ(driver->color[1], 255);
    EXPECT_EQ(driver->matrix[0], 1);
    EXPECT_EQ(driver->viewport[2], 200);

    MakeGraphicsCurrent(graphics);
    EXPECT_EQ(driver->color[1], 0);
    EXPECT_NEAR(driver->matrix[1], -1, 1e-6);
    EXPECT_EQ(driver->viewport[2], 800);
    other->Close();
}

TEST_F(Vel2DState, ClearAndPixelsGoThroughTheViewport) {
    SetClearColor(10, 20, 30);
    SetClipViewport(0, 0, 4, 4);
    ClearCanvas();
    SetClipViewport(0, 0, 800, 600);
    Ref<TPixmap> shot = GrabScreenPixmap(0, 0, 8, 8);
    EXPECT_EQ(shot->ReadPixel(3, 3), static_cast<int>(0xff0a141e));
    EXPECT_EQ(shot->ReadPixel(4, 3), static_cast<int>(0xff000000));   // cleared black when opened

    Ref<TPixmap> dot = NewPixmap(2, 1, FormatRGBA8888, 4);
    dot->ClearPixels(static_cast<int>(0x80ff0000));
    DrawPixmapAt(dot, 799, 5);   // half of it off the screen
    shot = GrabScreenPixmap(798, 5, 4, 1);
    EXPECT_EQ(shot->ReadPixel(0, 0), static_cast<int>(0xff000000));
    EXPECT_EQ(shot->ReadPixel(1, 0), static_cast<int>(0x80ff0000));
    EXPECT_EQ(shot->ReadPixel(2, 0), 0);   // outside the screen
}

TEST_F(Vel2DState, NoCurrentGraphicsIsAnError) {
    ShutDownGraphics();
    EXPECT_FALSE(TVel2DGraphics::Current());
    EXPECT_THROW(SetDrawColor(1, 2, 3), TRuntimeException);
    EXPECT_THROW(FillRect(0, 0, 1, 1), TRuntimeException);
    EXPECT_THROW(GetDrawFont(), TRuntimeException);

    // Closing the current context directly stops drawing into it as well.
    Ref<TGraphics> g = OpenGraphics(100, 100, 0, 0, 0);
    ASSERT_TRUE(TVel2DGraphics::Current());
    g->Close();
    EXPECT_FALSE(TVel2DGraphics::Current());
    EXPECT_FALSE(CurrentVel2DDriver());
    EXPECT_THROW(FillRect(0, 0, 1, 1), TRuntimeException);
}

}  // namespace
}  // namespace vantrel
