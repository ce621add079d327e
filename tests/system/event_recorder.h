// Test helpers: start the system module, record emitted events as text and
// push SDL events into SDL's own queue for the real driver to translate.
#pragma once

#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include <vantrel/system/event.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/system_driver.h>

namespace vantrel::testing {

// Records "Name data mods x y" for every event while alive.
class EventRecorder {
public:
    EventRecorder() {
        StartSystemModule();
        PumpSystemEvents();  // whatever the display had queued already
        Recorded().clear();
        InstallHook(EventHookId, Record, nullptr, 100);
    }
    ~EventRecorder() { UninstallHook(EventHookId, Record, nullptr); }
    EventRecorder(const EventRecorder&) = delete;
    EventRecorder& operator=(const EventRecorder&) = delete;

    // The events recorded so far (pumping first), then forgets them.
    std::vector<std::string> Take() {
        PumpSystemEvents();
        std::vector<std::string> taken;
        taken.swap(Recorded());
        return taken;
    }

    static std::vector<std::string>& Recorded() {
        static std::vector<std::string> events;
        return events;
    }

private:
    static Ref<Object> Record(int, const Ref<Object>& data, const Ref<Object>&) {
        if (TEvent* e = dynamic_cast<TEvent*>(data.get())) {
            Recorded().push_back(TEvent::DescriptionForId(e->id).ToUtf8() + " " + std::to_string(e->data) +
                                 " " + std::to_string(e->mods) + " " + std::to_string(e->x) + " " +
                                 std::to_string(e->y));
        }
        return data;
    }
};

inline void Push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

inline void PushKey(Uint32 type, SDL_Scancode scancode, bool repeat = false, Uint16 mods = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat;
    e.key.keysym.scancode = scancode;
    e.key.keysym.mod = mods;
    Push(e);
}

inline void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    Push(e);
}

inline void PushWindowEvent(Uint8 what, Uint32 windowId = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    e.window.windowID = windowId;
    Push(e);
}

inline void PushMotion(int x, int y, Uint32 buttons = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = buttons;
    Push(e);
}

inline void PushButton(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    Push(e);
}

inline void PushWheel(int notches, float precise, Uint32 direction = SDL_MOUSEWHEEL_NORMAL, int sideways = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.x = sideways;
    e.wheel.preciseY = precise;
    e.wheel.direction = direction;
    e.wheel.mouseX = 7;
    e.wheel.mouseY = 9;
    Push(e);
}

}  // namespace vantrel::testing
