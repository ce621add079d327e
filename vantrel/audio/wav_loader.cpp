#include <vantrel/audio/wav_loader.h>

#include <climits>

#include <vantrel/audio/endian_stream.h>

namespace vantrel {

namespace {

constexpr int kFormatPCM = 1;

int FormatFor(int channels, int bits) {
    if (bits == 8 && channels == 1) return SampleFormatMono8;
    if (bits == 8 && channels == 2) return SampleFormatStereo8;
    if (bits == 16 && channels == 1) return SampleFormatMono16LE;
    if (bits == 16 && channels == 2) return SampleFormatStereo16LE;
    return SampleFormatNone;
}

// Whether the stream still holds size bytes; a stream that cannot tell its
// size is given the benefit of the doubt (its reads fail short instead).
bool Holds(TStream& s, int size) {
    if (size < 0) return false;
    const int pos = s.Pos();
    const int end = s.Size();
    return pos < 0 || end < pos || size <= end - pos;
}

// Skips a chunk body and the pad byte that keeps the next chunk on an even
// offset.
bool SkipChunk(TStream& s, int size) {
    if (!Holds(s, size)) return false;
    const bool pad = (size & 1) && size < INT_MAX && Holds(s, size + 1);
    s.SkipBytes(pad ? size + 1 : size);
    return true;
}

}  // namespace

String ReadChunkTag(const Ref<TStream>& stream) {
    char tag[4];
    if (stream->ReadBytes(tag, 4) < 4) return String();
    return String(std::string_view(tag, 4));
}

Ref<TAudioSample> TAudioSampleLoaderWAV::LoadAudioSample(const Ref<TStream>& stream) {
    Ref<TStream> s = AsLittleEndianStream(stream);
    if (!(ReadChunkTag(s) == "RIFF")) return nullptr;
    s->ReadInt();
    if (!(ReadChunkTag(s) == "WAVE")) return nullptr;
    if (!(ReadChunkTag(s) == "fmt ")) return nullptr;

    const int fmtSize = s->ReadInt();
    if (s->ReadShort() != kFormatPCM) return nullptr;
    const int channels = s->ReadShort();
    const int rate = s->ReadInt();
    s->ReadInt();     // byte rate
    s->ReadShort();   // block align
    const int bits = s->ReadShort();
    const int format = FormatFor(channels, bits);
    // A rate of 0 or less cannot be played at any speed: the file is unreadable.
    if (format == SampleFormatNone || rate <= 0) return nullptr;
    if (fmtSize > 16 && !SkipChunk(*s, fmtSize - 16)) return nullptr;

    while (!s->Eof()) {
        const String tag = ReadChunkTag(s);
        const int size = s->ReadInt();
        if (!(tag == "data")) {
            if (!SkipChunk(*s, size)) return nullptr;
            continue;
        }
        if (!Holds(*s, size)) return nullptr;
        Ref<TAudioSample> sample = TAudioSample::Create(size / BytesPerSample[format], rate, format);
        s->ReadBytes(sample->samples, sample->length * BytesPerSample[format]);
        return sample;
    }
    return nullptr;
}

void StartWavLoaderModule() {
    static bool started = false;
    if (started) return;
    started = true;
    StartEndianStreamModule();
    MakeRef<TAudioSampleLoaderWAV>();
}

}  // namespace vantrel
