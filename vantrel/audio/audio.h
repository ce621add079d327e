// Everything a program needs to play sound, in one include: the audio front
// (sounds, channels, driver registry), the module start functions of the
// mixer-backed drivers and the sample loaders, and OpenAudio, which starts
// all of them and chooses a driver in one call.
//
// Programs that want their own driver choice start the modules themselves
// in this order: StartAudioModule, StartSonvarDriverModule,
// StartOggLoaderModule, StartWavLoaderModule (so WAV is tried before OGG),
// then SelectAudioDriver. Main thread only.
#pragma once

#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample.h>
#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/audio/sample_loader.h>
#include <vantrel/audio/sonvar_driver.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/runtime/string.h>

namespace vantrel {

// Starts the audio modules and the WAV and OGG loaders, then makes current
// the first of "Sonvar DirectSound", "Sonvar Multimedia" and "Null" that
// starts, and returns its name. "Null" (silent) always starts, so sound
// calls work afterwards either way; the name says whether anything will be
// heard. Like SelectAudioDriver, it first shuts down the driver that was
// current, so calling it again chooses afresh.
String OpenAudio();

}  // namespace vantrel
