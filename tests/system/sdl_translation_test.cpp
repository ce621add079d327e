#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "event_recorder.h"
#include <vantrel/runtime/runtime.h>
#include <vantrel/system/keys.h>
#include <vantrel/system/main_thread_call.h>
#include <vantrel/system/sdl/sdl_event_translator.h>
#include <vantrel/system/system_driver.h>

using namespace vantrel;
using namespace vantrel::testing;
using Events = std::vector<std::string>;

TEST(SDLTranslation, KeysRepeatsAndCharactersOfControlKeys) {
    EventRecorder recorder;
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_W);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_W, true);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_W, true);
    PushKey(SDL_KEYUP, SDL_SCANCODE_W);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_UNKNOWN);  // no key code: dropped
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_F12);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_5);
    EXPECT_EQ(recorder.Take(), (Events{"KeyDown 87 0 0 0", "KeyRepeat 87 0 0 0", "KeyRepeat 87 0 0 0",
                                       "KeyUp 87 0 0 0", "KeyDown 13 0 0 0", "KeyChar 13 0 0 0",
                                       "KeyDown 123 0 0 0", "KeyDown 101 0 0 0"}));
}

TEST(SDLTranslation, ModifierKeysCarryTheirOwnNewState) {
    EventRecorder recorder;
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_LSHIFT, false, KMOD_LSHIFT);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, false, KMOD_LSHIFT);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LSHIFT, false, KMOD_NONE);
    // Only a modifier key's own event changes the modifier bits.
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A, false, KMOD_CTRL);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RCTRL, false, KMOD_RCTRL);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RALT, false, KMOD_RCTRL | KMOD_RALT);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_LGUI, false, KMOD_RCTRL | KMOD_RALT | KMOD_LGUI);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_RSHIFT, false, KMOD_RSHIFT);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LCTRL, false, KMOD_NONE);
    PushKey(SDL_KEYUP, SDL_SCANCODE_LALT, false, KMOD_NONE);
    EXPECT_EQ(recorder.Take(), (Events{"KeyDown 160 1 0 0", "KeyDown 65 1 0 0", "KeyUp 160 0 0 0",
                                       "KeyDown 65 0 0 0", "KeyDown 163 2 0 0", "KeyDown 165 6 0 0",
                                       "KeyDown 91 14 0 0", "KeyDown 161 1 0 0", "KeyUp 162 0 0 0",
                                       "KeyUp 164 0 0 0"}));
}

TEST(SDLTranslation, TheKeyTableNeverGivesGenericModifierCodes) {
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        int vk = VirtualKeyForScancode(static_cast<SDL_Scancode>(s));
        EXPECT_TRUE(vk >= 0 && vk <= 255);
        EXPECT_TRUE(vk != 16 && vk != 17 && vk != 18) << "scancode " << s;
    }
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_ESCAPE), 27);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_0), 48);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_9), 57);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_KP_0), 96);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_KP_9), 105);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_F1), 112);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_LEFT), 37);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_DOWN), 40);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_PAGEUP), 33);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_DELETE), 46);
    EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_Z), 90);
    EXPECT_EQ(VirtualKeyForScancode(static_cast<SDL_Scancode>(-1)), 0);
}

TEST(SDLTranslation, EveryKeyNameIsTheCodeItsKeyGives) {
    const struct { SDL_Scancode scancode; int key; } named[] = {
        {SDL_SCANCODE_BACKSPACE, keys::Backspace}, {SDL_SCANCODE_TAB, keys::Tab},
        {SDL_SCANCODE_RETURN, keys::Return}, {SDL_SCANCODE_KP_ENTER, keys::Return},
        {SDL_SCANCODE_PAUSE, keys::Pause}, {SDL_SCANCODE_CAPSLOCK, keys::CapsLock},
        {SDL_SCANCODE_ESCAPE, keys::Escape}, {SDL_SCANCODE_SPACE, keys::Space},
        {SDL_SCANCODE_PAGEUP, keys::PageUp}, {SDL_SCANCODE_PAGEDOWN, keys::PageDown},
        {SDL_SCANCODE_END, keys::End}, {SDL_SCANCODE_HOME, keys::Home},
        {SDL_SCANCODE_LEFT, keys::Left}, {SDL_SCANCODE_UP, keys::Up},
        {SDL_SCANCODE_RIGHT, keys::Right}, {SDL_SCANCODE_DOWN, keys::Down},
        {SDL_SCANCODE_PRINTSCREEN, keys::PrintScreen}, {SDL_SCANCODE_INSERT, keys::Insert},
        {SDL_SCANCODE_DELETE, keys::Delete}, {SDL_SCANCODE_0, keys::Digit0},
        {SDL_SCANCODE_1, keys::Digit1}, {SDL_SCANCODE_9, keys::Digit9},
        {SDL_SCANCODE_A, keys::A}, {SDL_SCANCODE_S, keys::S},
        {SDL_SCANCODE_W, keys::W}, {SDL_SCANCODE_Z, keys::Z},
        {SDL_SCANCODE_KP_0, keys::Numpad0}, {SDL_SCANCODE_KP_9, keys::Numpad9},
        {SDL_SCANCODE_KP_MULTIPLY, keys::NumpadMultiply}, {SDL_SCANCODE_KP_PLUS, keys::NumpadPlus},
        {SDL_SCANCODE_KP_MINUS, keys::NumpadMinus}, {SDL_SCANCODE_KP_PERIOD, keys::NumpadPeriod},
        {SDL_SCANCODE_KP_DIVIDE, keys::NumpadDivide}, {SDL_SCANCODE_F1, keys::F1},
        {SDL_SCANCODE_F12, keys::F12}, {SDL_SCANCODE_NUMLOCKCLEAR, keys::NumLock},
        {SDL_SCANCODE_SCROLLLOCK, keys::ScrollLock}, {SDL_SCANCODE_LSHIFT, keys::LeftShift},
        {SDL_SCANCODE_RSHIFT, keys::RightShift}, {SDL_SCANCODE_LCTRL, keys::LeftCtrl},
        {SDL_SCANCODE_RCTRL, keys::RightCtrl}, {SDL_SCANCODE_LALT, keys::LeftAlt},
        {SDL_SCANCODE_RALT, keys::RightAlt}, {SDL_SCANCODE_SEMICOLON, keys::Semicolon},
        {SDL_SCANCODE_EQUALS, keys::Equals}, {SDL_SCANCODE_COMMA, keys::Comma},
        {SDL_SCANCODE_MINUS, keys::Minus}, {SDL_SCANCODE_PERIOD, keys::Period},
        {SDL_SCANCODE_SLASH, keys::Slash}, {SDL_SCANCODE_GRAVE, keys::Grave},
        {SDL_SCANCODE_LEFTBRACKET, keys::LeftBracket}, {SDL_SCANCODE_BACKSLASH, keys::Backslash},
        {SDL_SCANCODE_RIGHTBRACKET, keys::RightBracket}, {SDL_SCANCODE_APOSTROPHE, keys::Apostrophe},
    };
    for (const auto& k : named) {
        EXPECT_EQ(VirtualKeyForScancode(k.scancode), k.key) << SDL_GetScancodeName(k.scancode);
    }
}

TEST(SDLTranslation, TextBecomesOneCharacterPerUtf16Unit) {
    EventRecorder recorder;
    PushText("a\xC3\xA9\xF0\x9F\x98\x80");  // a, e acute, an emoji outside the BMP
    EXPECT_EQ(recorder.Take(), (Events{"KeyChar 97 0 0 0", "KeyChar 233 0 0 0", "KeyChar 55357 0 0 0",
                                       "KeyChar 56832 0 0 0"}));
}

TEST(SDLTranslation, ApplicationFocusAndTermination) {
    EventRecorder recorder;
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, 1);
    EXPECT_EQ(recorder.Take(), (Events{"AppSuspend 0 0 0 0"}));
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, 1);
    EXPECT_EQ(recorder.Take(), (Events{"AppResume 0 0 0 0"}));

    // Focus moving from one of our windows to another is no switch at all.
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, 1);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, 2);
    EXPECT_EQ(recorder.Take(), Events{});

    PushWindowEvent(SDL_WINDOWEVENT_CLOSE, 1);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    PushWindowEvent(SDL_WINDOWEVENT_MOVED, 1);  // no event
    EXPECT_EQ(recorder.Take(), (Events{"AppTerminate 0 0 0 0", "AppTerminate 0 0 0 0"}));
}

TEST(SDLTranslation, PointerButtonsWheelAndTracking) {
    EventRecorder recorder;
    PushMotion(-5, -5);  // start outside, whatever earlier tests did
    recorder.Take();
    PushMotion(10, 20);
    PushMotion(11, 21, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK);
    PushMotion(12, 22, SDL_BUTTON_LMASK | SDL_BUTTON_MMASK);
    PushMotion(13, 23, SDL_BUTTON_LMASK);
    EXPECT_EQ(recorder.Take(), (Events{"MouseEnter 0 0 10 20", "MouseMove 0 0 10 20", "MouseMove 2 0 11 21",
                                       "MouseMove 4 0 12 22", "MouseMove 1 0 13 23"}));

    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 3, 4);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 5, 6);
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 5, 6);  // no event
    EXPECT_EQ(recorder.Take(), (Events{"MouseDown 1 0 1 2", "MouseDown 2 0 3 4", "MouseUp 3 0 5 6"}));

    PushWheel(1, 1.0f);
    PushWheel(-1, -1.0f);
    PushWheel(1, 1.0f, SDL_MOUSEWHEEL_FLIPPED);
    PushWheel(0, 0.25f);            // a partial notch
    PushWheel(0, 0.0f, 0, 1);       // sideways only: no event
    EXPECT_EQ(recorder.Take(), (Events{"MouseWheel 1 0 7 9", "MouseWheel -1 0 7 9", "MouseWheel -1 0 7 9",
                                       "MouseWheel 0 0 7 9"}));

    // Leaving reports the last position inside; coming back enters again.
    PushMotion(-1, 30, SDL_BUTTON_LMASK);
    PushMotion(40, 50);
    PushWindowEvent(SDL_WINDOWEVENT_LEAVE, 0);
    PushWindowEvent(SDL_WINDOWEVENT_LEAVE, 0);  // nothing tracked any more
    EXPECT_EQ(recorder.Take(), (Events{"MouseLeave 0 0 13 23", "MouseMove 1 0 -1 30", "MouseEnter 0 0 40 50",
                                       "MouseMove 0 0 40 50", "MouseLeave 0 0 40 50"}));
}

namespace {

int pumpDepth = 0;
int deepestPump = 0;

Ref<Object> PumpFromHook(int, const Ref<Object>& data, const Ref<Object>&) {
    ++pumpDepth;
    deepestPump = std::max(deepestPump, pumpDepth);
    PumpSystemEvents();
    WaitSystemEvents();  // would block forever if it did not return at once
    --pumpDepth;
    return data;
}

}  // namespace

TEST(SDLDriver, APumpRequestedFromAHookDoesNothing) {
    EventRecorder recorder;
    InstallHook(EventHookId, PumpFromHook, nullptr, 200);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    PushKey(SDL_KEYDOWN, SDL_SCANCODE_B);
    Events events = recorder.Take();
    UninstallHook(EventHookId, PumpFromHook, nullptr);
    EXPECT_EQ(deepestPump, 1);
    EXPECT_EQ(events, (Events{"KeyDown 65 0 0 0", "KeyDown 66 0 0 0"}));
}

namespace {

std::vector<intptr_t> callsRun;
std::thread::id callThread;

void RecordCall(void* tag, intptr_t n) {
    callThread = std::this_thread::get_id();
    if (tag == &callsRun) callsRun.push_back(n);
}

}  // namespace

TEST(SDLDriver, CallsPostedFromOtherThreadsRunInOrderOnTheMainThread) {
    EventRecorder recorder;
    callsRun.clear();
    std::thread poster([] {
        for (intptr_t i = 0; i < 200; ++i) PostMainThreadCall(RecordCall, &callsRun, i);
    });
    poster.join();
    EXPECT_TRUE(callsRun.empty());  // nothing runs before the main thread pumps
    PumpSystemEvents();
    ASSERT_EQ(callsRun.size(), 200u);
    for (intptr_t i = 0; i < 200; ++i) EXPECT_EQ(callsRun[static_cast<size_t>(i)], i);
    EXPECT_EQ(callThread, std::this_thread::get_id());

    // A waiting main thread wakes for a call posted later.
    callsRun.clear();
    std::thread late([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostMainThreadCall(RecordCall, &callsRun, 7);
    });
    while (callsRun.empty()) WaitSystemEvents();
    late.join();
    EXPECT_EQ(callsRun, (std::vector<intptr_t>{7}));
}

TEST(SDLDriverDeathTest, PostingBeforeTheSystemModuleStartsIsRefused) {
    // A fresh process in which SDL's queue runs but the driver does not yet:
    // a call posted now could never be recognised, so it must be refused.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            SDL_InitSubSystem(SDL_INIT_EVENTS);
            std::exit(PostMainThreadCall(RecordCall, &callsRun, 1) ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SDLDriver, TheBareDriverIsAbstract) {
    TSystemDriver bare;
    EXPECT_THROW(bare.Poll(), TNullMethodException);
    EXPECT_THROW(bare.Wait(), TNullMethodException);
    EXPECT_THROW(bare.MoveMouse(1, 2), TNullMethodException);
    EXPECT_THROW(bare.SetMouseVisible(0), TNullMethodException);
    EXPECT_THROW(bare.Notify("x", 0), TNullMethodException);
    EXPECT_THROW(bare.Confirm("x", 0), TNullMethodException);
    EXPECT_THROW(bare.Proceed("x", 1), TNullMethodException);
    EXPECT_THROW(bare.RequestFile("x", "png", 0, ""), TNullMethodException);
    EXPECT_THROW(bare.RequestDir("x", ""), TNullMethodException);
    EXPECT_THROW(bare.OpenURL("x"), TNullMethodException);
}

TEST(SDLDriver, DateAndTimeTexts) {
    StartSystemModule();
    std::string date = CurrentDateText().ToUtf8();
    std::string time = CurrentTimeText().ToUtf8();
    ASSERT_EQ(date.size(), 11u) << date;  // "08 Dec 2026"
    EXPECT_EQ(date[2], ' ');
    EXPECT_EQ(date[6], ' ');
    ASSERT_EQ(time.size(), 8u) << time;   // "14:25:07"
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
}
