#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "event_recorder.h"
#include <vantrel/runtime/runtime.h>
#include <vantrel/system/polled_input.h>

using namespace vantrel;
using namespace vantrel::testing;

namespace {

class PolledInput : public ::testing::Test {
protected:
    void SetUp() override {
        StartPolledInputModule();
        PumpSystemEvents();
        AttachPolledInput(nullptr);
        TakeTerminateRequest();
    }
    void TearDown() override { DetachPolledInput(); }
};

}  // namespace

TEST_F(PolledInput, HeldKeyGivesOneHitAcrossRepeats) {
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_W);
    EXPECT_EQ(IsKeyDown(87), 1);
    EXPECT_EQ(TakeKeyHits(87), 1);
    for (int frame = 0; frame < 3; ++frame) {
        PushKey(SDL_KEYDOWN, SDL_SCANCODE_W, true);
        EXPECT_EQ(IsKeyDown(87), 1);
        EXPECT_EQ(TakeKeyHits(87), 0);
    }
    PushKey(SDL_KEYUP, SDL_SCANCODE_W);
    EXPECT_EQ(IsKeyDown(87), 0);
}

TEST_F(PolledInput, ASecondDownWhileHeldIsNoNewHit) {
    // Return and keypad Enter share one key code.
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(TakeKeyHits(13), 1);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0, 0);
    EXPECT_EQ(TakeButtonHits(3), 1);
    // The last entries of the tables count; the first codes past them are
    // ignored rather than landing in a neighbouring table.
    for (int code : {255, 256}) SendEvent(MakeEvent(EventId::KeyDown, nullptr, code, 0, 0, 0, nullptr));
    SendEvent(MakeEvent(EventId::MouseDown, nullptr, 4, 0, 0, 0, nullptr));
    EXPECT_EQ(TakeKeyHits(255), 1);
    EXPECT_EQ(TakeKeyHits(0), 0);
    EXPECT_EQ(TakeButtonHits(0), 0);
}

TEST_F(PolledInput, PressesBetweenQueriesAddUp) {
    for (int i = 0; i < 2; ++i) {
        PushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
        PushKey(SDL_KEYUP, SDL_SCANCODE_ESCAPE);
    }
    EXPECT_EQ(TakeKeyHits(27), 2);
    EXPECT_EQ(TakeKeyHits(27), 0);
    EXPECT_THROW(IsKeyDown(256), TArrayBoundsException);
    EXPECT_THROW(TakeButtonHits(4), TArrayBoundsException);
}

TEST_F(PolledInput, SwitchingAwayForgetsHeldKeysAndButtons) {
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_W);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1);
    EXPECT_EQ(IsKeyDown(87), 1);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, 1);
    EXPECT_EQ(IsAppSuspended(), 1);
    EXPECT_EQ(IsKeyDown(87), 0);
    EXPECT_EQ(TakeKeyHits(87), 0);
    EXPECT_EQ(IsButtonDown(1), 0);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, 1);
    EXPECT_EQ(IsAppSuspended(), 0);
}

TEST_F(PolledInput, TypedCharactersQueueUpTo256) {
    std::string chunk(30, 'x');
    for (int i = 0; i < 10; ++i) {
        for (int j = 0; j < 30; ++j) chunk[static_cast<size_t>(j)] = static_cast<char>('!' + (i * 30 + j) % 90);
        PushText(chunk.c_str());
    }
    for (int i = 0; i < 256; ++i) ASSERT_EQ(TakeTypedChar(), '!' + i % 90) << i;
    EXPECT_EQ(TakeTypedChar(), 0);
    // After draining, the ring keeps working past its wrap point.
    PushText("ok");
    EXPECT_EQ(TakeTypedChar(), 'o');
    EXPECT_EQ(TakeTypedChar(), 'k');
    EXPECT_EQ(TakeTypedChar(), 0);
}

TEST_F(PolledInput, TerminateRequestIsTakenOnce) {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, 1);
    EXPECT_EQ(TakeTerminateRequest(), 1);
    EXPECT_EQ(TakeTerminateRequest(), 0);
}

TEST_F(PolledInput, PointerPositionWheelAndMovement) {
    PushMotion(100, 50);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 50);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 100, 50);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 50);
    PushWheel(2, 2.0f);
    EXPECT_EQ(PointerX(), 100);
    EXPECT_EQ(PointerY(), 50);
    EXPECT_EQ(PointerWheel(), 2);
    EXPECT_EQ(IsButtonDown(2), 1);
    EXPECT_EQ(TakeButtonHits(2), 2);

    PointerMoveX();
    PointerMoveY();
    PushMotion(130, 40);
    EXPECT_EQ(PointerX(), 130);  // reading the position does not reset the movement
    EXPECT_EQ(PointerMoveX(), 30);
    EXPECT_EQ(PointerMoveY(), -10);
    EXPECT_EQ(PointerMoveX(), 0);

    FlushButtonState();
    EXPECT_EQ(PointerX(), 130);
    EXPECT_EQ(PointerY(), 40);
    EXPECT_EQ(PointerWheel(), 0);
    EXPECT_EQ(IsButtonDown(2), 0);
}

TEST_F(PolledInput, WheelNotchesAddUpAndTheMoveIsTheChange) {
    PointerWheelMove();
    const int start = PointerWheel();
    PushWheel(2, 2.0f);
    PushWheel(-1, -1.0f);
    EXPECT_EQ(PointerWheel(), start + 1);
    EXPECT_EQ(PointerWheelMove(), 1);
    EXPECT_EQ(PointerWheelMove(), 0);
    PushWheel(-3, -3.0f);
    EXPECT_EQ(PointerWheelMove(), -3);
}

TEST_F(PolledInput, AttachedToASourceIgnoresOthersAndDetachedTablesFreeze) {
    DetachPolledInput();
    Ref<Object> mine = MakeRef<Object>();
    AttachPolledInput(mine);
    SendEvent(MakeEvent(EventId::KeyDown, MakeRef<Object>(), 65, 0, 0, 0, nullptr));
    SendEvent(MakeEvent(EventId::KeyDown, nullptr, 66, 0, 0, 0, nullptr));
    SendEvent(MakeEvent(EventId::KeyDown, mine, 67, 0, 0, 0, nullptr));
    SendEvent(MakeEvent(EventId::KeyDown, mine, 999, 0, 0, 0, nullptr));  // outside the table: ignored
    EXPECT_EQ(IsKeyDown(65) + IsKeyDown(66), 0);
    EXPECT_EQ(IsKeyDown(67), 1);

    DetachPolledInput();  // flushes, then stops listening
    SendEvent(MakeEvent(EventId::KeyDown, mine, 67, 0, 0, 0, nullptr));
    EXPECT_EQ(IsKeyDown(67), 0);
    AttachPolledInput(nullptr);
}

namespace {

int waitsInsideThePump = -1;

Ref<Object> WaitForInputOnKeyDown(int, const Ref<Object>& data, const Ref<Object>&) {
    TEvent* e = dynamic_cast<TEvent*>(data.get());
    if (e && e->id == EventId::KeyDown) waitsInsideThePump = WaitKeyPress() + WaitTypedChar() + WaitButtonPress();
    return data;
}

}  // namespace

TEST_F(PolledInput, WaitsCalledInsideThePumpReturnAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // A wait that spins is ended by the watchdog, and the child fails.
    EXPECT_EXIT(
        {
            std::thread([] {
                std::this_thread::sleep_for(std::chrono::seconds(10));
                std::_Exit(2);
            }).detach();
            InstallHook(EventHookId, WaitForInputOnKeyDown, nullptr, 0);
            PushKey(SDL_KEYDOWN, SDL_SCANCODE_Q);
            PumpSystemEvents();
            UninstallHook(EventHookId, WaitForInputOnKeyDown, nullptr);
            // The tables are left alone: the press is still there to take.
            std::exit(waitsInsideThePump == 0 && TakeKeyHits('Q') == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
