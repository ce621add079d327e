#include <vantrel/audio/ogg_loader.h>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <exception>
#include <new>

#include <vantrel/audio/progressive_load.h>
#include <vantrel/audio/sample_fill.h>

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

// A sample handed out early holds this much decoded sound: playing starts
// with it while the rest decodes, which runs many times faster than playing.
constexpr int kHeadSeconds = 2;
// Bytes decoded between two reports of progress to the players.
constexpr int kAdvanceBytes = 64 * 1024;

// The decoder and its source while a stream decodes, and whether it skipped
// damaged data on the way.
struct OggDecoding {
    OggVorbis_File& vf;
    const OggSource& source;
    bool skipped = false;
};

// How a stretch of decoding ended: its end reached, the data ended first, or
// decoding cannot go on.
enum class Decoded { Full, End, Broken };

// Decodes signed 16-bit little-endian PCM into data from byte `have` up to
// byte `want`. A hole (garbage between pages, lost sync, a page failing its
// checksum) is skipped as players skip it: decoding resumes at the next
// intact page. Broken on a read error, a hard decoding error, or on running
// into the next stream of a chained file, whose frames may not even have
// the same layout.
Decoded DecodeRange(OggDecoding& d, uint8_t* data, int& have, int want) {
    int bitstream = 0;
    while (have < want) {
        const long got = ov_read(&d.vf, reinterpret_cast<char*>(data + have), want - have, 0, 2, 1, &bitstream);
        if (d.source.error) return Decoded::Broken;
        if (got == OV_HOLE) {
            d.skipped = true;
            continue;
        }
        if (got < 0 || bitstream != 0) return Decoded::Broken;
        if (got == 0) return Decoded::End;
        have += static_cast<int>(got);
    }
    return Decoded::Full;
}

// Whether silence may stand in for the `bytes - have` bytes the data did not
// reach. The frames of a skipped stretch are lost, so a damaged file ends
// short of the length it claims, and a sample handed out early already
// plays, and loops, at that length. Silence at the end makes up the loss:
// the sample keeps its length and its fill completes, the music after the
// damage plays that much early and a loop keeps its period. Without a
// skipped stretch a short file is cut off, not damaged; and a shortfall
// larger than all the sound decoded is a length the data never backed, not
// a loss, refused like a cut file rather than paid for in memory.
bool SilenceMakesUpLoss(const OggDecoding& d, int have, int bytes) {
    return d.skipped && bytes - have <= have;
}

// Decodes `bytes` bytes straight into the sample's own storage. The room
// doubles as data arrives but never beyond `bytes`: a length claimed by the
// file costs nothing until it is decoded, and a file that keeps its word ends
// with exactly the room it needs.
bool DecodeInto(OggDecoding& d, TAudioSample& sample, int bytes) {
    constexpr int64_t kFirstRoom = 64 * 1024;
    int have = 0;
    Decoded result = Decoded::Full;
    while (result == Decoded::Full && have < bytes) {
        if (have == sample.capacity) {
            sample.Reserve(static_cast<int>(std::min<int64_t>(bytes, std::max<int64_t>(kFirstRoom, 2LL * have))));
        }
        result = DecodeRange(d, sample.samples, have, sample.capacity);
    }
    if (result == Decoded::Full) return true;
    if (result == Decoded::Broken || !SilenceMakesUpLoss(d, have, bytes)) return false;
    sample.Reserve(bytes);
    std::memset(sample.samples + have, 0, static_cast<size_t>(bytes - have));
    return true;
}

// Storage for every frame and the guard frame at once, since frames must not
// move once handed out: untouched pages cost nothing until decoded into.
// False when the system will not reserve that much; the caller then decodes
// the usual way.
bool ReserveWhole(TAudioSample& sample, int64_t bytes) {
    if (bytes > INT_MAX) return false;
    try {
        sample.Reserve(static_cast<int>(bytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Decodes the first kHeadSeconds, hands the sample out, then decodes the
// rest while the sample plays; Null when the head does not decode.
Ref<TAudioSample> DecodeHandingOut(OggDecoding& d, const Ref<TAudioSample>& sample, int frames,
                                   const SampleHandout& handout) {
    const int frameBytes = BytesPerSample[sample->format];
    const int bytes = frames * frameBytes;
    Ref<TSampleFill> fill = MakeRef<TSampleFill>(sample->samples, frames, frameBytes);
    const int64_t head = int64_t{kHeadSeconds} * sample->hertz * frameBytes;
    int have = 0;
    if (DecodeRange(d, sample->samples, have, static_cast<int>(head)) != Decoded::Full) return nullptr;
    sample->length = frames;
    TSampleFill::Attach(*sample, fill);
    fill->Advance(have / frameBytes);
    try {
        handout(sample);
    } catch (...) {   // nobody may wait for frames that will never come
        fill->Finish(false);
        throw;
    }
    Decoded result = Decoded::Full;
    while (result == Decoded::Full && have < bytes && !fill->Cancelled()) {
        const int next = static_cast<int>(std::min<int64_t>(bytes, int64_t{have} + kAdvanceBytes));
        result = DecodeRange(d, sample->samples, have, next);
        fill->Advance(have / frameBytes);
    }
    if (result == Decoded::End && SilenceMakesUpLoss(d, have, bytes)) {
        std::memset(sample->samples + have, 0, static_cast<size_t>(bytes - have));
        have = bytes;
        fill->Advance(frames);
    }
    fill->Finish(have == bytes);
    return sample;
}

// The first logical stream as mono or stereo 16-bit, or Null. With a
// handout, a stream longer than the head is handed out early.
Ref<TAudioSample> DecodeFirstStream(OggDecoding& d, const SampleHandout& handout) {
    const ogg_int64_t frames = ov_pcm_total(&d.vf, 0);
    const vorbis_info* info = ov_info(&d.vf, -1);
    const int channels = info ? info->channels : 0;
    // The library takes any 32-bit rate above 0; the sample holds it as an int.
    const bool rateFits = info && info->rate > 0 && info->rate <= INT_MAX;
    if (!rateFits || frames < 0 || frames > INT_MAX / 4 || (channels != 1 && channels != 2)) return nullptr;
    const int format = channels == 1 ? SampleFormatMono16LE : SampleFormatStereo16LE;
    Ref<TAudioSample> sample = TAudioSample::Create(0, static_cast<int>(info->rate), format);
    const int frameBytes = 2 * channels;
    if (handout && frames > int64_t{kHeadSeconds} * info->rate &&
        ReserveWhole(*sample, (frames + 1) * frameBytes)) {
        return DecodeHandingOut(d, sample, static_cast<int>(frames), handout);
    }
    if (!DecodeInto(d, *sample, static_cast<int>(frames) * frameBytes)) return nullptr;
    sample->length = static_cast<int>(frames);
    return sample;
}

// The whole load; with a handout, a long sound is handed out early.
Ref<TAudioSample> LoadOgg(const Ref<TStream>& stream, const SampleHandout& handout) {
    OggSource source{stream.get(), nullptr};
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    OggVorbis_File vf;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, callbacks) < 0) {
        if (source.error) std::rethrow_exception(source.error);
        return nullptr;
    }
    Ref<TAudioSample> sample;
    try {
        OggDecoding decoding{vf, source};
        sample = DecodeFirstStream(decoding, handout);
    } catch (...) {   // out of memory while growing the sample
        ov_clear(&vf);
        throw;
    }
    ov_clear(&vf);
    if (!source.error) return sample;
    if (!(sample && TSampleFill::Of(*sample))) std::rethrow_exception(source.error);
    // A sample already handed out is the caller's and its fill has recorded
    // the failure: a stream error raised now would only make the chain try
    // other loaders. Anything else still goes to the caller.
    try {
        std::rethrow_exception(source.error);
    } catch (const TStreamException&) {
    }
    return sample;
}

// The loader the chain holds: also hands a long sound out early. A progressive
// load hands out a sample longer than two seconds once those are decoded, its
// storage reserved whole, and decodes the rest into it, skipping damage as
// a whole decode does; a stream error, hard decoding error or early end
// after that is recorded in the sample's fill.
class TProgressiveOggLoader final : public TAudioSampleLoaderOGG, public TProgressiveSampleLoader {
public:
    Ref<TAudioSample> LoadAudioSampleProgressively(const Ref<TStream>& stream,
                                                   const SampleHandout& handout) override {
        return LoadOgg(stream, handout);
    }
};

}  // namespace

Ref<TAudioSample> TAudioSampleLoaderOGG::LoadAudioSample(const Ref<TStream>& stream) {
    return LoadOgg(stream, nullptr);
}

void StartOggLoaderModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartStreamModule();
    MakeRef<TProgressiveOggLoader>();
}

}  // namespace vantrel
