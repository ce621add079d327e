// Graphics contexts, display modes and page flip: the driver-neutral layer.
//
// A graphics is a window (or a full-screen display) with a rendering context,
// made by a TGraphicsDriver. The procedures below keep the current driver,
// the graphics made current, its settings, the graphics opened by
// OpenGraphics and the software frame pacing of FlipGraphics. They are thin
// fronts: apart from the driver selection and opening calls, they assume a
// current driver and do not check for one.
//
// Failure: creation reports failure by returning Null (an exception raised
// by a driver while creating is caught and becomes Null); contract
// violations raise the runtime's exceptions.
//
// Main thread only.
#pragma once

#include <cstdint>

#include <vantrel/runtime/array.h>
#include <vantrel/runtime/object.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

// Graphics flags, combined by OR; each asks the pixel format for a buffer.
inline constexpr int GraphicsBackBuffer = 2;
inline constexpr int GraphicsAlphaBuffer = 4;
inline constexpr int GraphicsDepthBuffer = 8;
inline constexpr int GraphicsStencilBuffer = 16;
inline constexpr int GraphicsAccumBuffer = 32;

// One display mode as a driver reports it. Text form: "800,600,32 60Hz".
class TGraphicsMode : public Object {
public:
    TGraphicsMode() = default;
    TGraphicsMode(int w, int h, int bits, int refresh) : width(w), height(h), depth(bits), hertz(refresh) {}
    String ToString() const override;

    int width = 0;
    int height = 0;
    int depth = 0;   // bits per pixel
    int hertz = 0;   // refresh rate
};

using GraphicsModeList = Array<Ref<TGraphicsMode>>;

class TGraphicsDriver;

// A drawing context made by a driver. Depth 0 in the settings means windowed.
class TGraphics : public Object {
public:
    virtual Ref<TGraphicsDriver> Driver() = 0;
    virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) = 0;
    // Releases the window and context; the object stays valid but inert.
    virtual void Close() = 0;
};

class TGraphicsDriver : public Object {
public:
    virtual GraphicsModeList GraphicsModes() = 0;
    // windowHandle is the platform's native window handle (an X11 Window id,
    // an HWND, ...). Null when no context can be made for it.
    virtual Ref<TGraphics> AttachGraphics(intptr_t windowHandle, int flags) = 0;
    // depth 0: a window; any other depth: full screen at that depth.
    virtual Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) = 0;
    // Makes g current for this driver; Null makes none current.
    virtual void SetGraphics(const Ref<TGraphics>& g) = 0;
    // Presents the back buffer; sync 0 no wait, 1 wait for vertical blank.
    virtual void Flip(int sync) = 0;
};

// Generation counter of graphics contexts, never 0. It changes when
// graphics are opened or closed and when a driver is selected; anything
// made for the old value (textures, image frames) must be rebuilt.
int GraphicsSeq();
// Advances GraphicsSeq (skipping 0).
void BumpGraphicsSeq();

void SelectGraphicsDriver(const Ref<TGraphicsDriver>& driver, int defaultFlags);
Ref<TGraphicsDriver> CurrentGraphicsDriver();
int GetDefaultGraphicsFlags();

// The current driver's modes, asked once per driver; the result is a copy.
GraphicsModeList ListGraphicsModes();
int GraphicsModeCount();
void GetGraphicsModeInfo(int index, int& width, int& height, int& depth, int& hertz);
// 1 if some listed mode matches every argument that is not 0.
int HasGraphicsMode(int width, int height, int depth, int hertz);

Ref<TGraphics> NewGraphics(int width, int height, int depth, int hertz, int flags);
Ref<TGraphics> AttachGraphicsToWindow(intptr_t windowHandle, int flags);
void MakeGraphicsCurrent(const Ref<TGraphics>& g);
void CloseGraphicsContext(const Ref<TGraphics>& g);

Ref<TGraphics> CurrentGraphics();
int CurrentGraphicsWidth();
int CurrentGraphicsHeight();
int CurrentGraphicsDepth();
int CurrentGraphicsHertz();
int CurrentGraphicsFlags();

// Closes the graphics opened earlier, opens and makes current new ones and
// chooses the frame pacing; Null when they cannot be made.
Ref<TGraphics> OpenGraphics(int width, int height, int depth, int hertz, int flags);
// sync: -1 the pacing chosen by OpenGraphics, 0 no wait, 1 vertical blank.
void FlipGraphics(int sync);
// Closes the graphics opened by OpenGraphics, if any. Runs at program exit.
void ShutDownGraphics();

// The hook chain run (with Null data) at the start of every FlipGraphics.
int FlipHookId();

void StartGraphicsModule();

}  // namespace vantrel
