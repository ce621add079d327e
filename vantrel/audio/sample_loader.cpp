#include <vantrel/audio/sample_loader.h>

#include <vantrel/audio/progressive_load.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

namespace {

Ref<TAudioSampleLoader>& ChainHead() {
    static Ref<TAudioSampleLoader> head;
    return head;
}

}  // namespace

TAudioSampleLoader::TAudioSampleLoader() {
    _succ = ChainHead();
    ChainHead() = Ref<TAudioSampleLoader>(this);
}

Ref<TAudioSampleLoader> AudioSampleLoaders() { return ChainHead(); }

Ref<TAudioSample> LoadSampleFromUrl(const Ref<Object>& url) { return ReadSampleFromUrl(url, nullptr); }

Ref<TAudioSample> ReadSampleFromUrl(const Ref<Object>& url, const SampleHandout& handout) {
    Ref<TStream> stream = OpenReadStream(url);
    if (!stream) return nullptr;
    const int start = stream->Pos();
    if (start == -1) RaiseRuntimeError("Stream is not seekable");
    Ref<TAudioSample> sample;
    for (Ref<TAudioSampleLoader> loader = ChainHead(); loader && !sample; loader = loader->_succ) {
        stream->Seek(start);
        try {
            auto* progressive = handout ? dynamic_cast<TProgressiveSampleLoader*>(loader.get()) : nullptr;
            sample = progressive ? progressive->LoadAudioSampleProgressively(stream, handout)
                                 : loader->LoadAudioSample(stream);
        } catch (const TStreamException&) {
            // The data ended or could not be read: not this loader's format.
        }
    }
    stream->Close();
    return sample;
}

}  // namespace vantrel
