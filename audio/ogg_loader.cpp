#include "audio/ogg_loader.h"

#include <vorbis/vorbisfile.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <vector>

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

// Decodes up to `bytes` bytes of signed 16-bit little-endian PCM; the buffer
// grows with what is decoded. False on a decoding error or an early end.
bool DecodeAll(OggVorbis_File& vf, std::vector<uint8_t>& pcm, int64_t bytes) {
    constexpr size_t kChunk = 64 * 1024;
    size_t have = 0;
    int bitstream = 0;
    while (static_cast<int64_t>(have) < bytes) {
        size_t want = std::min<size_t>(kChunk, static_cast<size_t>(bytes) - have);
        if (pcm.size() < have + want) pcm.resize(std::max(have + want, std::min<size_t>(pcm.size() * 2, bytes)));
        long got = ov_read(&vf, reinterpret_cast<char*>(pcm.data() + have), static_cast<int>(want), 0, 2, 1,
                           &bitstream);
        if (got <= 0) return false;
        have += static_cast<size_t>(got);
    }
    return true;
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
    const ogg_int64_t frames = ov_pcm_total(&vf, 0);
    const vorbis_info* info = ov_info(&vf, -1);
    const int channels = info ? info->channels : 0;
    // The library takes any 32-bit rate above 0; the sample holds it as an int.
    const bool rateFits = info && info->rate > 0 && info->rate <= INT_MAX;
    if (rateFits && frames >= 0 && frames <= INT_MAX / 4 && (channels == 1 || channels == 2)) {
        // Start decoding at the very beginning, even of a short first link.
        if (ov_seekable(&vf)) ov_pcm_seek(&vf, 0);
        const int format = channels == 1 ? SampleFormatMono16LE : SampleFormatStereo16LE;
        const int64_t bytes = frames * 2 * channels;
        std::vector<uint8_t> pcm;
        if (DecodeAll(vf, pcm, bytes)) {
            sample = TAudioSample::Create(static_cast<int>(frames), static_cast<int>(info->rate), format);
            if (bytes) std::memcpy(sample->samples, pcm.data(), static_cast<size_t>(bytes));
        }
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
