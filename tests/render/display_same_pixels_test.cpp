// Leaving out what alpha and additive blending cannot change must leave the
// screen exactly as drawing everything does: the game's own frames and a set
// of images in every blend mode and transform, drawn with the skipping on
// and off, read back and compared pixel by pixel.
#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "display_fixture.h"
#include <vantrel/render/gl/gl_alpha_coverage.h>
#include <vantrel/render/gl/gl_visible_area.h>
#include <vantrel/render/image.h>
#include <vantrel/system/hook.h>
#include "tests/game/game_fixture.h"

namespace vantrel::testing {
namespace {

using DisplaySamePixels = DisplayTest;

// A rasteriser may step a texture coordinate from the scissor box's edge
// and round a channel the other way: up to 1 in a few pixels of a window
// is the same picture; anything more is a fault.
constexpr int kFewPixels = 800 * 600 / 500;

// How many pixels of two 800 x 600 read-backs differ, and by how much at most
// in one channel.
struct Difference {
    int pixels = 0;
    int most = 0;
};

Difference Compare(const Ref<TPixmap>& a, const Ref<TPixmap>& b) {
    Difference d;
    for (int y = 0; y < 600; ++y) {
        const uint8_t* p = a->PixelPtr(0, y);
        const uint8_t* q = b->PixelPtr(0, y);
        for (int x = 0; x < 800 * 4; x += 4) {
            int most = 0;
            for (int c = 0; c < 4; ++c) most = std::max(most, std::abs(p[x + c] - q[x + c]));
            d.pixels += most > 0;
            d.most = std::max(d.most, most);
        }
    }
    return d;
}

void ExpectSame(const Difference& d, const std::string& what) {
    std::printf("%s: %d pixels differ, by at most %d\n", what.c_str(), d.pixels, d.most);
    EXPECT_LE(d.most, 1) << what;
    EXPECT_LE(d.pixels, kFewPixels) << what;
}

// Draws the scene with skipping on, then off, and compares the read-backs.
Difference DrawBothWays(const std::function<void()>& scene) {
    Ref<TPixmap> shots[2];
    for (bool skip : {true, false}) {
        GLDriver()->SetSkipTransparent(skip);
        ClearCanvas();
        scene();
        shots[skip ? 0 : 1] = GrabScreenPixmap(0, 0, 800, 600);
    }
    GLDriver()->SetSkipTransparent(true);
    return Compare(shots[0], shots[1]);
}

// Mostly transparent: a soft spot, a one-texel dot, a thin line and an
// opaque block against the right edge, which the padding repeats.
Ref<TPixmap> SparsePicture() {
    Ref<TPixmap> p = NewPixmap(100, 70, FormatRGBA8888, 4);
    p->ClearPixels(0);
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 100; ++x) {
            int dx = x - 20, dy = y - 15, d2 = dx * dx + dy * dy;
            int alpha = 0;
            if (d2 < 100) alpha = 255 - d2 * 2;
            if (x == 60 && y == 40) alpha = 1;
            if (y == 55 && x > 10 && x < 50) alpha = 200;
            if (x >= 94 && y >= 30 && y < 38) alpha = 255;
            if (alpha) p->WritePixel(x, y, alpha << 24 | (x * 2) << 16 | (y * 3) << 8 | 0x40);
        }
    }
    return p;
}

TEST_F(DisplaySamePixels, ImagesInEveryBlendModeAndTransform) {
    std::vector<Ref<TImage>> images;
    for (int flags : {ImageFiltered, ImageFiltered | ImageMipmapped, 0}) {
        Ref<TImage> image = NewImage(100, 70, 1, flags);
        LockImagePixels(image)->Paste(SparsePicture(), 0, 0);
        images.push_back(image);
    }
    SetClearColor(40, 90, 150);
    auto scene = [&] {
        int n = 0;
        for (int mode : {BlendMasked, BlendSolid, BlendAlpha, BlendAdditive, BlendMultiply}) {
            SetBlendMode(mode);
            for (float rotation : {0.0f, 30.0f, 90.0f, 173.5f}) {
                for (auto [sx, sy] : {std::pair{1.0f, 1.0f}, {0.37f, 0.37f}, {2.5f, 1.5f}, {-1.0f, 0.75f}}) {
                    const Ref<TImage>& image = images[n % images.size()];
                    SetImageHandleAt(image, (n % 3) * 23.5f, (n % 3) * 17.25f);
                    SetDrawTransform(rotation, sx, sy);
                    SetDrawColor(255, 200 + n % 56, 120 + n % 136);
                    SetDrawAlpha(n % 4 == 0 ? 0.6f : 1.0f);
                    DrawImageAt(image, static_cast<float>((n * 157) % 760) + 0.3f,
                                static_cast<float>((n * 89) % 560) + 0.6f);
                    ++n;
                }
            }
        }
        SetDrawTransform(0, 1, 1);
        SetBlendMode(BlendAlpha);
        DrawImageRegion(images[0], 611.5f, 17, 150, 90, 5, 2, 60, 45, 0, 0);
    };
    ExpectSame(DrawBothWays(scene), "whole window");
    SetClipViewport(130, 70, 420, 333);
    ExpectSame(DrawBothWays(scene), "clipped by the viewport");
    SetClipViewport(0, 0, 640, 480);
    SetLogicalResolution(640, 480);
    ExpectSame(DrawBothWays(scene), "logical resolution 640 x 480");
}

TEST_F(DisplaySamePixels, AnImageDrawnClippedThenUnclippedShowsAllOfItself) {
    // What a quad leaves out depends on the viewport as well as on the quad:
    // the same quad drawn again once the viewport has widened must not keep
    // what was left out for the narrower one.
    Ref<TImage> image = NewImage(100, 70, 1, ImageFiltered);
    LockImagePixels(image)->Paste(SparsePicture(), 0, 0);
    SetBlendMode(BlendAlpha);
    SetDrawTransform(0, 3, 3);
    auto scene = [&] {
        SetClipViewport(0, 0, 250, 600);
        DrawImageAt(image, 150, 150);
        SetClipViewport(0, 0, 800, 600);
        DrawImageAt(image, 150, 150);
    };
    ExpectSame(DrawBothWays(scene), "clipped, then the whole window");
}

std::unique_ptr<GLAlphaCoverage> CoverageOf(std::initializer_list<std::pair<int, int>> texels, int level = 0) {
    int size = 64 >> level;
    Ref<TPixmap> p = NewPixmap(size, size, FormatRGBA8888, 4);
    p->ClearPixels(0);
    for (auto [x, y] : texels) p->WritePixel(x, y, 0x01000000);
    auto c = std::make_unique<GLAlphaCoverage>(64, 64);
    c->AddLevel(*p, level);
    c->Finish();
    return c;
}

// Linear filtering reads a texel's neighbours up to 1.5 texels away, and a
// coarser level's texel from everywhere under it and its neighbours.
TEST(SamePixelsAlphaCoverage, ReachesWhatFilteringReads) {
    struct Case {
        std::pair<int, int> texel;
        int level;
        double s0, t0, s1, t1;
        bool reachable;
    } cases[] = {
        {{44, 10}, 0, 43.6, 10.0, 43.9, 10.5, true},    // left neighbour, across a block edge
        {{43, 10}, 0, 44.0, 10.0, 44.4, 10.5, true},    // right neighbour, across a block edge
        {{20, 12}, 0, 20.0, 11.5, 20.5, 11.9, true},    // the row above
        {{20, 12}, 0, 20.0, 5.0, 20.5, 7.9, false},
        {{20, 12}, 0, 28.0, 12.0, 40.0, 12.5, false},
        {{5, 0}, 2, 27.5, 0.0, 27.9, 0.5, true},         // under the neighbour of a level-2 texel
        {{5, 0}, 2, 28.2, 0.0, 35.0, 0.5, false},
        {{5, 0}, 2, -3.0, 0.0, 15.9, 0.5, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CoverageOf({c.texel}, c.level)->Reachable(c.s0, c.t0, c.s1, c.t1), c.reachable)
            << "texel " << c.texel.first << ", " << c.texel.second << " of level " << c.level << ", samples "
            << c.s0 << ".." << c.s1 << " x " << c.t0 << ".." << c.t1;
    }
}

// Where a 64 x 64 texture with one texel of alpha above 0 can change the
// screen, drawn at twice its size with its corner at (100, 100).
TEST(SamePixelsVisibleArea, CutsAroundWhatCanChange) {
    GLTexturedQuad quad{2, 0, 0, 2, 100, 100, 0, 0, 64, 64, 0, 0, 64, 64};
    const GLWindowRect window{0, 0, 800, 600};
    std::vector<GLWindowRect> rects;
    EXPECT_EQ(FindVisibleArea(quad, *CoverageOf({}), window, rects), GLVisibleArea::Nothing);

    // Texel (40, 10) blends into pixels 179..182 of rows 119..122.
    ASSERT_EQ(FindVisibleArea(quad, *CoverageOf({{40, 10}}), window, rects), GLVisibleArea::Parts);
    int area = 0;
    for (int px : {179, 182}) {
        for (int py : {119, 122}) {
            bool inside = false;
            for (const GLWindowRect& r : rects) {
                inside |= px >= r.x && px < r.x + r.width && py >= r.y && py < r.y + r.height;
            }
            EXPECT_TRUE(inside) << "pixel " << px << ", " << py;
        }
    }
    for (const GLWindowRect& r : rects) area += r.width * r.height;
    EXPECT_LE(area, 2 * 16 * 16);

    // A viewport away from the texel leaves nothing to draw.
    EXPECT_EQ(FindVisibleArea(quad, *CoverageOf({{40, 10}}), {100, 160, 128, 68}, rects), GLVisibleArea::Nothing);
}

// The game's frames are read back at the flip, before the buffers swap.
class SamePixelsGame : public DisplayTest {
protected:
    void SetUp() override {
        StartDisplayTests();
        ASSERT_EQ(chdir(VANTREL_BUILD_DIR "/game"), 0) << "the game's build folder holds the assets";
        qirn::StartGameModules();
        SelectGraphicsDriver(GLVel2DDriverInstance(), 2);
        graphics = OpenGraphics(800, 600, 0, 60, 0);
        ASSERT_TRUE(graphics) << "no OpenGL graphics";
        qirn::LoadImages();
        SelectAudioDriver("Null");
        qirn::Sound::LoadFiles();
        InstallHook(FlipHookId(), &Capture, nullptr, 0);
    }
    void TearDown() override {
        UninstallHook(FlipHookId(), &Capture, nullptr);
        DisplayTest::TearDown();
    }

    static Ref<Object> Capture(int, const Ref<Object>& data, const Ref<Object>&) {
        if (capturing) captured = GrabScreenPixmap(0, 0, 800, 600);
        return data;
    }

    // Plays the same scripted run: the title, a run in which the first shot
    // gets through (a shockwave, a swapped direction) and the second ends
    // it, and the game-over screen. Returns the frames read back, by number,
    // and what each of them shows.
    std::map<int, Ref<TPixmap>> Play(std::map<int, std::string>& shows) {
        using namespace qirn;
        qirn::testing::ResetGame();
        // Three ticks a frame: the same screens in fewer frames.
        tickDelta = 3;
        std::map<int, Ref<TPixmap>> frames;
        for (int frame = 0; frame < 700 && !(Game::state == Game::StateGameOver && Game::fade == 1.0); ++frame) {
            if (Game::state == Game::StateMenu && Game::fade == 1.0) {
                MakeEvent(EventId::KeyDown, CurrentGraphics(), 87, 0, 0, 0, nullptr)->Emit();
                MakeEvent(EventId::KeyUp, CurrentGraphics(), 87, 0, 0, 0, nullptr)->Emit();
            }
            if (Game::state == Game::StatePlay && Player::health > 2) Player::health = 2;
            capturing = frame % 12 == 0 || (Game::state == Game::StateMenu && Game::fade == 1.0);
            RunFrame();
            ticks += tickDelta;
            if (!capturing) continue;
            frames[frame] = captured;
            if (shows.count(frame)) continue;
            std::string& what = shows[frame];
            if (Game::state == Game::StateMenu) what += "title ";
            if (Game::state == Game::StateGameOver) what += "game over ";
            if (Shot::list->Count() > 0) what += "shots ";
            if (Shockwave::list->Count() > 0) what += "shockwave ";
            if (Shield::rest >= 0) what += "swapped ";
        }
        capturing = false;
        return frames;
    }

    static inline bool capturing = false;
    static inline Ref<TPixmap> captured;
};

TEST_F(SamePixelsGame, TitlePlayAndGameOver) {
    std::map<int, std::string> shows;
    GLDriver()->SetSkipTransparent(true);
    std::map<int, Ref<TPixmap>> skipped = Play(shows);
    GLDriver()->SetSkipTransparent(false);
    std::map<int, Ref<TPixmap>> whole = Play(shows);
    GLDriver()->SetSkipTransparent(true);

    std::string seen;
    for (const auto& [frame, what] : shows) seen += what;
    for (const char* what : {"title", "shots", "shockwave", "swapped", "game over"}) {
        EXPECT_NE(seen.find(what), std::string::npos) << "no frame shows " << what;
    }
    ASSERT_EQ(skipped.size(), whole.size());
    for (const auto& [frame, p] : skipped) {
        ASSERT_TRUE(p && whole[frame]) << "frame " << frame;
        ExpectSame(Compare(p, whole[frame]), "frame " + std::to_string(frame) + " (" + shows[frame] + ")");
    }
}

}  // namespace
}  // namespace vantrel::testing
