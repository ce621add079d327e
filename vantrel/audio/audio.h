// Everything a program needs to play sound, in one include: the audio front
// (sounds, channels, driver registry) and the module start functions of the
// mixer-backed drivers and the sample loaders. A program starts them in this
// order: StartAudioModule, StartSonvarDriverModule, StartOggLoaderModule,
// StartWavLoaderModule (so WAV is tried before OGG). Main thread only.
#pragma once

#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample.h>
#include <vantrel/audio/sample_loader.h>
#include <vantrel/audio/sonvar_driver.h>
#include <vantrel/audio/wav_loader.h>
