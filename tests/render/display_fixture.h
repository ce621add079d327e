// Shared set-up of the display tests: the runtime and the OpenGL 2D driver
// are started once per test program; every test gets a fresh 800 x 600
// window (so a fresh drawing state) cleared to black, and reads the back
// buffer through GrabScreenPixmap.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include <vantrel/render/gl/gl_vel2d_driver_impl.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/program.h>

namespace vantrel::testing {

inline void StartDisplayTests() {
    static bool started = false;
    if (started) return;
    started = true;
    static char arg0[] = "test_render";
    static char* argv[] = {arg0, nullptr};
    StartRuntime(1, argv, false);
    SetAppTitle("Display test");
    InitGLVel2DModule();
}

// The OpenGL 2D driver with its own settings (SetSkipTransparent, ResetGLContext).
inline Ref<TGLVel2DDriver> GLDriver() { return Cast<TGLVel2DDriver>(GLVel2DDriverInstance()); }

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// The colour of the back buffer pixel at (x, y), top-left origin.
inline Rgb PixelAt(int x, int y) {
    int argb = GrabScreenPixmap(x, y, 1, 1)->ReadPixel(0, 0);
    return {(argb >> 16) & 255, (argb >> 8) & 255, argb & 255};
}

inline bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

class DisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartDisplayTests(); }

    void SetUp() override {
        SelectGraphicsDriver(GLVel2DDriverInstance(), GraphicsBackBuffer);
        graphics = OpenGraphics(800, 600, 0, 0, 0);
        ASSERT_TRUE(graphics) << "no OpenGL graphics";
        ClearCanvas();
    }

    void TearDown() override { ShutDownGraphics(); }

    Ref<TGraphics> graphics;
};

}  // namespace vantrel::testing
