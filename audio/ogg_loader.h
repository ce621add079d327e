// The OGG sample loader: Ogg Vorbis files decoded whole through libvorbisfile
// into mono or stereo 16-bit samples. Files the library refuses, other
// channel counts, and streams that end before the PCM length they declare give
// Null; the declared length is never trusted for allocation, the buffer grows
// only with data actually decoded. An exception raised by the stream inside
// the library's read is carried past its frames and raised again once the
// decoder is cleared. Main thread.
#pragma once

#include "audio/sample_loader.h"

namespace vantrel {

class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
};

// Registers the OGG loader once.
void StartOggLoaderModule();

}  // namespace vantrel
