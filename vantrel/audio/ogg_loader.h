// The OGG sample loader: Ogg Vorbis files decoded whole through libvorbisfile
// into mono or stereo 16-bit samples. Files the library refuses, other
// channel counts, and streams that end before the PCM length they declare give
// Null; the declared length is never trusted for allocation: the sample's own
// storage grows only with data actually decoded, and no second copy of the PCM
// is made. An exception raised by the stream inside the library's read is
// carried past its frames and raised again once the decoder is cleared.
// A progressive load hands out a sample longer than two seconds once those
// are decoded, its storage reserved whole, and decodes the rest into it; a
// stream error or early end after that is recorded in the sample's fill.
// Any thread (the chain must be built first): a load touches only its own
// stream, decoder and sample.
#pragma once

#include <vantrel/audio/sample_loader.h>

namespace vantrel {

class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
    Ref<TAudioSample> LoadAudioSampleProgressively(const Ref<TStream>& stream, const SampleHandout& handout) override;

private:
    Ref<TAudioSample> Load(const Ref<TStream>& stream, const SampleHandout& handout);
};

// Registers the OGG loader once.
void StartOggLoaderModule();

}  // namespace vantrel
