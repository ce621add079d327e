// The Windows window class of the OpenGL driver's windows (Windows only).
#include <SDL.h>
#include <SDL_syswm.h>

#include <windows.h>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_context.h>
#include <vantrel/render/gl/gl_graphics.h>

namespace vantrel::testing {
namespace {

TEST(DisplayWindowClass, WindowsAreOfTheClassVantrelGLGraphics) {
    StartDisplayTests();
    SelectGraphicsDriver(GLVel2DDriverInstance(), GraphicsBackBuffer);
    Ref<TGraphics> g = OpenGraphics(320, 240, 0, 60, 0);
    ASSERT_TRUE(g);
    GLContext* c = CurrentGLContext();
    ASSERT_NE(c, nullptr);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(c->window, &info));
    HWND window = info.info.win.window;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"Vantrel GLGraphics");
    const auto style = GetClassLongPtrW(window, GCL_STYLE);
    EXPECT_EQ(style & (CS_HREDRAW | CS_VREDRAW | CS_OWNDC), ULONG_PTR(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    // The test program has no icon resource 101: the built-in icon is set.
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    ShutDownGraphics();
}

}  // namespace
}  // namespace vantrel::testing
