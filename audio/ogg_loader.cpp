#include "audio/ogg_loader.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <exception>

namespace vantrel {

namespace {

// What the library's callbacks see: the stream, and the first exception it
// raised, kept until the library has returned.
struct OggSource {
    TStream* stream;
    std::exception_ptr error;
};

size_t ReadCallback(void* ptr, size_t size, size_t count, void* source) {
    auto* src = static_cast<OggSource*>(source);
    if (size == 0 || src->error) return 0;
    try {
        const size_t want = size * count;
        const int got = src->stream->Read(ptr, static_cast<int>(want > INT_MAX ? INT_MAX : want));
        return static_cast<size_t>(got < 0 ? 0 : got) / size;
    } catch (...) {
        src->error = std::current_exception();
        errno = EIO;   // the library tells a failed read from the end by errno
        return 0;
    }
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    auto* src = static_cast<OggSource*>(source);
    if (src->error) return -1;
    try {
        TStream& s = *src->stream;
        const int delta = static_cast<int>(static_cast<uint32_t>(offset));
        int result;
        switch (whence) {
        case SEEK_SET: result = s.Seek(delta); break;
        case SEEK_CUR: result = s.Seek(s.Pos() + delta); break;
        case SEEK_END: result = s.Seek(s.Size() + delta); break;
        default: return -1;
        }
        return result < 0 ? -1 : 0;
    } catch (...) {
        src->error = std::current_exception();
        return -1;
    }
}

// The stream belongs to the loader chain, which closes it.
int CloseCallback(void*) { return 0; }

long TellCallback(void* source) {
    auto* src = static_cast<OggSource*>(source);
    try {
        return src->stream->Pos();
    } catch (...) {
        if (!src->error) src->error = std::current_exception();
        return -1;
    }
}

// Decodes `bytes` bytes of signed 16-bit little-endian PCM straight into the
// sample's own storage. The room doubles as data arrives but never beyond
// `bytes`: a length claimed by the file costs nothing until it is decoded,
// and a file that keeps its word ends with exactly the room it needs. False
// on a decoding error or an early end, including running on into the next
// stream of a chained file, whose frames may not even have the same layout.
bool DecodeInto(OggVorbis_File& vf, TAudioSample& sample, int bytes) {
    constexpr int64_t kFirstRoom = 64 * 1024;
    int have = 0;
    int bitstream = 0;
    while (have < bytes) {
        if (have == sample.capacity) {
            sample.Reserve(static_cast<int>(std::min<int64_t>(bytes, std::max<int64_t>(kFirstRoom, 2LL * have))));
        }
        const long got = ov_read(&vf, reinterpret_cast<char*>(sample.samples + have), sample.capacity - have, 0, 2,
                                 1, &bitstream);
        if (got <= 0 || bitstream != 0) return false;
        have += static_cast<int>(got);
    }
    return true;
}

// The first logical stream as mono or stereo 16-bit, or Null.
Ref<TAudioSample> DecodeFirstStream(OggVorbis_File& vf) {
    const ogg_int64_t frames = ov_pcm_total(&vf, 0);
    const vorbis_info* info = ov_info(&vf, -1);
    const int channels = info ? info->channels : 0;
    // The library takes any 32-bit rate above 0; the sample holds it as an int.
    const bool rateFits = info && info->rate > 0 && info->rate <= INT_MAX;
    if (!rateFits || frames < 0 || frames > INT_MAX / 4 || (channels != 1 && channels != 2)) return nullptr;
    const int format = channels == 1 ? SampleFormatMono16LE : SampleFormatStereo16LE;
    Ref<TAudioSample> sample = TAudioSample::Create(0, static_cast<int>(info->rate), format);
    if (!DecodeInto(vf, *sample, static_cast<int>(frames) * 2 * channels)) return nullptr;
    sample->length = static_cast<int>(frames);
    return sample;
}

}  // namespace

Ref<TAudioSample> TAudioSampleLoaderOGG::LoadAudioSample(const Ref<TStream>& stream) {
    OggSource source{stream.get(), nullptr};
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    OggVorbis_File vf;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) < 0) {
        if (source.error) std::rethrow_exception(source.error);
        return nullptr;
    }
    Ref<TAudioSample> sample;
    try {
        sample = DecodeFirstStream(vf);
    } catch (...) {   // out of memory while growing the sample
        ov_clear(&vf);
        throw;
    }
    ov_clear(&vf);
    if (source.error) std::rethrow_exception(source.error);
    return sample;
}

void StartOggLoaderModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    MakeRef<TAudioSampleLoaderOGG>();
}

}  // namespace vantrel
