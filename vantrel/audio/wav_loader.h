// The WAV sample loader: RIFF/WAVE files holding 8 or 16-bit PCM, mono or
// stereo. Anything else (other encodings, sizes or chunk orders, a rate of 0
// or less, truncated or inconsistent files) gives Null so that the next loader
// is tried; a declared data size is checked against the bytes the stream still
// holds before anything is allocated. Main thread.
#pragma once

#include <vantrel/audio/sample_loader.h>

namespace vantrel {

class TAudioSampleLoaderWAV : public TAudioSampleLoader {
public:
    Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
};

// The 4-character tag read from the next 4 bytes ("" after a short read).
String ReadChunkTag(const Ref<TStream>& stream);

// Registers the WAV loader once (after the byte-order streams it reads with).
void StartWavLoaderModule();

}  // namespace vantrel
