#include <vantrel/system/sdl/sdl_event_translator.h>

#include <array>
#include <vector>

#include <vantrel/runtime/string.h>
#include <vantrel/system/event.h>
#include <vantrel/system/sdl/letterbox.h>
#include <vantrel/system/system_driver.h>

namespace vantrel {
namespace {

// Virtual-key codes by SDL scancode, laid out as on a US keyboard.
std::array<uint8_t, SDL_NUM_SCANCODES> BuildKeyTable() {
    std::array<uint8_t, SDL_NUM_SCANCODES> t{};
    for (int i = 0; i < 26; ++i) t[SDL_SCANCODE_A + i] = static_cast<uint8_t>('A' + i);
    for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_1 + i] = static_cast<uint8_t>('1' + i);
    t[SDL_SCANCODE_0] = '0';
    for (int i = 0; i < 12; ++i) t[SDL_SCANCODE_F1 + i] = static_cast<uint8_t>(0x70 + i);
    for (int i = 0; i < 12; ++i) t[SDL_SCANCODE_F13 + i] = static_cast<uint8_t>(0x7C + i);
    for (int i = 0; i < 9; ++i) t[SDL_SCANCODE_KP_1 + i] = static_cast<uint8_t>(0x61 + i);
    t[SDL_SCANCODE_KP_0] = 0x60;

    static const struct { SDL_Scancode scancode; uint8_t vk; } kKeys[] = {
        {SDL_SCANCODE_RETURN, 0x0D},       {SDL_SCANCODE_ESCAPE, 0x1B},
        {SDL_SCANCODE_BACKSPACE, 0x08},    {SDL_SCANCODE_TAB, 0x09},
        {SDL_SCANCODE_SPACE, 0x20},        {SDL_SCANCODE_MINUS, 0xBD},
        {SDL_SCANCODE_EQUALS, 0xBB},       {SDL_SCANCODE_LEFTBRACKET, 0xDB},
        {SDL_SCANCODE_RIGHTBRACKET, 0xDD}, {SDL_SCANCODE_BACKSLASH, 0xDC},
        {SDL_SCANCODE_NONUSHASH, 0xDC},    {SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDL_SCANCODE_APOSTROPHE, 0xDE},   {SDL_SCANCODE_GRAVE, 0xC0},
        {SDL_SCANCODE_COMMA, 0xBC},        {SDL_SCANCODE_PERIOD, 0xBE},
        {SDL_SCANCODE_SLASH, 0xBF},        {SDL_SCANCODE_CAPSLOCK, 0x14},
        {SDL_SCANCODE_PRINTSCREEN, 0x2C},  {SDL_SCANCODE_SCROLLLOCK, 0x91},
        {SDL_SCANCODE_PAUSE, 0x13},        {SDL_SCANCODE_INSERT, 0x2D},
        {SDL_SCANCODE_HOME, 0x24},         {SDL_SCANCODE_PAGEUP, 0x21},
        {SDL_SCANCODE_DELETE, 0x2E},       {SDL_SCANCODE_END, 0x23},
        {SDL_SCANCODE_PAGEDOWN, 0x22},     {SDL_SCANCODE_RIGHT, 0x27},
        {SDL_SCANCODE_LEFT, 0x25},         {SDL_SCANCODE_DOWN, 0x28},
        {SDL_SCANCODE_UP, 0x26},           {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
        {SDL_SCANCODE_KP_DIVIDE, 0x6F},    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
        {SDL_SCANCODE_KP_MINUS, 0x6D},     {SDL_SCANCODE_KP_PLUS, 0x6B},
        {SDL_SCANCODE_KP_ENTER, 0x0D},     {SDL_SCANCODE_KP_PERIOD, 0x6E},
        {SDL_SCANCODE_KP_DECIMAL, 0x6E},   {SDL_SCANCODE_KP_COMMA, 0x6C},
        {SDL_SCANCODE_SEPARATOR, 0x6C},    {SDL_SCANCODE_KP_CLEAR, 0x0C},
        {SDL_SCANCODE_CLEAR, 0x0C},        {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
        {SDL_SCANCODE_APPLICATION, 0x5D},  {SDL_SCANCODE_MENU, 0x5D},
        {SDL_SCANCODE_EXECUTE, 0x2B},      {SDL_SCANCODE_HELP, 0x2F},
        {SDL_SCANCODE_SELECT, 0x29},       {SDL_SCANCODE_CANCEL, 0x03},
        {SDL_SCANCODE_PRIOR, 0x21},        {SDL_SCANCODE_RETURN2, 0x0D},
        {SDL_SCANCODE_CRSEL, 0xF7},        {SDL_SCANCODE_EXSEL, 0xF8},
        {SDL_SCANCODE_SLEEP, 0x5F},        {SDL_SCANCODE_INTERNATIONAL1, 0xC1},
        {SDL_SCANCODE_INTERNATIONAL2, 0x15}, {SDL_SCANCODE_INTERNATIONAL4, 0x1C},
        {SDL_SCANCODE_INTERNATIONAL5, 0x1D}, {SDL_SCANCODE_LANG1, 0x15},
        {SDL_SCANCODE_LANG2, 0x19},
        {SDL_SCANCODE_LSHIFT, 0xA0},       {SDL_SCANCODE_RSHIFT, 0xA1},
        {SDL_SCANCODE_LCTRL, 0xA2},        {SDL_SCANCODE_RCTRL, 0xA3},
        {SDL_SCANCODE_LALT, 0xA4},         {SDL_SCANCODE_RALT, 0xA5},
        {SDL_SCANCODE_LGUI, 0x5B},         {SDL_SCANCODE_RGUI, 0x5C},
        {SDL_SCANCODE_MUTE, 0xAD},         {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
        {SDL_SCANCODE_VOLUMEUP, 0xAF},     {SDL_SCANCODE_AUDIONEXT, 0xB0},
        {SDL_SCANCODE_AUDIOPREV, 0xB1},    {SDL_SCANCODE_AUDIOSTOP, 0xB2},
        {SDL_SCANCODE_AUDIOPLAY, 0xB3},    {SDL_SCANCODE_AUDIOMUTE, 0xAD},
        {SDL_SCANCODE_MAIL, 0xB4},         {SDL_SCANCODE_MEDIASELECT, 0xB5},
        {SDL_SCANCODE_COMPUTER, 0xB6},     {SDL_SCANCODE_CALCULATOR, 0xB7},
        {SDL_SCANCODE_AC_BACK, 0xA6},      {SDL_SCANCODE_AC_FORWARD, 0xA7},
        {SDL_SCANCODE_AC_REFRESH, 0xA8},   {SDL_SCANCODE_AC_STOP, 0xA9},
        {SDL_SCANCODE_STOP, 0xA9},         {SDL_SCANCODE_AC_SEARCH, 0xAA},
        {SDL_SCANCODE_AC_BOOKMARKS, 0xAB}, {SDL_SCANCODE_AC_HOME, 0xAC},
    };
    for (const auto& key : kKeys) t[key.scancode] = key.vk;
    return t;
}

const std::array<uint8_t, SDL_NUM_SCANCODES> kKeyTable = BuildKeyTable();

struct WindowEntry {
    Uint32 id;
    Ref<Object> source;
    SDLWindowProc proc;
    void* context;
    int programWidth = 0, programHeight = 0;   // 0: the window's own points
};

std::vector<WindowEntry> windows;
int currentModifiers = 0;
bool pointerVisible = true;

// The window the pointer is inside, by SDL window id (0 serves events that
// carry no window, such as those pushed by a program without one).
bool tracking = false;
Uint32 trackedWindow = 0;
Ref<Object> trackedSource;
int lastPointerX = 0, lastPointerY = 0;

// A focus loss waits for the end of the batch: if one of our windows gains
// focus in the same batch, focus only moved inside the program.
bool suspendPending = false;
Ref<Object> suspendSource;
// A focus gain that arrived while the window was minimised; the resume
// follows when the window is restored.
bool resumeOnRestore = false;

void Emit(int id, const Ref<Object>& source, int data, int mods, int x, int y) {
    EmitSystemEvent(id, source, data, mods, x, y, nullptr);
}

void RefreshPointerVisibility() {
    SDL_ShowCursor(pointerVisible || !tracking ? SDL_ENABLE : SDL_DISABLE);
}

void UpdateTracking(bool inside, Uint32 window, int x, int y, const Ref<Object>& source) {
    if (inside == tracking && (!inside || window == trackedWindow)) return;
    if (tracking) {
        Ref<Object> leaving = std::move(trackedSource);
        trackedSource = nullptr;
        tracking = false;
        Emit(EventId::MouseLeave, leaving, 0, 0, lastPointerX, lastPointerY);
    }
    tracking = inside;
    trackedWindow = inside ? window : 0;
    RefreshPointerVisibility();
    if (inside) {
        trackedSource = source;
        Emit(EventId::MouseEnter, source, 0, 0, x, y);
    }
}

const WindowEntry* FindWindow(Uint32 windowId) {
    for (const WindowEntry& entry : windows) {
        if (entry.id == windowId) return &entry;
    }
    return nullptr;
}

// The program's size for a window's points, or false when the program
// uses the window's own points.
bool ProgramSize(Uint32 windowId, SDL_Window*& window, int& width, int& height) {
    const WindowEntry* entry = windowId ? FindWindow(windowId) : nullptr;
    window = windowId ? SDL_GetWindowFromID(windowId) : nullptr;
    if (!entry || !window || entry->programWidth <= 0) return false;
    width = entry->programWidth;
    height = entry->programHeight;
    return true;
}

LetterboxRect WindowBox(SDL_Window* window, int programWidth, int programHeight) {
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return FitLetterbox(width, height, programWidth, programHeight);
}

// A window point to the program's point.
void ToProgram(Uint32 windowId, int& x, int& y) {
    SDL_Window* window = nullptr;
    int width = 0, height = 0;
    if (!ProgramSize(windowId, window, width, height)) return;
    WindowToProgramPoint(WindowBox(window, width, height), width, height, x, y);
}

// Whether a point, in the program's points, lies inside the window's picture.
bool InsideWindow(Uint32 windowId, int x, int y) {
    if (x < 0 || y < 0) return false;
    SDL_Window* window = nullptr;
    int width = 0, height = 0;
    if (ProgramSize(windowId, window, width, height)) return x < width && y < height;
    if (!window) return true;  // size unknown: only the negative sides count
    SDL_GetWindowSize(window, &width, &height);
    return x < width && y < height;
}

bool IsMinimised(Uint32 windowId) {
    SDL_Window* window = windowId ? SDL_GetWindowFromID(windowId) : nullptr;
    return window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
}

void TranslateWindowEvent(const SDL_WindowEvent& e, const Ref<Object>& source) {
    switch (e.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (IsMinimised(e.windowID)) {
                resumeOnRestore = true;
            } else if (suspendPending) {
                suspendPending = false;
                suspendSource = nullptr;
            } else {
                Emit(EventId::AppResume, source, 0, currentModifiers, 0, 0);
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (resumeOnRestore) {
                resumeOnRestore = false;
                Emit(EventId::AppResume, source, 0, currentModifiers, 0, 0);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            resumeOnRestore = false;
            suspendPending = true;
            suspendSource = source;
            break;
        case SDL_WINDOWEVENT_CLOSE:
            Emit(EventId::AppTerminate, source, 0, currentModifiers, 0, 0);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            if (tracking && trackedWindow == e.windowID) UpdateTracking(false, 0, 0, 0, nullptr);
            break;
        default:
            break;
    }
}

void TranslateKey(const SDL_KeyboardEvent& e, const Ref<Object>& source) {
    int vk = VirtualKeyForScancode(e.keysym.scancode);
    if (vk == 0) return;
    if (e.type == SDL_KEYUP) {
        Emit(EventId::KeyUp, source, vk, currentModifiers, 0, 0);
        return;
    }
    Emit(e.repeat ? EventId::KeyRepeat : EventId::KeyDown, source, vk, currentModifiers, 0, 0);
    if (vk == 0x08 || vk == 0x09 || vk == 0x0D || vk == 0x1B) {
        Emit(EventId::KeyChar, source, vk, currentModifiers, 0, 0);
    }
}

void TranslateText(const SDL_TextInputEvent& e, const Ref<Object>& source) {
    String text = String::FromUtf8(e.text);
    for (char16_t unit : text.Units()) Emit(EventId::KeyChar, source, unit, currentModifiers, 0, 0);
}

int ButtonNumber(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT: return 1;
        case SDL_BUTTON_RIGHT: return 2;
        case SDL_BUTTON_MIDDLE: return 3;
        default: return 0;
    }
}

void TranslateMotion(const SDL_MouseMotionEvent& e, const Ref<Object>& source) {
    int x = e.x, y = e.y;
    ToProgram(e.windowID, x, y);
    UpdateTracking(InsideWindow(e.windowID, x, y), e.windowID, x, y, source);
    lastPointerX = x;
    lastPointerY = y;
    int held = (e.state & SDL_BUTTON_RMASK) ? 2
             : (e.state & SDL_BUTTON_MMASK) ? 4
             : (e.state & SDL_BUTTON_LMASK) ? 1
                                            : 0;
    Emit(EventId::MouseMove, source, held, currentModifiers, x, y);
}

void TranslateWheel(const SDL_MouseWheelEvent& e, const Ref<Object>& source) {
    if (e.y == 0 && e.preciseY == 0.0f) return;  // sideways scrolling only
    int notches = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.y : e.y;
    int x = e.mouseX, y = e.mouseY;
    ToProgram(e.windowID, x, y);
    Emit(EventId::MouseWheel, source, notches, currentModifiers, x, y);
}

Uint32 EventWindowId(const SDL_Event& e) {
    switch (e.type) {
        case SDL_WINDOWEVENT: return e.window.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP: return e.key.windowID;
        case SDL_TEXTEDITING: return e.edit.windowID;
        case SDL_TEXTINPUT: return e.text.windowID;
        case SDL_MOUSEMOTION: return e.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: return e.button.windowID;
        case SDL_MOUSEWHEEL: return e.wheel.windowID;
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPBEGIN:
        case SDL_DROPCOMPLETE: return e.drop.windowID;
        default: return 0;
    }
}

bool IsModifierKey(SDL_Scancode scancode) {
    return scancode >= SDL_SCANCODE_LCTRL && scancode <= SDL_SCANCODE_RGUI;
}

}  // namespace

int VirtualKeyForScancode(SDL_Scancode scancode) {
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return 0;
    return kKeyTable[scancode];
}

int ModifierBits(Uint16 sdlMods) {
    return ((sdlMods & KMOD_SHIFT) ? ModShift : 0) | ((sdlMods & KMOD_CTRL) ? ModCtrl : 0) |
           ((sdlMods & KMOD_ALT) ? ModAlt : 0) | ((sdlMods & KMOD_GUI) ? ModSystem : 0);
}

void RegisterSDLWindow(Uint32 windowId, const Ref<Object>& source, SDLWindowProc proc, void* context) {
    for (WindowEntry& entry : windows) {
        if (entry.id == windowId) {
            entry = {windowId, source, proc, context, 0, 0};
            return;
        }
    }
    windows.push_back({windowId, source, proc, context, 0, 0});
}

void SetSDLWindowProgramSize(Uint32 windowId, int width, int height) {
    for (WindowEntry& entry : windows) {
        if (entry.id != windowId) continue;
        entry.programWidth = width > 0 && height > 0 ? width : 0;
        entry.programHeight = width > 0 && height > 0 ? height : 0;
    }
}

void ProgramToSDLWindowPoint(Uint32 windowId, int& x, int& y) {
    SDL_Window* window = nullptr;
    int width = 0, height = 0;
    if (!ProgramSize(windowId, window, width, height)) return;
    ProgramToWindowPoint(WindowBox(window, width, height), width, height, x, y);
}

void UnregisterSDLWindow(Uint32 windowId) {
    std::erase_if(windows, [windowId](const WindowEntry& entry) { return entry.id == windowId; });
    if (tracking && trackedWindow == windowId) UpdateTracking(false, 0, 0, 0, nullptr);
}

void TranslateSDLEvent(const SDL_Event& event, const Ref<Object>& source) {
    switch (event.type) {
        case SDL_QUIT:
            Emit(EventId::AppTerminate, source, 0, currentModifiers, 0, 0);
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window, source);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event.key, source);
            break;
        case SDL_TEXTINPUT:
            TranslateText(event.text, source);
            break;
        case SDL_MOUSEMOTION:
            TranslateMotion(event.motion, source);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (int button = ButtonNumber(event.button.button)) {
                int x = event.button.x, y = event.button.y;
                ToProgram(event.button.windowID, x, y);
                Emit(event.type == SDL_MOUSEBUTTONDOWN ? EventId::MouseDown : EventId::MouseUp, source,
                     button, currentModifiers, x, y);
            }
            break;
        case SDL_MOUSEWHEEL:
            TranslateWheel(event.wheel, source);
            break;
        default:
            break;
    }
}

void DispatchSDLEvent(const SDL_Event& event) {
    if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && IsModifierKey(event.key.keysym.scancode)) {
        currentModifiers = ModifierBits(event.key.keysym.mod);
    }
    if (Uint32 id = EventWindowId(event)) {
        for (const WindowEntry& entry : windows) {
            if (entry.id != id) continue;
            WindowEntry target = entry;  // the procedure may change the list
            if (target.proc) {
                target.proc(event, target.context);
            } else {
                TranslateSDLEvent(event, target.source);
            }
            return;
        }
    }
    TranslateSDLEvent(event, nullptr);
}

void FinishSDLEventBatch() {
    if (!suspendPending) return;
    suspendPending = false;
    Ref<Object> source = std::move(suspendSource);
    suspendSource = nullptr;
    Emit(EventId::AppSuspend, source, 0, currentModifiers, 0, 0);
}

void SetSDLPointerVisible(bool visible) {
    pointerVisible = visible;
    RefreshPointerVisibility();
}

}  // namespace vantrel
