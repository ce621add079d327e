#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "game_fixture.h"
#include "tests/resources/memory_stream.h"

namespace qirn::testing {
namespace {

// ---- screens ------------------------------------------------------------------

TEST_F(GameTest, FirstFrameDrawsTheTitleFadingInAndTheCellsGrowing) {
    Frame();
    EXPECT_DOUBLE_EQ(Game::fade, 0.02);
    EXPECT_DOUBLE_EQ(Background::zoom, 0.04);
    EXPECT_EQ(Game::state, Game::StateMenu);
    EXPECT_EQ(DrawsOf(Menu::button1).size(), 2u);
    EXPECT_EQ(DrawsOf(Background::img).size(), 520u);
    EXPECT_EQ(driver->Count("Flip"), 1);
    EXPECT_FLOAT_EQ(driver->Last("SetAlpha").args[0], 0.02f);
}

TEST_F(GameTest, WBeforeTheMenuIsFullyShownIsLost) {
    Frame(10);
    Tap(87);
    Frame();
    EXPECT_EQ(Game::nextState, Game::StateMenu);
    ShowMenu();
    EXPECT_EQ(Game::nextState, Game::StateMenu) << "the early press is not remembered";
    Tap(87);
    Frame();
    EXPECT_EQ(Game::nextState, Game::StatePlay);
    EXPECT_EQ(Player::health, 12);
    EXPECT_EQ(Level::number, 1);
    EXPECT_EQ(Background::target, 1);
}

TEST_F(GameTest, EscapeDuringPlayReturnsToTheMenuAndDropsTheRun) {
    StartRun();
    while (Shot::list->IsEmpty()) Frame();
    Tap(27);
    Frame();
    EXPECT_EQ(Game::nextState, Game::StateMenu);
    EXPECT_TRUE(Shot::list->IsEmpty());
    EXPECT_FALSE(Game::level);
    EXPECT_EQ(Background::target, 0);
    EXPECT_EQ(((Color::fromHue + Color::deltaHue) % 360 + 360) % 360, 230) << "hue turns towards 230";
    EXPECT_EQ(Color::endTick, ticks - 1 + 100);
}

TEST_F(GameTest, SoundToggleFollowsTheKeyAtAnyFade) {
    Frame();
    Tap(83);
    Frame();
    EXPECT_EQ(Sound::on, 0);
    Tap(83);
    Tap(83);  // two presses between the same two frames toggle once
    Frame();
    EXPECT_EQ(Sound::on, 1);
}

// ---- levels, sequences and shots ------------------------------------------------

TEST_F(GameTest, LevelOneFiresEveryThirtyTicksAndPausesFiftyBetweenSequences) {
    StartRun();
    int created = ticks - 1;
    Ref<Sequence> seq;
    std::vector<int> fired;
    while (!seq || static_cast<int>(fired.size()) < seq->l) {
        int frameTick = ticks;
        Frame();
        if (!seq && Game::level->seq) seq = Game::level->seq;
        if (seq && seq->i > static_cast<int>(fired.size())) fired.push_back(frameTick);
        ASSERT_LT(ticks, created + 1000);
    }
    EXPECT_EQ(fired.front(), created + 100) << "the first sequence starts 100 ticks after its level";
    for (size_t k = 1; k < fired.size(); ++k) EXPECT_EQ(fired[k] - fired[k - 1], 30);
    while (!Game::level->seq) Frame();
    EXPECT_EQ(ticks - 1, fired.back() + 50) << "the next sequence starts 50 ticks after the last shot";
    EXPECT_NE(Game::level->seq, seq);
    EXPECT_EQ(Game::level->sCnt, 2);
}

TEST_F(GameTest, ShotsFlyStraightAtTheCentre) {
    Level::number = 1;
    Ref<Shot> up = Shot::Create(0, nullptr);
    EXPECT_DOUBLE_EQ(up->x, 400);
    EXPECT_DOUBLE_EQ(up->y, 10);
    EXPECT_NEAR(up->vx, 0, 1e-15);
    EXPECT_DOUBLE_EQ(up->vy, static_cast<double>(1.8f));
    Ref<Shot> right = Shot::Create(2, nullptr);
    EXPECT_DOUBLE_EQ(right->x, 690);
    EXPECT_NEAR(right->y, 300, 1e-12);
    EXPECT_DOUBLE_EQ(right->vx, -static_cast<double>(1.8f));
    // e times faster every 15 levels, and smoothly in between.
    for (auto [level, speed] : {std::pair{8, 2.87041}, {16, 4.89291}}) {
        Level::number = level;
        EXPECT_NEAR(Shot::Create(4, nullptr)->vy, -speed, 1e-4) << "level " << level;
    }
    Shot::Clear();
}

class ShotWindow : public GameTest {
protected:
    // A level-1 shot from direction 0 of a one-shot sequence, not the last.
    Ref<Shot> Fire() {
        Level::number = 1;
        Game::state = Game::nextState = Game::StatePlay;
        Player::health = 12;
        auto level = MakeRef<Level>();
        auto seq = MakeRef<Sequence>();
        seq->lvl = level;
        return Shot::Create(0, seq);
    }
    // Runs the shot walk step times with the shield at position.
    void Steps(int count, int position) {
        for (int i = 0; i < count; ++i) {
            Shield::position = position;
            Shot::Update();
        }
    }
};

TEST_F(ShotWindow, CanBeBlockedFromStep99Through137) {
    for (int step : {99, 120, 137}) {
        Shot::Clear();
        Game::score = 0;
        Fire();
        Steps(step - 1, -1);
        ASSERT_EQ(Shot::list->Count(), 1) << "still flying before step " << step;
        Steps(1, 0);
        EXPECT_EQ(Game::score, 1) << "blocked on step " << step;
        EXPECT_TRUE(Shot::list->IsEmpty());
        EXPECT_EQ(Player::health, 12);
    }
    Shot::Clear();
    Game::score = 0;
    Fire();
    Steps(97, -1);
    Steps(1, 0);
    EXPECT_EQ(Game::score, 0) << "step 98 is still outside the blocking distance";
}

TEST_F(ShotWindow, GetsThroughAtStep137WhenNotBlocked) {
    Ref<Shot> shot = Fire();
    Steps(136, 4);
    EXPECT_EQ(Shot::list->Count(), 1);
    Steps(1, 4);
    EXPECT_TRUE(Shot::list->IsEmpty());
    EXPECT_EQ(Player::health, 11);
    EXPECT_EQ(shot->seq->miss, 1);
    EXPECT_EQ(shot->seq->lvl->miss, 1);
    EXPECT_GE(Shield::rest, 0);
    EXPECT_EQ(Background::target, Shield::rest + 2);
    EXPECT_EQ(Shockwave::list->Count(), 1);
}

TEST_F(GameTest, ShotsFastEnoughToStepOverTheCentreAreStillResolved) {
    for (int level : {63, 70, 90}) {
        SetUp();
        Game::state = Game::nextState = Game::StatePlay;
        Game::fade = 1.0;
        Level::number = level;
        Player::health = 12;
        // Frames ten ticks apart cut the waits between sequences short;
        // shots still take one step a frame.
        tickDelta = 10;
        Press(87);  // the shield stays up above
        int frames = 0;
        while (Game::nextState != Game::StateGameOver && frames < 300) {
            Frame();
            ++frames;
        }
        EXPECT_EQ(Game::nextState, Game::StateGameOver) << "level " << level;
        EXPECT_EQ(Level::number, level);
        EXPECT_GT(Game::score, 0) << "shots from above are blocked at level " << level;
        Release(87);
    }
}

TEST_F(GameTest, ThePreviousFramesShieldPositionDecides) {
    Game::state = Game::nextState = Game::StatePlay;
    Game::fade = 1.0;
    Game::levelTick = 1 << 30;
    Level::number = 1;
    Player::health = 12;
    auto seq = MakeRef<Sequence>();
    seq->lvl = MakeRef<Level>();
    Ref<Shot> late = Shot::Create(0, seq);
    late->y = 300 - 46;  // its next step ends inside the hit distance
    Shield::position = -1;
    Press(87);
    Frame();
    EXPECT_EQ(Player::health, 11) << "W pressed in the shot's last frame is too late";
    EXPECT_EQ(Shield::position, 0);
    Ref<Shot> early = Shot::Create(0, seq);
    early->y = 300 - 100;
    Frame();
    EXPECT_EQ(Game::score, 1) << "with the shield up since the frame before, the shot is blocked";
    EXPECT_EQ(Player::health, 11);
}

TEST_F(GameTest, ACleanSequenceRestoresTheSwappedKeys) {
    auto level = MakeRef<Level>();
    auto seq = MakeRef<Sequence>();
    seq->lvl = level;
    Shield::rest = 5;
    Background::target = 7;
    seq->Finish();
    EXPECT_EQ(Shield::rest, -1);
    EXPECT_EQ(Background::target, 1);
    Shield::rest = 5;
    seq->miss = 1;
    seq->Finish();
    EXPECT_EQ(Shield::rest, 5) << "a sequence with a miss keeps the swap";
}

TEST_F(GameTest, ACleanLevelGivesBackOneHealthUpToTwelve) {
    for (auto [before, miss, after] : {std::tuple{11, 0, 12}, {12, 0, 12}, {5, 1, 5}}) {
        auto level = MakeRef<Level>();
        Game::level = level;
        auto seq = MakeRef<Sequence>();
        seq->lvl = level;
        seq->last = 1;
        level->miss = miss;
        Player::health = before;
        Level::number = 3;
        ticks = 500;
        seq->Finish();
        EXPECT_EQ(Player::health, after);
        EXPECT_EQ(Level::number, 4);
        EXPECT_FALSE(Game::level);
        EXPECT_EQ(Game::levelTick, 510);
    }
}

TEST_F(GameTest, TheLastHealthPointEndsTheRunAndStopsTheWalk) {
    Level::number = 1;
    Game::state = Game::nextState = Game::StatePlay;
    Player::health = 1;
    auto level = MakeRef<Level>();
    Game::level = level;
    auto seq = MakeRef<Sequence>();
    seq->lvl = level;
    Ref<Shot> doomed = Shot::Create(0, seq);
    doomed->x = 400;
    doomed->y = 300 - 45;  // one step from the centre
    Ref<Shot> behind = Shot::Create(2, seq);
    Shield::position = -1;
    driver->ClearCalls();
    Shot::Update();
    EXPECT_EQ(Player::health, 0);
    EXPECT_EQ(Game::nextState, Game::StateGameOver);
    EXPECT_FALSE(Game::level);
    EXPECT_TRUE(Shot::list->IsEmpty());
    EXPECT_EQ(DrawsOf(Shot::img).size(), 1u) << "the shot after the fatal one is not drawn";
    EXPECT_DOUBLE_EQ(behind->x, 690) << "nor moved";
    EXPECT_EQ(((Color::fromHue + Color::deltaHue) % 360 + 360) % 360, 0) << "hue turns towards 0";
}

// ---- shield ----------------------------------------------------------------------

TEST_F(GameTest, ShieldPositionFollowsTheKeysAndTheSwap) {
    auto covered = [](int w, int a, int s, int d) {
        Key::w = w, Key::a = a, Key::s = s, Key::d = d;
        return Shield::GetPosition();
    };
    Shield::rest = -1;
    EXPECT_EQ(covered(1, 0, 0, 1), 1);
    EXPECT_EQ(covered(1, 0, 1, 0), -1);
    EXPECT_EQ(covered(0, 0, 0, 0), -1);
    EXPECT_EQ(covered(0, 1, 0, 0), 6);
    EXPECT_EQ(covered(1, 1, 0, 0), 7);
    Shield::rest = 4;
    EXPECT_EQ(covered(0, 0, 0, 0), 4);
    EXPECT_EQ(covered(0, 0, 1, 0), -1);
    EXPECT_EQ(covered(1, 0, 0, 0), 0);
    Key::w = Key::a = Key::s = Key::d = 0;
}

// ---- colour ---------------------------------------------------------------------

TEST_F(GameTest, HueChangesTakeTheShorterWay) {
    Color::baseHue = 350;
    Color::SetHue(10);
    EXPECT_EQ(Color::deltaHue, 20);
    for (ticks = 0; ticks <= 100; ++ticks) {
        Color::Update();
        if (ticks < 100) {
            EXPECT_TRUE(Color::baseHue >= 350 || Color::baseHue <= 10) << ticks;
        }
    }
    EXPECT_EQ(Color::baseHue, 370);
    Color::baseHue = 20;
    Color::SetHue(200);
    EXPECT_EQ(Color::deltaHue, 180);
    Color::baseHue = 200;
    Color::SetHue(20);
    EXPECT_EQ(Color::deltaHue, -180);
    for (int base = -400; base <= 400; base += 7) {
        for (int target = 0; target <= 360; target += 13) {
            Color::baseHue = base;
            Color::SetHue(target);
            EXPECT_EQ(((Color::deltaHue - (target - base)) % 360 + 360) % 360, 0);
            EXPECT_LE(std::abs(Color::deltaHue), 180);
        }
    }
}

TEST_F(GameTest, ColorSetTurnsHueIntoChannels) {
    struct Case { int hue, offset, sat, val, r, g, b; };
    for (Case c : {Case{0, 0, 255, 255, 255, 0, 0}, Case{60, 0, 255, 255, 255, 255, 0},
                   Case{120, 0, 255, 255, 0, 255, 0}, Case{0, 180, 255, 255, 0, 255, 255},
                   Case{77, 0, 0, 200, 200, 200, 200}, Case{300, 0, 0, 200, 200, 200, 200}}) {
        Color::hue = c.hue;
        Color::Set(c.offset, c.sat, c.val);
        int r, g, b;
        GetDrawColor(r, g, b);
        EXPECT_EQ(r, c.r) << c.hue;
        EXPECT_EQ(g, c.g) << c.hue;
        EXPECT_EQ(b, c.b) << c.hue;
        GetClearColor(r, g, b);
        EXPECT_EQ(r, c.r);
    }
}

// ---- text ------------------------------------------------------------------------

TEST_F(GameTest, FontPlacesCellsByTheirInkBox) {
    Font::DrawText("W", 400, 108, 1.0, 2, 1);
    auto draws = DrawsOf(Font::img);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(FrameIndex(Font::img, draws[0]), 87);
    EXPECT_FLOAT_EQ(draws[0].args[4], 391);
    EXPECT_FLOAT_EQ(draws[0].args[5], 83);
    driver->ClearCalls();
    Font::DrawText("Start Game", 400, 140, 1.0, 2, 1);
    draws = DrawsOf(Font::img);
    ASSERT_EQ(draws.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(draws[i].args[4], 324 + 15 * i);
        EXPECT_FLOAT_EQ(draws[i].args[5], 115);
    }
    driver->ClearCalls();
    Font::DrawText("", 0, 0, 0.5, 0, 0);
    EXPECT_TRUE(DrawsOf(Font::img).empty());
    float sx, sy;
    GetDrawScale(sx, sy);
    EXPECT_FLOAT_EQ(sx, 0.5f);
}

TEST_F(GameTest, AFontImageTooSmallForItsCellsIsNamedWithItsSize) {
    const std::string dir = ::testing::TempDir() + "qirn_small_font_" + std::to_string(getpid());
    std::filesystem::create_directories(dir + "/gfx");
    ASSERT_EQ(EncodePngPixmap(NewPixmap(16, 16, FormatRGBA8888, 4), String((dir + "/gfx/font.png").c_str()), 1), 1);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    String message;
    try {
        Font::Load();
    } catch (const TRuntimeException& e) {
        message = e.error;
    }
    ASSERT_EQ(chdir(VANTREL_BUILD_DIR "/game"), 0);
    std::filesystem::remove_all(dir);   // not the working directory any more
    EXPECT_EQ(message, String("Image file too small: gfx/font.png is 16 x 16 pixels, not enough for 256 cells of 32 x 32"));
}

// ---- music ---------------------------------------------------------------------

// Serves broken::<path>: the file, whose reads fail once they reach its
// middle, where only decoding goes (opening the file reads its two ends).
class BrokenMiddleFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        if (proto != String("broken") || !readable || writeable) return nullptr;
        ByteArray bytes = LoadBytes(path.AsObject());
        Ref<MemoryStream> stream =
            MakeRef<MemoryStream>(std::vector<uint8_t>(bytes->Data(), bytes->Data() + bytes->Length()));
        stream->FailReads(stream->Size() / 2, stream->Size() / 2 + 4096);
        return stream;
    }
};

// Music whose decoding breaks off while it plays: a frame names the file on
// standard error, once, and the run goes on.
TEST_F(GameTest, MusicThatBreaksOffWhilePlayingIsNamedOnceAndPlayGoesOn) {
    MakeRef<BrokenMiddleFactory>();
    Sound::musicLoad = LoadSampleAhead("broken::snd/qirn.ogg");
    ASSERT_TRUE(Sound::musicLoad->Take());
    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 6000 && Sound::musicLoad; ++i) {
        Frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Frame(10);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Damaged sound file, the music stops here: snd/qirn.ogg\n");
    EXPECT_FALSE(Sound::musicLoad);
    EXPECT_EQ(Game::state, Game::StateMenu);
}

// ---- shockwaves ---------------------------------------------------------------------

TEST_F(GameTest, AShockwaveLivesTwentyFiveFrames) {
    Shockwave::Create();
    int drawn = 0;
    while (!Shockwave::list->IsEmpty() && drawn < 100) {
        driver->ClearCalls();
        Shockwave::Draw();
        drawn += static_cast<int>(DrawsOf(Shockwave::img).size());
    }
    EXPECT_EQ(drawn, 25);
    EXPECT_FLOAT_EQ(GetDrawAlpha(), 1.0f);
}

}  // namespace
}  // namespace qirn::testing
