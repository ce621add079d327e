#include "x11_helpers.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vantrel::testing {

namespace {

bool X11Info(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

}  // namespace

void X11IconSize(SDL_Window* window, int& width, int& height) {
    width = height = 0;
    SDL_SysWMinfo info;
    if (!X11Info(window, info)) return;
    Display* display = info.info.x11.display;
    Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, info.info.x11.window, icon, 0, 2, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) != Success || !data) {
        return;
    }
    if (count == 2) {
        const auto* words = reinterpret_cast<const unsigned long*>(data);
        width = static_cast<int>(words[0]);
        height = static_cast<int>(words[1]);
    }
    XFree(data);
}

std::string X11WindowClass(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11Info(window, info)) return "";
    XClassHint hint{};
    if (!XGetClassHint(info.info.x11.display, info.info.x11.window, &hint)) return "";
    std::string name = std::string(hint.res_name) + "/" + hint.res_class;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

long X11WindowPixel(SDL_Window* window, int x, int y) {
    SDL_SysWMinfo info;
    if (!X11Info(window, info)) return -1;
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return -1;
    long pixel = static_cast<long>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

void RequestX11Close(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11Info(window, info)) return;
    // Through a connection of its own, so the message comes from the server.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = info.info.x11.window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, info.info.x11.window, False, NoEventMask, &close);
    XCloseDisplay(display);
}

ForeignX11Window::ForeignX11Window(int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    _display = display;
    if (!display) return;
    _window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), 0, 0, 0);
    XMapWindow(display, _window);
    XSync(display, False);
}

ForeignX11Window::~ForeignX11Window() {
    auto* display = static_cast<Display*>(_display);
    if (!display) return;
    XDestroyWindow(display, _window);
    XCloseDisplay(display);
}

int ForeignX11Window::ServerWidth() const {
    auto* display = static_cast<Display*>(_display);
    XWindowAttributes attributes;
    if (!display || !XGetWindowAttributes(display, _window, &attributes)) return -1;
    return attributes.width;
}

}  // namespace vantrel::testing
