// Direct X11 access for the display tests, kept out of the test files
// because Xlib's macros (None, Bool, Status) clash with GoogleTest.
#pragma once

#include <cstdint>
#include <string>

struct SDL_Window;

namespace vantrel::testing {

// "instance/class" of the window's WM_CLASS, or "" when it has none.
std::string X11WindowClass(SDL_Window* window);

// Width and height of the first image in the window's _NET_WM_ICON, or 0, 0.
void X11IconSize(SDL_Window* window, int& width, int& height);

// The window's pixel (x, y) as the X server shows it, 0xRRGGBB; -1 when it
// cannot be read.
long X11WindowPixel(SDL_Window* window, int x, int y);

// Asks the window to close as a window manager does (WM_DELETE_WINDOW).
void RequestX11Close(SDL_Window* window);

// A mapped top-level window on the default display that SDL knows nothing of.
class ForeignX11Window {
public:
    ForeignX11Window(int width, int height);
    ~ForeignX11Window();
    intptr_t Handle() const { return static_cast<intptr_t>(_window); }
    // The window's width as the server sees it, or -1 when it is gone.
    int ServerWidth() const;

private:
    void* _display = nullptr;
    unsigned long _window = 0;
};

}  // namespace vantrel::testing
