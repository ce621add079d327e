// Opens 2D graphics on the recording driver, so drawing code runs with no
// display, and closes them again after each test.
#pragma once

#include <gtest/gtest.h>

#include <vantrel/render/graphics.h>
#include <vantrel/render/recording_driver.h>
#include <vantrel/render/vel2d.h>

namespace vantrel {

class RecordingGraphicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartVel2DModule();
        driver = MakeRef<TRecordingVel2DDriver>();
        SelectGraphicsDriver(driver, 0);
        graphics = Cast<TVel2DGraphics>(OpenGraphics(800, 600, 0, 0, 0));
        ASSERT_TRUE(graphics);
        driver->ClearCalls();
    }

    void TearDown() override {
        ShutDownGraphics();
        SelectGraphicsDriver(nullptr, 0);
    }

    // The screen rectangle covered by the four corners of the last DrawRect,
    // as the driver transforms them.
    void LastRectBounds(float& left, float& top, float& right, float& bottom) const {
        const DriverCall& c = driver->Last("DrawRect");
        left = top = 1e30f;
        right = bottom = -1e30f;
        for (int corner = 0; corner < 4; ++corner) {
            float u = (corner == 1 || corner == 2) ? c.args[2] : c.args[0];
            float v = corner >= 2 ? c.args[3] : c.args[1];
            float x, y;
            driver->Transform(u, v, c.args[4], c.args[5], x, y);
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }

    Ref<TRecordingVel2DDriver> driver;
    Ref<TVel2DGraphics> graphics;
};

}  // namespace vantrel
