#include <vantrel/system/sdl/sdl_video.h>

#include <string>

#include <SDL.h>

namespace vantrel {
namespace {

bool IsUnseenDriver(const char* name) {
    return SDL_strcasecmp(name, "offscreen") == 0 || SDL_strcasecmp(name, "dummy") == 0 ||
           SDL_strcasecmp(name, "evdev") == 0;
}

// SDL's own order of preference, without the drivers nobody can see.
std::string VisibleDrivers() {
    std::string list;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* name = SDL_GetVideoDriver(i);
        if (!name || IsUnseenDriver(name)) continue;
        if (!list.empty()) list += ',';
        list += name;
    }
    return list;
}

}  // namespace

bool StartSDLVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!asked || !*asked) {
        std::string visible = VisibleDrivers();
        // An empty hint would let SDL try every driver again.
        if (visible.empty()) {
            SDL_SetError("SDL has no video driver that shows windows");
            return false;
        }
        // Default priority: a driver the program names later still wins.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, visible.c_str(), SDL_HINT_DEFAULT);
    }
#ifdef _WIN32
    RegisterWindowClass();
#endif
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

}  // namespace vantrel
