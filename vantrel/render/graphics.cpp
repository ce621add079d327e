#include <vantrel/render/graphics.h>

#include <chrono>
#include <thread>

#include <vantrel/render/frame_pacer.h>
#include <vantrel/runtime/program.h>
#include <vantrel/system/hook.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/system_driver.h>
#include <vantrel/system/timer.h>

namespace vantrel {

namespace {

struct GraphicsState {
    Ref<TGraphicsDriver> currentDriver;
    int defaultFlags = 0;
    Ref<TGraphics> currentGraphics;
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
    Ref<TGraphics> openGraphics;
    GraphicsModeList modes;
    int seq = 0;
    int flipHookId = 0;
    bool softSync = false;
    bool vsyncDefault = false;
    FramePacer pacer;
    bool shutDownRegistered = false;
};

GraphicsState& State() {
    static GraphicsState state;
    return state;
}

void ClearCurrentSettings(GraphicsState& s) {
    s.currentGraphics = nullptr;
    s.width = s.height = s.depth = s.hertz = s.flags = 0;
}

// Tells the outgoing driver to let go of its context before another takes over.
void ReleaseCurrentDriverGraphics(GraphicsState& s) {
    if (s.currentDriver && s.currentGraphics) s.currentDriver->SetGraphics(nullptr);
}

// A new driver has its own modes, so the cached list goes with the old one.
void ChangeDriver(GraphicsState& s, const Ref<TGraphicsDriver>& driver) {
    if (driver == s.currentDriver) return;
    ReleaseCurrentDriverGraphics(s);
    s.modes = nullptr;
    s.currentDriver = driver;
}

}  // namespace

String TGraphicsMode::ToString() const {
    return String::FromInt(width) + "," + String::FromInt(height) + "," + String::FromInt(depth) +
           " " + String::FromInt(hertz) + "Hz";
}

int GraphicsSeq() { return State().seq; }

void BumpGraphicsSeq() {
    GraphicsState& s = State();
    s.seq = static_cast<int>(static_cast<uint32_t>(s.seq) + 1);
    if (s.seq == 0) s.seq = 1;
}

void SelectGraphicsDriver(const Ref<TGraphicsDriver>& driver, int defaultFlags) {
    // Every way to a current driver passes here or through MakeGraphicsCurrent:
    // without the module, flips would run hook chain 0 and opening would
    // attach polled input to no system driver.
    StartGraphicsModule();
    GraphicsState& s = State();
    BumpGraphicsSeq();
    ChangeDriver(s, driver);
    s.defaultFlags = defaultFlags;
    ClearCurrentSettings(s);
}

Ref<TGraphicsDriver> CurrentGraphicsDriver() { return State().currentDriver; }

int GetDefaultGraphicsFlags() { return State().defaultFlags; }

namespace {

// The current driver's modes, asked for while the cache is empty. The
// queries below read the cache itself; only ListGraphicsModes hands out a
// copy.
const GraphicsModeList& CachedModes() {
    GraphicsState& s = State();
    if (!s.modes || s.modes->Length() == 0) s.modes = s.currentDriver->GraphicsModes();
    if (!s.modes) s.modes = NewArray<Ref<TGraphicsMode>>(0);
    return s.modes;
}

}  // namespace

GraphicsModeList ListGraphicsModes() {
    const GraphicsModeList& modes = CachedModes();
    return modes->Resized(modes->Length());
}

int GraphicsModeCount() { return CachedModes()->Length(); }

void GetGraphicsModeInfo(int index, int& width, int& height, int& depth, int& hertz) {
    const Ref<TGraphicsMode>& m = (*CachedModes())[index];
    width = m->width;
    height = m->height;
    depth = m->depth;
    hertz = m->hertz;
}

int HasGraphicsMode(int width, int height, int depth, int hertz) {
    for (const Ref<TGraphicsMode>& m : *CachedModes()) {
        if ((width == 0 || m->width == width) && (height == 0 || m->height == height) &&
            (depth == 0 || m->depth == depth) && (hertz == 0 || m->hertz == hertz)) {
            return 1;
        }
    }
    return 0;
}

Ref<TGraphics> NewGraphics(int width, int height, int depth, int hertz, int flags) {
    GraphicsState& s = State();
    try {
        return s.currentDriver->CreateGraphics(width, height, depth, hertz, flags | s.defaultFlags);
    } catch (...) {
        return nullptr;
    }
}

Ref<TGraphics> AttachGraphicsToWindow(intptr_t windowHandle, int flags) {
    GraphicsState& s = State();
    try {
        return s.currentDriver->AttachGraphics(windowHandle, flags | s.defaultFlags);
    } catch (...) {
        return nullptr;
    }
}

void MakeGraphicsCurrent(const Ref<TGraphics>& graphics) {
    GraphicsState& s = State();
    Ref<TGraphics> g = graphics;  // the argument may be one of the globals cleared below
    if (!g) {
        ReleaseCurrentDriverGraphics(s);
        ClearCurrentSettings(s);
        return;
    }
    StartGraphicsModule();
    Ref<TGraphicsDriver> d = g->Driver();
    ChangeDriver(s, d);
    g->GetSettings(s.width, s.height, s.depth, s.hertz, s.flags);
    d->SetGraphics(g);
    s.currentGraphics = g;
}

void CloseGraphicsContext(const Ref<TGraphics>& graphics) {
    GraphicsState& s = State();
    Ref<TGraphics> g = graphics;  // the argument may be one of the globals cleared below
    if (g == s.openGraphics) s.openGraphics = nullptr;
    if (g == s.currentGraphics) MakeGraphicsCurrent(nullptr);
    g->Close();
}

Ref<TGraphics> CurrentGraphics() { return State().currentGraphics; }
int CurrentGraphicsWidth() { return State().width; }
int CurrentGraphicsHeight() { return State().height; }
int CurrentGraphicsDepth() { return State().depth; }
int CurrentGraphicsHertz() { return State().hertz; }
int CurrentGraphicsFlags() { return State().flags; }

Ref<TGraphics> OpenGraphics(int width, int height, int depth, int hertz, int flags) {
    GraphicsState& s = State();
    ShutDownGraphics();
    Ref<TGraphics> g = NewGraphics(width, height, depth, hertz, flags | s.defaultFlags);
    if (!g) return nullptr;
    BumpGraphicsSeq();
    MakeGraphicsCurrent(g);
    if (depth != 0) {
        s.softSync = false;
        s.vsyncDefault = hertz != 0;
        PlacePointer(width / 2, height / 2);
    } else {
        s.vsyncDefault = false;
        // A negative rate would give a negative frame period; pace only real rates.
        s.softSync = hertz > 0;
    }
    if (s.softSync) s.pacer.Start(hertz, MillisecondClock());
    AttachPolledInput(nullptr);
    s.openGraphics = g;
    if (!s.shutDownRegistered) {
        s.shutDownRegistered = true;
        AddExitHandler(ShutDownGraphics);
    }
    return g;
}

void FlipGraphics(int sync) {
    GraphicsState& s = State();
    CallHooks(s.flipHookId, nullptr);
    if (sync != -1) {
        s.currentDriver->Flip(sync);
        return;
    }
    if (s.openGraphics != s.currentGraphics) {
        s.currentDriver->Flip(1);
        return;
    }
    if (s.softSync) {
        int wait = s.pacer.NextWait(MillisecondClock());
        if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        s.currentDriver->Flip(0);
        return;
    }
    s.currentDriver->Flip(s.vsyncDefault ? 1 : 0);
}

void ShutDownGraphics() {
    GraphicsState& s = State();
    if (!s.openGraphics) return;
    BumpGraphicsSeq();
    DetachPolledInput();
    CloseGraphicsContext(s.openGraphics);
}

int FlipHookId() { return State().flipHookId; }

void StartGraphicsModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartHookModule();
    StartSystemModule();
    StartTimerModule();
    StartPolledInputModule();
    State().flipHookId = NewHookId();
}

}  // namespace vantrel
