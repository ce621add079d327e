// Runs game frames without a display: the recording 2D driver stands in for
// the window, the real assets come from the build's game folder, keys are
// emitted as events through the engine's hook chain into polled input, and
// the clock advances by one tick per frame.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include "game/qirn.h"
#include <vantrel/render/recording_driver.h>
#include <vantrel/system/event.h>

namespace qirn::testing {

using namespace vantrel;

// Back to the state after start-up: menu fading in, no run, no shots,
// the seed fixed and no key held.
inline void ResetGame() {
    ticks = 0;
    tickDelta = 1;
    Game::state = Game::nextState = Game::StateMenu;
    Game::fade = 0.0;
    Game::score = 0;
    Game::DropLevel();
    Game::levelTick = 0;
    Level::number = 0;
    Player::health = 0;
    Shield::position = 0;
    Shield::rest = -1;
    Sound::on = 1;
    Shot::Clear();
    Shockwave::list->Clear();
    Color::hue = Color::baseHue = Color::deltaHue = Color::endTick = 0;
    Color::fromHue = 230;
    Background::frame = Background::target = 0;
    Background::zoom = 0.0;
    SetRandomSeed(4660);
    for (int key : {87, 65, 83, 68, 27}) MakeEvent(EventId::KeyUp, CurrentGraphics(), key, 0, 0, 0, nullptr)->Emit();
    FlushKeyState();
}

class GameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (driver) return;
        ASSERT_EQ(chdir(VANTREL_BUILD_DIR "/game"), 0) << "the game's build folder holds the assets";
        StartGameModules();
        driver = MakeRef<TRecordingVel2DDriver>();
        SelectGraphicsDriver(driver, 2);
        ASSERT_TRUE(OpenGraphics(800, 600, 0, 60, 0));
        LoadImages();
        SelectAudioDriver("Null");
        Sound::LoadFiles();
    }

    void SetUp() override {
        ResetGame();
        driver->ClearCalls();
    }

    // One frame, then the tick the frame timer would have delivered.
    void Frame(int count = 1) {
        for (int i = 0; i < count; ++i) {
            RunFrame();
            ticks += tickDelta;
        }
    }

    static void Press(int key) { Key(EventId::KeyDown, key); }
    static void Release(int key) { Key(EventId::KeyUp, key); }
    static void Tap(int key) { Press(key); Release(key); }

    // Runs frames until the menu is fully shown.
    void ShowMenu() {
        while (Game::fade < 1.0) Frame();
    }
    // From the shown menu, starts a run and waits until its first level exists.
    void StartRun() {
        ShowMenu();
        Tap(87);
        Frame();
        while (!Game::level) Frame();
    }

    // The frame index of a recorded FrameDraw of image, or -1.
    static int FrameIndex(const Ref<TImage>& image, const DriverCall& call) {
        for (int i = 0; i < image->frames->Length(); ++i)
            if (image->frames->At(i).get() == call.target) return i;
        return -1;
    }
    static std::vector<DriverCall> DrawsOf(const Ref<TImage>& image) {
        std::vector<DriverCall> out;
        for (const auto& call : driver->All("FrameDraw"))
            if (FrameIndex(image, call) >= 0) out.push_back(call);
        return out;
    }

    static inline Ref<TRecordingVel2DDriver> driver;

private:
    static void Key(int id, int key) {
        MakeEvent(id, CurrentGraphics(), key, 0, 0, 0, nullptr)->Emit();
    }
};

}  // namespace qirn::testing
