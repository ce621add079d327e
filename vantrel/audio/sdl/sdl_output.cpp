#include <vantrel/audio/sdl/sdl_output.h>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>

namespace vantrel {

bool AudioOutputAvailable() {
    return SDL_WasInit(SDL_INIT_AUDIO) != 0 || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

SDL_AudioDeviceID OpenSDLOutput(int frames, SDL_AudioCallback callback, void* user) {
#ifdef _WIN32
    // The names say what plays: "Sonvar DirectSound" (the pulled device)
    // on SDL's DirectSound output, "Sonvar Multimedia" (queue mode) on
    // wave-out.
    if (!UseWindowsAudioOutput(callback ? "directsound" : "winmm")) return 0;
#endif
    if (!AudioOutputAvailable()) return 0;
    SDL_AudioSpec want{};
    want.freq = kMixerRate;
    want.format = AUDIO_S16SYS;
    want.channels = kMixerChannels;
    want.samples = static_cast<Uint16>(frames);
    want.callback = callback;
    want.userdata = user;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

}  // namespace vantrel
