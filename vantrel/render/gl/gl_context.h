// Window-system glue of the OpenGL graphics driver, on SDL2.
//
// A GLContext is one OpenGL context with its window: a window of its own
// (windowed or full screen) or a foreign window it was attached to. Records
// are kept in a list whose head is the newest. The first context asked for
// shares textures and display lists with the hidden shared context when
// ShareGLContexts has made one.
//
// Window class: every window is created with X11 WM_CLASS "Vantrel
// GLGraphics", the application title as caption and the built-in icon.
// Each window is registered with the system driver's event dispatch: its
// events are translated into the system's events (closing the window is a
// terminate request), and a full-screen window changes the display mode when
// it gains the focus and restores it when it loses the focus.
//
// Size: a window of its own keeps the size it was asked for, as the program
// sees it, whatever size the window system gives it: while its drawable has
// another size, drawing goes to a letterbox target (gl_letterbox_target.h)
// and mouse positions are mapped into the program's points. An attached
// window's size is its drawable's.
//
// Failure: creation returns nullptr when no window, pixel format or context
// can be had (nothing partial is left behind). A full-screen mode that the
// display refuses even without its frequency raises the runtime error
// "GLGraphicsDriver failed to set display mode".
//
// Main thread only.
#pragma once

#include <cstdint>

#include <vantrel/render/gl/gl_letterbox_target.h>
#include <vantrel/render/graphics.h>

struct SDL_Window;

namespace vantrel {

struct GLContext {
    int kind = 0;   // 0 hidden shared, 1 attached, 2 windowed, 3 full screen
    int width = 0, height = 0;   // the program's size
    int depth = 0, hertz = 0;
    int flags = 0;
    SDL_Window* window = nullptr;
    void* gl = nullptr;   // SDL_GLContext
    int swapInterval = -1;   // as last set; -1 before the first flip
    GLLetterboxTarget letterbox;   // active while the drawable has another size
    GLContext* next = nullptr;
};

inline constexpr int GLContextShared = 0;
inline constexpr int GLContextAttached = 1;
inline constexpr int GLContextWindowed = 2;
inline constexpr int GLContextFullScreen = 3;

// What a pixel format must at least have for a set of graphics flags; the
// system takes its closest match.
struct PixelFormatRequest {
    int doubleBuffer = 0;
    int colorBits = 1;   // per channel: any
    int alphaBits = 0;
    int depthBits = 0;
    int stencilBits = 0;
    int accumBits = 0;   // per channel
};
PixelFormatRequest PixelFormatFor(int flags);

// The rectangle, in desktop pixels, that puts a width x height client area
// in the middle of a desktop of the given size.
struct WindowPlacement {
    int left = 0, top = 0;
};
WindowPlacement CentredWindow(int desktopWidth, int desktopHeight, int width, int height);

// depth 0: a window centred on the desktop; else full screen at that depth.
GLContext* CreateGLContext(int width, int height, int depth, int hertz, int flags);
GLContext* AttachGLContext(intptr_t windowHandle, int flags);
void CloseGLContext(GLContext* context);
// Reads the settings; an attached window's size is read afresh.
void GetGLContextSettings(GLContext* context, int& width, int& height, int& depth, int& hertz, int& flags);
// nullptr makes no context current. Asking for the current one does nothing.
void MakeGLContextCurrent(GLContext* context);
GLContext* CurrentGLContext();
// Presents the current context's back buffer; the swap interval follows
// sync (set only when it changes).
void SwapGLBuffers(int sync);
// The current context's swap interval as last set: -1 before its first flip
// or with no context current.
int CurrentSwapInterval();
// The display's modes in the system's order (at most 1024, none below 16
// bits per pixel).
GraphicsModeList DisplayModes();
// Makes the hidden shared context once; exits the program when impossible.
void ShareGLContexts();

// Sets the window's X11 WM_CLASS (instance and class) when the window lives
// on an X11 display; does nothing elsewhere.
void SetX11WindowClass(SDL_Window* window, const char* name);

}  // namespace vantrel
