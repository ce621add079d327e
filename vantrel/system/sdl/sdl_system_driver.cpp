#include <vantrel/system/sdl/sdl_system_driver.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <SDL.h>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/program.h>
#include <vantrel/system/main_thread_call.h>
#include <vantrel/system/requester_text.h>
#include <vantrel/system/sdl/sdl_dialogs.h>
#include <vantrel/system/sdl/sdl_event_translator.h>
#include <vantrel/system/sdl/sdl_video.h>
#include <vantrel/system/timer_service.h>

namespace vantrel {
namespace {

bool glueStarted = false;
// SDL event type of posted main-thread calls; 0 until the glue has
// started, when posting is refused.
std::atomic<Uint32> callEventType{0};
// The millisecond in which the window system was last asked for input.
Uint64 lastPlatformPump = ~Uint64(0);

// A posted call travels inside its SDL event, in the bytes after the
// event's type and timestamp (SDL copies events whole), so posting
// allocates nothing: the timer thread posts every tick this way.
struct PostedCall {
    MainThreadFunc func;
    void* arg0;
    intptr_t arg1;
};
constexpr size_t kPostedCallOffset = sizeof(SDL_CommonEvent);
static_assert(kPostedCallOffset + sizeof(PostedCall) <= sizeof(SDL_Event::padding));

void RunPostedCall(const SDL_Event& event) {
    PostedCall call;
    std::memcpy(&call, event.padding + kPostedCallOffset, sizeof call);
    call.func(call.arg0, call.arg1);
}

void StartGlue() {
    if (glueStarted) return;
    if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
        RaiseRuntimeError(String("SDL could not start its event subsystem: ") + SDL_GetError());
    }
    // No display is fine: events, timers and posted calls work without one.
    StartSDLVideo();
    SDL_StartTextInput();
    // Poll drains the queue itself and needs no end-of-poll marker events.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    // A close request is already the terminate request; the quit event SDL
    // would add when the last window closes would make it two.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    const Uint32 type = SDL_RegisterEvents(1);
    if (type == static_cast<Uint32>(-1)) {
        RaiseRuntimeError("SDL has no event type left for main-thread calls");
    }
    callEventType.store(type, std::memory_order_release);
    SetSDLPointerVisible(true);
    SetTimerResolution(1);
    AddExitHandler([] { ResetTimerResolution(1); });
    glueStarted = true;
}

// Dialogs take the keyboard focus; give it back to the window that had it.
class FocusKeeper {
public:
    FocusKeeper() : _window(SDL_GetKeyboardFocus()) {}
    ~FocusKeeper() {
        if (_window) SDL_RaiseWindow(_window);
    }
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

private:
    SDL_Window* _window;
};

}  // namespace

bool PostMainThreadCall(MainThreadFunc func, void* arg0, intptr_t arg1) {
    // Before the glue has started no Poll would recognise the call (events
    // may already flow if another part of the program started SDL).
    const Uint32 type = callEventType.load(std::memory_order_acquire);
    if (type == 0) return false;
    SDL_Event event{};
    event.type = type;
    const PostedCall call{func, arg0, arg1};
    std::memcpy(event.padding + kPostedCallOffset, &call, sizeof call);
    return SDL_PushEvent(&event) == 1;
}

TSDLSystemDriver::TSDLSystemDriver() {
    StartGlue();
}

int TSDLSystemDriver::Poll() {
    // Asking the window system costs a few system calls, and every polled
    // input query pumps: ask it at most once per millisecond. Events already
    // in SDL's queue (posted calls among them) are always taken.
    Uint64 now = SDL_GetTicks64();
    if (now != lastPlatformPump) {
        lastPlatformPump = now;
        SDL_PumpEvents();
    }
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (event.type == callEventType.load(std::memory_order_relaxed)) {
            RunPostedCall(event);
        } else {
            DispatchSDLEvent(event);
        }
    }
    FinishSDLEventBatch();
    return 0;
}

int TSDLSystemDriver::Wait() {
    SDL_WaitEvent(nullptr);  // pumps the window system while it waits
    lastPlatformPump = SDL_GetTicks64();
    return Poll();
}

int TSDLSystemDriver::MoveMouse(int x, int y) {
    if (SDL_Window* window = SDL_GetKeyboardFocus()) {
        ProgramToSDLWindowPoint(SDL_GetWindowID(window), x, y);
        SDL_WarpMouseInWindow(window, x, y);
    } else {
        SDL_WarpMouseGlobal(x, y);
    }
    return 0;
}

int TSDLSystemDriver::SetMouseVisible(int visible) {
    SetSDLPointerVisible(visible != 0);
    return 0;
}

int TSDLSystemDriver::Notify(const String& text, int serious) {
    FocusKeeper focus;
    ShowMessageBox(text, serious != 0, {{0, "OK", true, true}}, 0);
    return 0;
}

int TSDLSystemDriver::Confirm(const String& text, int serious) {
    FocusKeeper focus;
    int chosen = ShowMessageBox(text, serious != 0, {{1, "OK", true, false}, {0, "Cancel", false, true}}, 0);
    return chosen == 1 ? 1 : 0;
}

int TSDLSystemDriver::Proceed(const String& text, int serious) {
    FocusKeeper focus;
    int chosen = ShowMessageBox(
        text, serious != 0, {{1, "Yes", true, false}, {0, "No", false, false}, {-1, "Cancel", false, true}}, -1);
    return chosen == 1 || chosen == 0 ? chosen : -1;
}

String TSDLSystemDriver::RequestFile(const String& text, const String& exts, int save, const String& path) {
    ChooserRequest request;
    request.title = text;
    request.save = save != 0;
    RequestPathParts parts = SplitRequestPath(path);
    request.initialPath = parts.dir.IsEmpty() ? parts.file : parts.dir + "/" + parts.file;
    request.filters = FilterGroups(FileFilterText(exts));
    // A chooser program has no "selected filter" option: it starts on its
    // first filter, so the preselected group goes first.
    int preselected = PreselectedFilterIndex(path, exts);
    if (preselected > 1 && preselected <= static_cast<int>(request.filters.size())) {
        FilterGroup chosen = request.filters[static_cast<size_t>(preselected - 1)];
        request.filters.erase(request.filters.begin() + (preselected - 1));
        request.filters.insert(request.filters.begin(), chosen);
    }
    FocusKeeper focus;
    return RunChooser(request);
}

String TSDLSystemDriver::RequestDir(const String& text, const String& path) {
    ChooserRequest request;
    request.title = text;
    request.directory = true;
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path.IsEmpty() ? "." : path.ToUtf8(), error);
    if (!error) request.initialPath = String::FromUtf8((full.lexically_normal() / "").string());
    FocusKeeper focus;
    return RunChooser(request);
}

int TSDLSystemDriver::OpenURL(const String& url) {
    return SDL_OpenURL(url.ToUtf8().c_str()) == 0 ? 1 : 0;
}

}  // namespace vantrel
