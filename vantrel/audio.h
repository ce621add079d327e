// Sound in one include: the audio front (sounds, channels, drivers), the
// mixer-backed drivers, samples (with the fill of one still decoding) and
// their WAV and OGG loaders, and the byte-order streams.
#pragma once

#include <vantrel/audio/audio.h>
#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/endian_stream.h>
#include <vantrel/audio/fill_progress.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample.h>
#include <vantrel/audio/sample_fill.h>
#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/audio/sample_loader.h>
#include <vantrel/audio/sonvar_driver.h>
#include <vantrel/audio/wav_loader.h>
