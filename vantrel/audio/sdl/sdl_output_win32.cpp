// UseWindowsAudioOutput (see sdl_output.h): SDL runs one audio output driver
// at a time, so the device of each Sonvar driver restarts SDL's audio on
// its own. Main thread, with no SDL audio device open.
#include <vantrel/audio/sdl/sdl_output.h>

namespace vantrel {

bool UseWindowsAudioOutput(const char* driver) {
    // Default priority: SDL_AUDIODRIVER (a test's "dummy" or "disk") wins.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_DEFAULT);
    const char* wanted = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    if (SDL_WasInit(SDL_INIT_AUDIO)) {
        const char* current = SDL_GetCurrentAudioDriver();
        if (current && wanted && SDL_strcasecmp(current, wanted) == 0) return true;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace vantrel
