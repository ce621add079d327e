// Kept apart because Xlib's headers define short macro names (None, Bool,
// Status) that would leak into the rest of the glue.
#include <SDL.h>
#include <SDL_syswm.h>

#include <vantrel/render/gl/gl_context.h>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xutil.h>
#endif

namespace vantrel {

void SetX11WindowClass(SDL_Window* window, const char* name) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    // SDL loads Xlib at run time; so do we, so that the program does not
    // depend on X11 where SDL runs on another window system.
    static void* xlib = SDL_LoadObject("libX11.so.6");
    if (!xlib) return;
    using SetClassHint = int (*)(Display*, Window, XClassHint*);
    auto setClassHint = reinterpret_cast<SetClassHint>(SDL_LoadFunction(xlib, "XSetClassHint"));
    if (!setClassHint) return;
    char instance[64];
    SDL_strlcpy(instance, name, sizeof instance);
    XClassHint hint{instance, instance};
    setClassHint(info.info.x11.display, info.info.x11.window, &hint);
#else
    (void)window;
    (void)name;
#endif
}

}  // namespace vantrel
