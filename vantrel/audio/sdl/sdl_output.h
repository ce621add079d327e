// Shared SDL set-up of the output devices: the audio subsystem and the
// 44100 Hz signed 16-bit stereo device both devices open. Main thread.
#pragma once

#include <SDL.h>

namespace vantrel {

// Opens the default output in the mixer's format; 0 on failure. With no
// callback the device is in queue mode. The device starts paused.
SDL_AudioDeviceID OpenSDLOutput(int frames, SDL_AudioCallback callback, void* user);

#ifdef _WIN32
// Runs SDL's audio subsystem on the named output driver ("directsound" or
// "winmm"), restarting it when it runs on another; SDL_AUDIODRIVER, when
// set, still wins. False when the driver does not start.
bool UseWindowsAudioOutput(const char* driver);
#endif

}  // namespace vantrel
