#include <vantrel/system/polled_input.h>

#include <algorithm>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/system/event.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/system_driver.h>

namespace vantrel {
namespace {

constexpr int kKeys = 256;
constexpr int kButtons = 4;
constexpr int kQueue = 256;

bool polledInputStarted = false;

struct PolledInputState {
    int keyStates[kKeys] = {};
    int keyHits[kKeys] = {};
    int charQueue[kQueue] = {};
    int charGet = 0, charPut = 0;
    int buttonStates[kButtons] = {};
    int buttonHits[kButtons] = {};
    int pointerState[4] = {};
    int pointerLastRead[4] = {};
    int appSuspended = 0;
    int terminateRequested = 0;
    int autoPoll = 1;
    Ref<Object> inputSource;
    bool attached = false;
} input;

void Pump() {
    if (input.autoPoll) PumpSystemEvents();
}

Ref<Object> PolledInputHook(int, const Ref<Object>& data, const Ref<Object>&) {
    TEvent* event = dynamic_cast<TEvent*>(data.get());
    if (!event) return data;
    if (input.inputSource && event->source.get() != input.inputSource.get()) return data;
    const int code = event->data;
    const bool key = code >= 0 && code < kKeys;
    const bool button = code >= 0 && code < kButtons;
    switch (event->id) {
        case EventId::AppSuspend:
        case EventId::AppResume:
            FlushKeyState();
            FlushButtonState();
            input.appSuspended = event->id == EventId::AppSuspend;
            break;
        case EventId::AppTerminate:
            input.terminateRequested = 1;
            break;
        case EventId::KeyDown:
            if (key && !input.keyStates[code]) {
                input.keyStates[code] = 1;
                ++input.keyHits[code];
            }
            break;
        case EventId::KeyUp:
            if (key) input.keyStates[code] = 0;
            break;
        case EventId::KeyChar:
            if (input.charPut - input.charGet < kQueue) input.charQueue[input.charPut++ % kQueue] = code;
            break;
        case EventId::MouseDown:
            if (button && !input.buttonStates[code]) {
                input.buttonStates[code] = 1;
                ++input.buttonHits[code];
            }
            break;
        case EventId::MouseUp:
            if (button) input.buttonStates[code] = 0;
            break;
        case EventId::MouseMove:
            input.pointerState[0] = event->x;
            input.pointerState[1] = event->y;
            break;
        case EventId::MouseWheel:
            input.pointerState[2] += code;
            break;
        default:
            break;
    }
    return data;
}

int TakeMove(int entry) {
    Pump();
    int move = input.pointerState[entry] - input.pointerLastRead[entry];
    input.pointerLastRead[entry] = input.pointerState[entry];
    return move;
}

}  // namespace

void StartPolledInputModule() {
    if (polledInputStarted) return;
    polledInputStarted = true;
    StartSystemModule();
}

void AttachPolledInput(const Ref<Object>& source) {
    if (input.attached) return;
    input.inputSource = source;
    FlushKeyState();
    FlushButtonState();
    InstallHook(EventHookId, PolledInputHook, nullptr, 0);
    input.attached = true;
}

void DetachPolledInput() {
    if (!input.attached) return;
    UninstallHook(EventHookId, PolledInputHook, nullptr);
    FlushKeyState();
    FlushButtonState();
    input.inputSource = nullptr;
    input.attached = false;
}

int TakeTerminateRequest() {
    Pump();
    int requested = input.terminateRequested;
    input.terminateRequested = 0;
    return requested;
}

int IsAppSuspended() {
    Pump();
    return input.appSuspended;
}

int IsKeyDown(int key) {
    CheckIndex(key, kKeys);
    Pump();
    return input.keyStates[key];
}

int TakeKeyHits(int key) {
    CheckIndex(key, kKeys);
    Pump();
    int hits = input.keyHits[key];
    input.keyHits[key] = 0;
    return hits;
}

int TakeTypedChar() {
    Pump();
    if (input.charGet == input.charPut) return 0;
    return input.charQueue[input.charGet++ % kQueue];
}

void FlushKeyState() {
    PumpSystemEvents();
    input.charGet = input.charPut = 0;
    std::fill(std::begin(input.keyStates), std::end(input.keyStates), 0);
    std::fill(std::begin(input.keyHits), std::end(input.keyHits), 0);
}

int IsButtonDown(int button) {
    CheckIndex(button, kButtons);
    Pump();
    return input.buttonStates[button];
}

int TakeButtonHits(int button) {
    CheckIndex(button, kButtons);
    Pump();
    int hits = input.buttonHits[button];
    input.buttonHits[button] = 0;
    return hits;
}

void FlushButtonState() {
    PumpSystemEvents();
    std::fill(std::begin(input.buttonStates), std::end(input.buttonStates), 0);
    std::fill(std::begin(input.buttonHits), std::end(input.buttonHits), 0);
    input.pointerState[2] = 0;
}

int PointerX() {
    Pump();
    return input.pointerState[0];
}

int PointerY() {
    Pump();
    return input.pointerState[1];
}

int PointerWheel() {
    Pump();
    return input.pointerState[2];
}

int PointerMoveX() { return TakeMove(0); }
int PointerMoveY() { return TakeMove(1); }
int PointerWheelMove() { return TakeMove(2); }

// Inside the pump nothing can arrive while these wait, and even a quit
// signal only becomes another queued event: they would never end.
int WaitKeyPress() {
    if (SystemEventsPumping()) return 0;
    FlushKeyState();
    for (;;) {
        WaitSystemEvents();
        for (int key = 1; key < kKeys; ++key) {
            if (TakeKeyHits(key)) return key;
        }
    }
}

int WaitTypedChar() {
    if (SystemEventsPumping()) return 0;
    FlushKeyState();
    for (;;) {
        WaitSystemEvents();
        if (int c = TakeTypedChar()) return c;
    }
}

int WaitButtonPress() {
    if (SystemEventsPumping()) return 0;
    FlushButtonState();
    for (;;) {
        WaitSystemEvents();
        for (int button = 1; button < kButtons; ++button) {
            if (TakeButtonHits(button)) return button;
        }
    }
}

}  // namespace vantrel
