// The OGG sample loader: Ogg Vorbis files decoded whole through libvorbisfile
// into mono or stereo 16-bit samples. A damaged stretch inside a file is
// skipped, the frames it lost made up with silence at the end. Files the
// library refuses, other channel counts, hard decoding errors and streams
// that end before the PCM length they declare (with no damage to account for
// it) give Null; the declared length is never trusted for allocation: the
// sample's own storage grows only with data actually decoded, and no second
// copy of the PCM is made. An exception raised by the stream inside the
// library's read is carried past its frames and raised again once the
// decoder is cleared.
// Any thread (the chain must be built first): a load touches only its own
// stream, decoder and sample.
#pragma once

#include <vantrel/audio/sample_loader.h>

namespace vantrel {

class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
};

// Registers the OGG loader once.
void StartOggLoaderModule();

}  // namespace vantrel
