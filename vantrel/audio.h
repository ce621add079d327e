// Sound in one include: the audio front (sounds, channels, drivers), the
// mixer-backed drivers, samples and their WAV and OGG loaders, samples loaded
// ahead, and the byte-order streams.
#pragma once

#include <vantrel/audio/audio.h>
#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/endian_stream.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample.h>
#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/audio/sample_loader.h>
#include <vantrel/audio/sonvar_driver.h>
#include <vantrel/audio/wav_loader.h>
