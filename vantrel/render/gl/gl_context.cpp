#include <vantrel/render/gl/gl_context.h>

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/program.h>
#include <vantrel/system/sdl/sdl_event_translator.h>
#include <vantrel/system/sdl/sdl_video.h>

namespace vantrel {

namespace {

constexpr const char* kWindowClass = "Vantrel GLGraphics";
constexpr int kMaxDisplayModes = 1024;

GLContext* contexts = nullptr;       // newest first
GLContext* sharedContext = nullptr;  // kind 0, not in the list
GLContext* current = nullptr;
GLContext* fullScreenContext = nullptr;

void RequestPixelFormat(int flags) {
    PixelFormatRequest f = PixelFormatFor(flags);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, f.colorBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, f.colorBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, f.colorBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, f.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, f.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, f.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, f.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, f.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, f.accumBits);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, f.accumBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, f.doubleBuffer);
    // The 2D driver draws with the fixed-function pipeline.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

// Creating a context makes it current; the context that was current before
// (or none) is current again afterwards.
SDL_GLContext CreateGL(SDL_Window* window) {
    if (sharedContext) {
        SDL_GL_MakeCurrent(sharedContext->window, sharedContext->gl);
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    }
    SDL_GLContext gl = SDL_GL_CreateContext(window);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (current) {
        SDL_GL_MakeCurrent(current->window, current->gl);
    } else {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
    return gl;
}

// A 16 x 16 picture drawn at twice its size: the emblem in its ring of shields.
constexpr const char* kIconRows[16] = {
    "................",
    ".....######.....",
    "...##......##...",
    "..#..........#..",
    ".#....oooo....#.",
    ".#...oOOOOo...#.",
    "#...oOOOOOOo...#",
    "#...oOOooOOo...#",
    "#...oOOooOOo...#",
    "#...oOOOOOOo...#",
    ".#...oOOOOo...#.",
    ".#....oooo....#.",
    "..#..........#..",
    "...##......##...",
    ".....######.....",
    "................",
};

struct IconColor {
    uint8_t r, g, b, a;
};

IconColor IconPixel(char c) {
    switch (c) {
        case '#': return {64, 224, 255, 255};
        case 'o': return {32, 128, 255, 255};
        case 'O': return {255, 255, 255, 255};
        default: return {0, 0, 0, 0};
    }
}

void SetWindowIcon(SDL_Window* window) {
    constexpr int kScale = 2;
    constexpr int kSize = 16 * kScale;
    static IconColor pixels[kSize * kSize];
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) pixels[y * kSize + x] = IconPixel(kIconRows[y / kScale][x / kScale]);
    }
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, kSize, kSize, 32, kSize * 4,
                                                           SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

void Link(GLContext* c) {
    c->next = contexts;
    contexts = c;
}

void Unlink(GLContext* c) {
    for (GLContext** p = &contexts; *p; p = &(*p)->next) {
        if (*p == c) {
            *p = c->next;
            c->next = nullptr;
            return;
        }
    }
}

// Runs f with context c current, which need not be the current one (a
// full-screen window changes its mode while another context, or none, may
// be current; any window may be resized).
template <class F>
void WithContext(GLContext* c, F f) {
    if (c != current) SDL_GL_MakeCurrent(c->window, c->gl);
    f();
    if (c == current) return;
    if (current) {
        SDL_GL_MakeCurrent(current->window, current->gl);
    } else {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
}

void SetSwapInterval(GLContext* c, int interval) {
    WithContext(c, [&] {
        SDL_GL_SetSwapInterval(interval);   // silently ignored where unsupported
        c->swapInterval = interval;
    });
}

// A window of its own whose drawable has left the program's size draws
// into the letterbox target; one back at that size draws to the window.
// Mouse positions are mapped while the target shows the picture.
void FitDrawable(GLContext* c) {
    if (c->kind != GLContextWindowed && c->kind != GLContextFullScreen) return;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(c->window, &width, &height);
    bool same = width == c->width && height == c->height;
    if (same != c->letterbox.Active()) return;
    WithContext(c, [&] {
        if (same) {
            c->letterbox.Destroy();
        } else {
            c->letterbox.Create(c->width, c->height, c->flags);
        }
    });
    bool mapped = c->letterbox.Active();
    SetSDLWindowProgramSize(SDL_GetWindowID(c->window), mapped ? c->width : 0, mapped ? c->height : 0);
}

bool ApplyDisplayMode(GLContext* c, bool withRate) {
    int display = SDL_GetWindowDisplayIndex(c->window);
    if (display < 0) return false;
    int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
        if (m.w != c->width || m.h != c->height) continue;
        if (static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8 != c->depth) continue;
        if (withRate && m.refresh_rate != c->hertz) continue;
        return SDL_SetWindowDisplayMode(c->window, &m) == 0 &&
               SDL_SetWindowFullscreen(c->window, SDL_WINDOW_FULLSCREEN) == 0;
    }
    return false;
}

// The display takes the context's mode while its window has the focus.
void EnterFullScreen(GLContext* c) {
    bool withRate = c->hertz != 0 && ApplyDisplayMode(c, true);
    if (!withRate && !ApplyDisplayMode(c, false)) {
        RaiseRuntimeError("GLGraphicsDriver failed to set display mode");
    }
    fullScreenContext = c;
    SetSwapInterval(c, withRate ? 1 : 0);
}

void LeaveFullScreen() {
    GLContext* c = fullScreenContext;
    fullScreenContext = nullptr;
    SDL_SetWindowFullscreen(c->window, 0);
    SDL_MinimizeWindow(c->window);
    SetSwapInterval(c, 0);
}

// The window procedure: events become the system's events first; a
// full-screen window then changes the display mode when it gains the focus
// and restores it when it loses the focus.
void GLWindowProc(const SDL_Event& event, void* context) {
    TranslateSDLEvent(event, nullptr);
    if (event.type != SDL_WINDOWEVENT) return;
    auto* c = static_cast<GLContext*>(context);
    if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        FitDrawable(c);
    } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        if (c->kind == GLContextFullScreen && c != fullScreenContext) EnterFullScreen(c);
    } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        if (c == fullScreenContext) LeaveFullScreen();
    }
}

}  // namespace

PixelFormatRequest PixelFormatFor(int flags) {
    PixelFormatRequest f;
    f.doubleBuffer = (flags & GraphicsBackBuffer) ? 1 : 0;
    f.alphaBits = (flags & GraphicsAlphaBuffer) ? 1 : 0;
    f.depthBits = (flags & GraphicsDepthBuffer) ? 1 : 0;
    f.stencilBits = (flags & GraphicsStencilBuffer) ? 1 : 0;
    f.accumBits = (flags & GraphicsAccumBuffer) ? 1 : 0;
    return f;
}

WindowPlacement CentredWindow(int desktopWidth, int desktopHeight, int width, int height) {
    return {desktopWidth / 2 - width / 2, desktopHeight / 2 - height / 2};
}

GLContext* CreateGLContext(int width, int height, int depth, int hertz, int flags) {
    if (width <= 0 || height <= 0 || !StartSDLVideo()) return nullptr;
    bool fullScreen = depth != 0;
    Uint32 windowFlags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int left = 0, top = 0;
    if (fullScreen) {
        windowFlags |= SDL_WINDOW_BORDERLESS;
    } else {
        SDL_Rect desktop{0, 0, 0, 0};
        if (SDL_GetDisplayBounds(0, &desktop) != 0) return nullptr;
        WindowPlacement p = CentredWindow(desktop.w, desktop.h, width, height);
        left = desktop.x + p.left;
        top = desktop.y + p.top;
    }
    RequestPixelFormat(flags);
    SDL_Window* window = SDL_CreateWindow(AppTitle().ToUtf8().c_str(), left, top, width, height, windowFlags);
    if (!window) return nullptr;
    SDL_GLContext gl = CreateGL(window);
    if (!gl) {
        SDL_DestroyWindow(window);
        return nullptr;
    }
    SetX11WindowClass(window, kWindowClass);
#ifdef _WIN32
    if (!ProgramHasIcon())   // a program's own icon came with the window class
#endif
    SetWindowIcon(window);

    auto* c = new GLContext;
    c->kind = fullScreen ? GLContextFullScreen : GLContextWindowed;
    c->width = width;
    c->height = height;
    c->depth = depth;
    c->hertz = hertz;
    c->flags = flags;
    c->window = window;
    c->gl = gl;
    Link(c);
    RegisterSDLWindow(SDL_GetWindowID(window), nullptr, GLWindowProc, c);
    SDL_ShowWindow(window);
    FitDrawable(c);
    if (fullScreen) {
        // The window takes the focus as it appears.
        SDL_RaiseWindow(window);
        try {
            EnterFullScreen(c);
        } catch (...) {
            CloseGLContext(c);
            throw;
        }
    }
    return c;
}

GLContext* AttachGLContext(intptr_t windowHandle, int flags) {
    if (windowHandle == 0 || !StartSDLVideo()) return nullptr;
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    RequestPixelFormat(flags);
    SDL_Window* window = SDL_CreateWindowFrom(reinterpret_cast<const void*>(windowHandle));
    if (!window) return nullptr;
    SDL_GLContext gl = CreateGL(window);
    if (!gl) {
        SDL_DestroyWindow(window);   // leaves the foreign window itself alone
        return nullptr;
    }
    auto* c = new GLContext;
    c->kind = GLContextAttached;
    SDL_GL_GetDrawableSize(window, &c->width, &c->height);
    c->flags = flags;
    c->window = window;
    c->gl = gl;
    Link(c);
    RegisterSDLWindow(SDL_GetWindowID(window), nullptr, GLWindowProc, c);
    return c;
}

void CloseGLContext(GLContext* c) {
    if (!c) return;
    Unlink(c);
    if (c == current) MakeGLContextCurrent(nullptr);
    if (c == fullScreenContext) LeaveFullScreen();
    if (c->letterbox.Active()) WithContext(c, [c] { c->letterbox.Destroy(); });
    SDL_GL_DeleteContext(c->gl);
    UnregisterSDLWindow(SDL_GetWindowID(c->window));
    // For an attached window SDL frees only its own record, not the window.
    SDL_DestroyWindow(c->window);
    delete c;
}

void GetGLContextSettings(GLContext* c, int& width, int& height, int& depth, int& hertz, int& flags) {
    if (c->kind == GLContextAttached) SDL_GL_GetDrawableSize(c->window, &c->width, &c->height);
    width = c->width;
    height = c->height;
    depth = c->depth;
    hertz = c->hertz;
    flags = c->flags;
}

void MakeGLContextCurrent(GLContext* c) {
    if (c == current) return;
    if (c) {
        SDL_GL_MakeCurrent(c->window, c->gl);
    } else {
        SDL_GL_MakeCurrent(nullptr, nullptr);
    }
    current = c;
}

GLContext* CurrentGLContext() { return current; }

void SwapGLBuffers(int sync) {
    if (!current) return;
    int interval = sync != 0 ? 1 : 0;
    if (interval != current->swapInterval) SetSwapInterval(current, interval);
    if (current->letterbox.Active()) {
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(current->window, &width, &height);
        current->letterbox.Present(width, height);
    }
    SDL_GL_SwapWindow(current->window);
}

int CurrentSwapInterval() { return current ? current->swapInterval : -1; }

GraphicsModeList DisplayModes() {
    std::vector<Ref<TGraphicsMode>> modes;
    if (StartSDLVideo()) {
        int count = SDL_GetNumDisplayModes(0);
        if (count > kMaxDisplayModes) count = kMaxDisplayModes;
        for (int i = 0; i < count; ++i) {
            SDL_DisplayMode m;
            if (SDL_GetDisplayMode(0, i, &m) != 0) continue;
            int bits = static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8;
            if (bits < 16) continue;
            modes.push_back(MakeRef<TGraphicsMode>(m.w, m.h, bits, m.refresh_rate));
        }
    }
    return GraphicsModeList(new TArray<Ref<TGraphicsMode>>(std::move(modes)));
}

void ShareGLContexts() {
    if (sharedContext) return;
    SDL_Window* window = nullptr;
    SDL_GLContext gl = nullptr;
    if (StartSDLVideo()) {
        RequestPixelFormat(0);
        window = SDL_CreateWindow(kWindowClass, 0, 0, 1, 1,
                                  SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    }
    if (window) gl = CreateGL(window);
    if (!gl) {
        // Every context made from now on would lack the shared textures.
        std::fprintf(stderr, "Unable to create the shared OpenGL context: %s\n", SDL_GetError());
        std::fflush(stderr);
        RunExitHandlers();
        std::exit(EXIT_FAILURE);
    }
    sharedContext = new GLContext;
    sharedContext->kind = GLContextShared;
    sharedContext->width = sharedContext->height = 1;
    sharedContext->window = window;
    sharedContext->gl = gl;
}

}  // namespace vantrel
