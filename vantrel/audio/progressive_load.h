// Loading a sample that is handed out before all its frames are decoded, so
// that a long sound can start playing from its first seconds while the rest
// decodes (the sample's fill, sample_fill.h, tracks how far). The engine's
// loads ahead use it; games see only the sample.
//
// A progressive loader hands the sample to `handout` once its first frames
// are in, goes on decoding on the same thread, and returns the same sample,
// whose fill tells how decoding ended; a failure before the hand-out gives
// Null as LoadAudioSample does. Threads: as LoadSampleFromUrl.
#pragma once

#include <functional>

#include <vantrel/audio/sample.h>
#include <vantrel/resources/stream.h>

namespace vantrel {

using SampleHandout = std::function<void(const Ref<TAudioSample>&)>;

// Implemented beside TAudioSampleLoader by the loaders of the chain that can
// hand a sample out early.
class TProgressiveSampleLoader {
public:
    virtual Ref<TAudioSample> LoadAudioSampleProgressively(const Ref<TStream>& stream,
                                                           const SampleHandout& handout) = 0;

protected:
    ~TProgressiveSampleLoader() = default;
};

// LoadSampleFromUrl, but a loader that can hands the sample out early.
Ref<TAudioSample> ReadSampleFromUrl(const Ref<Object>& url, const SampleHandout& handout);

}  // namespace vantrel
