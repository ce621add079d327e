// Graphics contexts of the OpenGL driver: windows, modes, flips, full
// screen and foreign windows, on the test's X server.
#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_context.h>
#include <vantrel/render/gl/gl_graphics.h>
#include <vantrel/render/recording_driver.h>
#include <vantrel/system/event.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/system_driver.h>
#include "x11_helpers.h"

namespace vantrel::testing {
namespace {

SDL_Window* CurrentWindow() {
    GLContext* c = CurrentGLContext();
    return c ? c->window : nullptr;
}

class DisplayGraphics : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartDisplayTests(); }
    void SetUp() override { SelectGraphicsDriver(GLVel2DDriverInstance(), GraphicsBackBuffer); }
    void TearDown() override { ShutDownGraphics(); }
};

TEST_F(DisplayGraphics, WindowIsCentredCaptionedAndClassed) {
    Ref<TGraphics> g = OpenGraphics(800, 600, 0, 60, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(CurrentGraphics(), g);
    EXPECT_EQ(CurrentGraphicsWidth(), 800);
    EXPECT_EQ(CurrentGraphicsHeight(), 600);
    EXPECT_EQ(CurrentGraphicsDepth(), 0);
    EXPECT_EQ(CurrentGraphicsHertz(), 60);
    EXPECT_EQ(CurrentGraphicsFlags(), GraphicsBackBuffer);

    SDL_Window* window = CurrentWindow();
    ASSERT_NE(window, nullptr);
    int w = 0, h = 0, x = 0, y = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    SDL_GetWindowPosition(window, &x, &y);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(x, 1024 / 2 - 800 / 2);
    EXPECT_EQ(y, 768 / 2 - 600 / 2);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Display test");
    EXPECT_EQ(X11WindowClass(window), "Vantrel GLGraphics/Vantrel GLGraphics");
    int iconWidth = 0, iconHeight = 0;
    X11IconSize(window, iconWidth, iconHeight);
    EXPECT_EQ(iconWidth, 32);
    EXPECT_EQ(iconHeight, 32);
    int doubleBuffered = 0;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_EQ(doubleBuffered, 1);

    EXPECT_EQ(CentredWindow(1025, 769, 801, 601).left, 512 - 400);
    EXPECT_EQ(CentredWindow(1025, 769, 801, 601).top, 384 - 300);
}

TEST_F(DisplayGraphics, ReopeningClosesTheFirstWindowAndChangesTheSequence) {
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));
    Uint32 first = SDL_GetWindowID(CurrentWindow());
    int seq = GraphicsSeq();
    Ref<TGraphics> second = OpenGraphics(640, 480, 0, 0, 0);
    ASSERT_TRUE(second);
    EXPECT_EQ(SDL_GetWindowFromID(first), nullptr);
    EXPECT_NE(GraphicsSeq(), seq);
    EXPECT_EQ(CurrentGraphicsWidth(), 640);

    ShutDownGraphics();
    EXPECT_FALSE(CurrentGraphics());
    EXPECT_EQ(CurrentGraphicsWidth(), 0);
    EXPECT_EQ(CurrentGLContext(), nullptr);
    int w = -1, h = -1, d = -1, hz = -1, f = -1;
    second->GetSettings(w, h, d, hz, f);   // closed: inert
    EXPECT_EQ(Cast<TVel2DGraphics>(second)->_graphics, nullptr);
}

int flipHookCalls = 0;
Ref<Object> CountFlip(int, const Ref<Object>& data, const Ref<Object>&) {
    ++flipHookCalls;
    return data;
}

TEST_F(DisplayGraphics, FlipSetsSwapIntervalAndRunsTheFlipHook) {
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));
    InstallHook(FlipHookId(), CountFlip, nullptr, 0);
    flipHookCalls = 0;
    FlipGraphics(1);
    EXPECT_EQ(CurrentSwapInterval(), 1);
    FlipGraphics(0);
    EXPECT_EQ(CurrentSwapInterval(), 0);
    FlipGraphics(1);
    FlipGraphics(-1);   // windowed without a rate: no pacing, interval 0
    EXPECT_EQ(CurrentSwapInterval(), 0);
    EXPECT_EQ(flipHookCalls, 4);
    UninstallHook(FlipHookId(), CountFlip, nullptr);

    // Each context keeps its own interval.
    Ref<TGraphics> first = CurrentGraphics();
    Ref<TGraphics> second = NewGraphics(64, 64, 0, 0, 0);
    ASSERT_TRUE(second);
    MakeGraphicsCurrent(second);
    EXPECT_EQ(CurrentSwapInterval(), 0);   // the first activation flipped with 0
    FlipGraphics(1);
    EXPECT_EQ(CurrentSwapInterval(), 1);
    MakeGraphicsCurrent(first);
    EXPECT_EQ(CurrentSwapInterval(), 0);
    CloseGraphicsContext(second);

    // Flipping shows the drawing: the front buffer is the old back buffer.
    SetClearColor(0, 255, 0);
    ClearCanvas();
    FlipGraphics(0);
    SetClearColor(0, 0, 255);
    ClearCanvas();
    EXPECT_EQ(PixelAt(5, 5), (Rgb{0, 0, 255}));
}

TEST_F(DisplayGraphics, ModesAreListedOnceAndMatchedOnGivenFields) {
    GraphicsModeList modes = ListGraphicsModes();
    ASSERT_GT(modes->Length(), 0);
    EXPECT_EQ(GraphicsModeCount(), modes->Length());
    int w = 0, h = 0, d = 0, hz = 0;
    GetGraphicsModeInfo(0, w, h, d, hz);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(d, 32);
    EXPECT_EQ(HasGraphicsMode(0, 0, 32, 0), 1);
    EXPECT_EQ(HasGraphicsMode(1024, 768, 0, 0), 1);
    EXPECT_EQ(HasGraphicsMode(1024, 768, 8, 0), 0);
    EXPECT_EQ(HasGraphicsMode(333, 0, 0, 0), 0);
    (*modes)[0] = nullptr;   // a copy: the cached list is untouched
    EXPECT_TRUE((*ListGraphicsModes())[0]);
    EXPECT_THROW(GetGraphicsModeInfo(modes->Length(), w, h, d, hz), TArrayBoundsException);
    EXPECT_EQ(TGraphicsMode(800, 600, 32, 60).ToString().To8Bit(), "800,600,32 60Hz");
}

TEST(GraphicsModes, AreThoseOfTheDriverSelectedLast) {
    StartVel2DModule();
    auto first = MakeRef<TRecordingVel2DDriver>();
    auto second = MakeRef<TRecordingVel2DDriver>();
    second->modes = ArrayOf<Ref<TGraphicsMode>>({MakeRef<TGraphicsMode>(320, 200, 8, 70)});
    SelectGraphicsDriver(first, 0);
    EXPECT_EQ(GraphicsModeCount(), first->modes->Length());
    SelectGraphicsDriver(second, 0);
    EXPECT_EQ(GraphicsModeCount(), 1);
    int w = 0, h = 0, d = 0, hz = 0;
    GetGraphicsModeInfo(0, w, h, d, hz);
    EXPECT_EQ((std::vector{w, h, d, hz}), (std::vector{320, 200, 8, 70}));
    EXPECT_EQ(HasGraphicsMode(320, 200, 8, 70), 1);
    EXPECT_EQ(HasGraphicsMode(640, 480, 0, 0), 0);
    SelectGraphicsDriver(nullptr, 0);
}

TEST_F(DisplayGraphics, FullScreenFallsBackToAnyRateAndRefusesUnknownModes) {
    // The test server's only mode has no 75 Hz: opened without the rate.
    Ref<TGraphics> g = OpenGraphics(1024, 768, 32, 75, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(CurrentGraphicsDepth(), 32);
    EXPECT_NE(SDL_GetWindowFlags(CurrentWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(CurrentSwapInterval(), 0);
    SetClearColor(255, 0, 0);
    ClearCanvas();
    EXPECT_EQ(PixelAt(1023, 767), (Rgb{255, 0, 0}));

    // No such mode: Null, and the earlier graphics stay closed.
    EXPECT_FALSE(OpenGraphics(640, 480, 32, 0, 0));
    EXPECT_FALSE(CurrentGraphics());
    EXPECT_EQ(CurrentGLContext(), nullptr);
}

void PushWindowEvent(Uint8 what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    e.window.windowID = SDL_GetWindowID(CurrentWindow());
    SDL_PushEvent(&e);
    PumpSystemEvents();
}

int terminateEvents = 0;
Ref<Object> CountTerminates(int, const Ref<Object>& data, const Ref<Object>&) {
    TEvent* e = dynamic_cast<TEvent*>(data.get());
    if (e && e->id == EventId::AppTerminate) ++terminateEvents;
    return data;
}

// A window manager that gives the window another size: the program keeps
// its size and its pixels, the window shows them letterboxed, and pointer
// positions come back in the program's points.
TEST_F(DisplayGraphics, AResizedWindowShowsTheProgramsPictureLetterboxed) {
    ASSERT_TRUE(OpenGraphics(800, 600, 0, 0, 0));
    SDL_Window* window = CurrentWindow();
    SDL_SetWindowPosition(window, 0, 0);    // all of it on the 1024 x 768 screen
    SDL_SetWindowSize(window, 1000, 720);   // wider: the picture 960 x 720 at x 20
    int w = 0, h = 0;
    for (int i = 0; i < 500 && h != 720; ++i) {
        SDL_Delay(10);
        PumpSystemEvents();
        SDL_GL_GetDrawableSize(window, &w, &h);
    }
    ASSERT_EQ(h, 720);
    EXPECT_EQ(CurrentGraphicsWidth(), 800);
    EXPECT_EQ(CurrentGraphicsHeight(), 600);

    auto draw = [] {
        SetClearColor(255, 0, 0);
        ClearCanvas();
        SetDrawColor(0, 0, 255);
        FillRect(0, 0, 400, 600);   // the left half blue
    };
    draw();
    EXPECT_EQ(PixelAt(399, 599), (Rgb{0, 0, 255}));   // pixels read back are the program's
    EXPECT_EQ(PixelAt(400, 599), (Rgb{255, 0, 0}));
    // On a busy machine the window system may take the new size a few frames
    // late: the frame is shown again until the screen holds it.
    for (int frame = 0; frame < 50; ++frame) {
        FlipGraphics(0);
        SDL_Delay(100);
        PumpSystemEvents();
        if (X11WindowPixel(window, 25, 700) == 0x0000FF && X11WindowPixel(window, 975, 10) == 0xFF0000) break;
        draw();
    }
    EXPECT_EQ(X11WindowPixel(window, 5, 700), 0x000000) << "the left bar";
    EXPECT_EQ(X11WindowPixel(window, 995, 10), 0x000000) << "the right bar";
    EXPECT_EQ(X11WindowPixel(window, 25, 700), 0x0000FF);
    EXPECT_EQ(X11WindowPixel(window, 975, 10), 0xFF0000);

    StartPolledInputModule();
    AttachPolledInput(nullptr);
    SDL_WarpMouseInWindow(window, 20 + 480, 360);   // the picture's centre
    for (int i = 0; i < 200 && (PointerX() != 400 || PointerY() != 300); ++i) {
        SDL_Delay(10);
        PumpSystemEvents();
    }
    EXPECT_EQ(PointerX(), 400);
    EXPECT_EQ(PointerY(), 300);
    DetachPolledInput();
}

TEST_F(DisplayGraphics, ClosingTheWindowIsOneTerminateRequestThatKeepsTheWindow) {
    ASSERT_TRUE(OpenGraphics(320, 200, 0, 0, 0));
    TakeTerminateRequest();
    InstallHook(EventHookId, CountTerminates, nullptr, 0);
    terminateEvents = 0;
    RequestX11Close(CurrentWindow());
    for (int i = 0; i < 500 && terminateEvents == 0; ++i) {
        SDL_Delay(10);
        PumpSystemEvents();
    }
    PumpSystemEvents();   // anything SDL queued behind the close
    UninstallHook(EventHookId, CountTerminates, nullptr);
    EXPECT_EQ(terminateEvents, 1);
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_NE(CurrentWindow(), nullptr);
}

TEST_F(DisplayGraphics, FullScreenWindowGivesUpTheModeWithTheFocus) {
    ASSERT_TRUE(OpenGraphics(1024, 768, 32, 0, 0));
    SDL_Window* window = CurrentWindow();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(DisplayGraphics, AttachesToAForeignWindowAndLeavesItOpen) {
    ForeignX11Window window(320, 240);
    ASSERT_GT(window.ServerWidth(), 0);

    Ref<TGraphics> g = AttachGraphicsToWindow(window.Handle(), 0);
    ASSERT_TRUE(g);
    MakeGraphicsCurrent(g);
    EXPECT_EQ(CurrentGraphicsWidth(), 320);
    EXPECT_EQ(CurrentGraphicsHeight(), 240);
    EXPECT_EQ(CurrentGraphicsDepth(), 0);
    SetDrawColor(0, 0, 255);
    FillRect(10, 10, 10, 10);
    EXPECT_EQ(PixelAt(15, 15), (Rgb{0, 0, 255}));
    CloseGraphicsContext(g);
    EXPECT_FALSE(CurrentGraphics());

    EXPECT_EQ(window.ServerWidth(), 320);   // still there
    EXPECT_FALSE(AttachGraphicsToWindow(0, 0));
}

// Without a display no window opens, unless a driver that draws unseen is
// asked for by name.
TEST(DisplayGraphicsFailure, NoDisplayGivesNullGraphics) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* display;  // nullptr: unset
        const char* videoDriver;
        int opens;
    } cases[] = {
        {":4099", "x11", 0},
        {":4099", nullptr, 0},
        {nullptr, nullptr, 0},
        {nullptr, "offscreen", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (c.display) setenv("DISPLAY", c.display, 1); else unsetenv("DISPLAY");
                if (c.videoDriver) setenv("SDL_VIDEODRIVER", c.videoDriver, 1); else unsetenv("SDL_VIDEODRIVER");
                StartDisplayTests();
                std::exit(OpenGraphics(800, 600, 0, 60, 0) ? 1 : 0);
            },
            ::testing::ExitedWithCode(c.opens), "")
            << (c.display ? c.display : "no DISPLAY") << ", " << (c.videoDriver ? c.videoDriver : "no driver");
    }
}

TEST(GraphicsPixelFormat, FlagsAskForTheirBuffers) {
    PixelFormatRequest none = PixelFormatFor(0);
    EXPECT_EQ(none.doubleBuffer, 0);
    EXPECT_EQ(none.colorBits, 1);
    EXPECT_EQ(none.alphaBits + none.depthBits + none.stencilBits + none.accumBits, 0);
    PixelFormatRequest all = PixelFormatFor(GraphicsBackBuffer | GraphicsAlphaBuffer | GraphicsDepthBuffer |
                                            GraphicsStencilBuffer | GraphicsAccumBuffer);
    EXPECT_EQ(all.doubleBuffer, 1);
    EXPECT_EQ(all.alphaBits, 1);
    EXPECT_EQ(all.depthBits, 1);
    EXPECT_EQ(all.stencilBits, 1);
    EXPECT_EQ(all.accumBits, 1);
    EXPECT_EQ(PixelFormatFor(GraphicsDepthBuffer).stencilBits, 0);
}

}  // namespace
}  // namespace vantrel::testing
