#include <vantrel/audio/sample.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <vantrel/audio/sample_fill.h>
#include <vantrel/runtime/exceptions.h>

namespace vantrel {

const int BytesPerSample[kSampleFormatCount] = {0, 1, 2, 2, 2, 4, 4};
const int ChannelsPerSample[kSampleFormatCount] = {0, 1, 1, 1, 2, 2, 2};

namespace {

// Byte count of length frames; raises for a format or size that cannot be.
int ByteCount(int length, int format) {
    CheckIndex(format, kSampleFormatCount);
    const int64_t bytes = static_cast<int64_t>(length) * BytesPerSample[format];
    if (length < 0 || bytes > INT_MAX) RaiseArrayBounds();
    return static_cast<int>(bytes);
}

inline bool Convertible(int format) { return format >= SampleFormatMono8 && format <= SampleFormatStereo16BE; }

// Unsigned 8-bit widened to the hub's big-endian word: high byte u - 128,
// low byte u, so 0 gives -32768 and 255 gives 32767.
inline void Widen8(uint8_t u, uint8_t* out) {
    out[0] = static_cast<uint8_t>(u - 128);
    out[1] = u;
}

inline int ReadBE(const uint8_t* p) { return static_cast<int16_t>((p[0] << 8) | p[1]); }

inline void PutLE(int v, uint8_t* p) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

inline void PutBE(int v, uint8_t* p) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

void SampleDataToHub(const uint8_t* src, int format, uint8_t* hub, int count) {
    for (int i = 0; i < count; ++i, hub += 4) {
        switch (format) {
        case SampleFormatMono8:
            Widen8(src[i], hub);
            Widen8(src[i], hub + 2);
            break;
        case SampleFormatMono16LE:
            hub[0] = hub[2] = src[2 * i + 1];
            hub[1] = hub[3] = src[2 * i];
            break;
        case SampleFormatMono16BE:
            hub[0] = hub[2] = src[2 * i];
            hub[1] = hub[3] = src[2 * i + 1];
            break;
        case SampleFormatStereo8:
            Widen8(src[2 * i], hub);
            Widen8(src[2 * i + 1], hub + 2);
            break;
        case SampleFormatStereo16LE:
            hub[0] = src[4 * i + 1];
            hub[1] = src[4 * i];
            hub[2] = src[4 * i + 3];
            hub[3] = src[4 * i + 2];
            break;
        default:   // SampleFormatStereo16BE
            std::memcpy(hub, src + 4 * i, 4);
            break;
        }
    }
}

// 16-bit to unsigned 8-bit: 0..65535 scaled onto 0..255.
inline uint8_t Narrow8(int v) { return static_cast<uint8_t>((v + 32768) / 257); }

void SampleDataFromHub(const uint8_t* hub, uint8_t* dst, int format, int count) {
    for (int i = 0; i < count; ++i, hub += 4) {
        const int left = ReadBE(hub);
        const int right = ReadBE(hub + 2);
        const int mono = (left + right) / 2;
        switch (format) {
        case SampleFormatMono8:
            dst[i] = Narrow8(mono);
            break;
        case SampleFormatMono16LE:
            PutLE(mono, dst + 2 * i);
            break;
        case SampleFormatMono16BE:
            PutBE(mono, dst + 2 * i);
            break;
        case SampleFormatStereo8:
            dst[2 * i] = Narrow8(left);
            dst[2 * i + 1] = Narrow8(right);
            break;
        case SampleFormatStereo16LE:
            PutLE(left, dst + 4 * i);
            PutLE(right, dst + 4 * i + 2);
            break;
        default:   // SampleFormatStereo16BE
            std::memcpy(dst + 4 * i, hub, 4);
            break;
        }
    }
}

// count frames of silence in a format: 128 for unsigned 8-bit, else 0.
void FillSilence(uint8_t* at, int format, int count) {
    if (count <= 0) return;
    const bool eightBit = format == SampleFormatMono8 || format == SampleFormatStereo8;
    std::memset(at, eightBit ? 0x80 : 0, static_cast<size_t>(count) * BytesPerSample[format]);
}

// Owned frames live in malloc'd memory so that Reserve can use realloc,
// which extends large blocks without copying them where the system can.
uint8_t* Reallocate(uint8_t* old, int bytes) {
    void* p = std::realloc(old, bytes > 0 ? static_cast<size_t>(bytes) : 1);
    if (!p) throw std::bad_alloc();
    return static_cast<uint8_t*>(p);
}

}  // namespace

TAudioSample::TAudioSample() = default;

TAudioSample::~TAudioSample() {
    if (capacity >= 0) std::free(samples);
}

Ref<TAudioSample> TAudioSample::Create(int length, int hertz, int format) {
    const int bytes = ByteCount(length, format);
    Ref<TAudioSample> s = MakeRef<TAudioSample>();
    s->samples = Reallocate(nullptr, bytes);
    s->length = length;
    s->hertz = hertz;
    s->format = format;
    s->capacity = bytes;
    return s;
}

Ref<TAudioSample> TAudioSample::CreateStatic(void* samples, int length, int hertz, int format) {
    ByteCount(length, format);
    Ref<TAudioSample> s = MakeRef<TAudioSample>();
    s->samples = static_cast<uint8_t*>(samples);
    s->length = length;
    s->hertz = hertz;
    s->format = format;
    s->capacity = -1;
    return s;
}

void TAudioSample::Reserve(int bytes) {
    if (capacity < 0 || bytes < 0) RaiseArrayBounds();
    if (bytes <= capacity) return;
    samples = Reallocate(samples, bytes);
    capacity = bytes;
}

Ref<TAudioSample> TAudioSample::Copy() const {
    const int ready = ReadyFrames();
    Ref<TAudioSample> s = Create(length, hertz, format);
    CopySampleData(samples, s->samples, format, ready);
    FillSilence(s->samples + static_cast<size_t>(ready) * BytesPerSample[format], format, length - ready);
    return s;
}

Ref<TAudioSample> TAudioSample::Convert(int to) const {
    const int ready = ReadyFrames();
    Ref<TAudioSample> s = Create(length, hertz, to);
    ConvertSampleData(samples, format, s->samples, to, ready);
    FillSilence(s->samples + static_cast<size_t>(ready) * BytesPerSample[to], to, length - ready);
    return s;
}

int TAudioSample::ReadyFrames() const {
    if (!_fill) return length;
    _fill->Wait();
    return _fill->Failed() ? std::min(_fill->Filled(), length) : length;
}

Ref<TAudioSample> NewAudioSample(int length, int hertz, int format) {
    return TAudioSample::Create(length, hertz, format);
}

Ref<TAudioSample> NewStaticAudioSample(void* samples, int length, int hertz, int format) {
    return TAudioSample::CreateStatic(samples, length, hertz, format);
}

void CopySampleData(const void* src, void* dst, int format, int count) {
    const int bytes = ByteCount(count, format);
    if (bytes) std::memmove(dst, src, static_cast<size_t>(bytes));
}

void ConvertSampleData(const void* src, int srcFormat, void* dst, int dstFormat, int count) {
    if (srcFormat == dstFormat) {
        CopySampleData(src, dst, srcFormat, count);
        return;
    }
    if (!Convertible(srcFormat) || !Convertible(dstFormat)) {
        RaiseRuntimeError("Unimplemented sample format conversion");
    }
    auto* from = static_cast<const uint8_t*>(src);
    auto* to = static_cast<uint8_t*>(dst);
    if (count <= 0) return;
    if (dstFormat == SampleFormatStereo16BE) {
        SampleDataToHub(from, srcFormat, to, count);
        return;
    }
    std::vector<uint8_t> hub;
    if (srcFormat != SampleFormatStereo16BE) {
        hub.resize(static_cast<size_t>(count) * 4);
        SampleDataToHub(from, srcFormat, hub.data(), count);
        from = hub.data();
    }
    SampleDataFromHub(from, to, dstFormat, count);
}

}  // namespace vantrel
