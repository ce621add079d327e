// SDL's video subsystem, started on a driver whose windows can be seen.
//
// Where no display answers, SDL falls back to its "offscreen" or "dummy"
// video driver, on which windows open, draw and never appear: a program
// would run unseen until killed. Those drivers (and "evdev", the dummy with
// console input) are used only when SDL_VIDEODRIVER names one; otherwise
// starting video fails without a display and opening graphics reports it.
//
// Wayland is left out of SDL's order where libwayland-client could not find
// a compositor's socket anyway (no WAYLAND_SOCKET, no absolute
// WAYLAND_DISPLAY, no absolute XDG_RUNTIME_DIR): trying it there only prints
// libwayland's complaint on stderr before X11 starts. When no driver starts,
// the error names that reason too. A driver named in SDL_VIDEODRIVER is
// always tried as named.
//
// Main thread only.
#pragma once

namespace vantrel {

// Starts SDL's video subsystem unless it runs already. False when no
// acceptable driver starts; SDL_GetError then says why.
bool StartSDLVideo();

#ifdef _WIN32
// Window class and icon (window_class_win32.cpp): registers the class
// "Vantrel GLGraphics" for SDL's windows, with the program's icon resource
// 101 when ProgramHasIcon.
void RegisterWindowClass();
bool ProgramHasIcon();
#endif

}  // namespace vantrel
