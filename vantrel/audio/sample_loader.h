// The sample loader chain: each loader turns a stream in its own format into
// a TAudioSample. The most recently created loader is asked first; loaders are
// never removed.
//
// A loader returns Null when the stream is not in its format; a
// TStreamException raised inside a loader counts as such a refusal, every
// other exception passes through. LoadSampleFromUrl raises the runtime error
// "Stream is not seekable" for a stream that cannot tell its position.
// Main thread (the chain is built during module start-up).
#pragma once

#include <vantrel/audio/sample.h>
#include <vantrel/resources/stream.h>

namespace vantrel {

class TAudioSampleLoader : public Object {
public:
    virtual Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) = 0;

    Ref<TAudioSampleLoader> _succ;

protected:
    // Links the new loader in at the head of the chain, which keeps it for the
    // rest of the run. Create loaders with MakeRef only.
    TAudioSampleLoader();
};

Ref<TAudioSampleLoader> AudioSampleLoaders();

// Opens url for reading and asks every loader in turn, each from the same
// start position; closes the stream. Null when nothing recognised the data.
// Once the chains are built any thread may call it, each with streams of its
// own.
Ref<TAudioSample> LoadSampleFromUrl(const Ref<Object>& url);

}  // namespace vantrel
