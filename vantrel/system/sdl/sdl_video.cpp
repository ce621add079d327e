#include <vantrel/system/sdl/sdl_video.h>

#include <cstdlib>
#include <string>

#include <SDL.h>

namespace vantrel {
namespace {

constexpr const char* kNoWaylandSocket = "Wayland: XDG_RUNTIME_DIR is invalid or not set in the environment";

bool IsUnseenDriver(const char* name) {
    return SDL_strcasecmp(name, "offscreen") == 0 || SDL_strcasecmp(name, "dummy") == 0 ||
           SDL_strcasecmp(name, "evdev") == 0;
}

bool IsAbsolutePath(const char* path) { return path && path[0] == '/'; }

// libwayland-client finds the compositor's socket through WAYLAND_SOCKET, an
// absolute WAYLAND_DISPLAY or XDG_RUNTIME_DIR; without any of them it cannot
// connect, and says so on stderr, even when X11 then takes over.
bool WaylandSocketFindable() {
    return std::getenv("WAYLAND_SOCKET") || IsAbsolutePath(std::getenv("WAYLAND_DISPLAY")) ||
           IsAbsolutePath(std::getenv("XDG_RUNTIME_DIR"));
}

// SDL's own order of preference, without the drivers nobody can see and
// without Wayland where it cannot connect.
std::string VisibleDrivers(bool& waylandLeftOut) {
    std::string list;
    waylandLeftOut = false;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (!name || IsUnseenDriver(name)) continue;
        if (SDL_strcasecmp(name, "wayland") == 0 && !WaylandSocketFindable()) {
            waylandLeftOut = true;
            continue;
        }
        if (!list.empty()) list += ',';
        list += name;
    }
    return list;
}

}  // namespace

bool StartSDLVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
#ifdef _WIN32
    RegisterWindowClass();
#endif
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked) return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    bool waylandLeftOut = false;
    std::string visible = VisibleDrivers(waylandLeftOut);
    // An empty hint would let SDL try every driver again.
    if (visible.empty()) {
        SDL_SetError("SDL has no video driver that shows windows%s%s", waylandLeftOut ? "; " : "",
                     waylandLeftOut ? kNoWaylandSocket : "");
        return false;
    }
    // Default priority: a driver the program names later still wins.
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, visible.c_str(), SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    // The reason Wayland was not tried belongs with the others' reasons.
    if (waylandLeftOut) SDL_SetError("%s; %s", std::string(SDL_GetError()).c_str(), kNoWaylandSocket);
    return false;
}

}  // namespace vantrel
