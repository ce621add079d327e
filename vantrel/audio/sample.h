// Audio samples: in-memory PCM as loaded, the seven sample formats with their
// size tables, and conversion between formats through one hub format
// (stereo 16-bit, high byte first).
//
// A "sample" in the format tables and in TAudioSample means one frame, all
// channels together. Conversions raise the runtime error "Unimplemented
// sample format conversion" for format codes outside 1..6; creating a sample
// with a format outside 0..6 or a size that does not fit raises the runtime's
// array-bounds error, and so does growing a static sample. A sample is used by
// one thread at a time; different samples may be built on different threads.
// The exception is a sample the engine hands out while it still decodes:
// its decoder writes the frames (never the fields) until it finishes.
#pragma once

#include <cstdint>

#include <vantrel/runtime/object.h>

namespace vantrel {

class TSampleFill;

enum SampleFormat {
    SampleFormatNone = 0,
    SampleFormatMono8 = 1,         // unsigned, 128 = silence
    SampleFormatMono16LE = 2,
    SampleFormatMono16BE = 3,
    SampleFormatStereo8 = 4,       // left then right
    SampleFormatStereo16LE = 5,
    SampleFormatStereo16BE = 6,    // the hub of every conversion
};

inline constexpr int kSampleFormatCount = 7;
// Indexed by format code.
extern const int BytesPerSample[kSampleFormatCount];
extern const int ChannelsPerSample[kSampleFormatCount];

class TAudioSample : public Object {
public:
    // An empty sample: no frames, format 0.
    TAudioSample();
    // Frees the frames only when the sample owns them (capacity >= 0).
    ~TAudioSample() override;

    // Owned storage for length frames, contents undefined.
    static Ref<TAudioSample> Create(int length, int hertz, int format);
    // Wraps memory that stays the caller's (capacity -1).
    static Ref<TAudioSample> CreateStatic(void* samples, int length, int hertz, int format);
    // Makes room for at least `bytes` bytes of owned storage, keeping the
    // bytes already there; length is left to the caller. The storage is
    // reallocated, so a loader that learns the size only while decoding can
    // grow a sample in place instead of filling a buffer and copying it.
    void Reserve(int bytes);
    Ref<TAudioSample> Copy() const;
    Ref<TAudioSample> Convert(int format) const;

    uint8_t* samples = nullptr;
    int length = 0;      // frames
    int hertz = 0;
    int format = 0;
    int capacity = 0;    // bytes owned, or -1

private:
    friend class TSampleFill;
    int ReadyFrames() const;   // frames holding sound, once any fill ends

    // Set while a decoder may still be writing the frames; Copy and Convert
    // wait for it to finish, and give silence for frames a failed fill never
    // wrote.
    Ref<TSampleFill> _fill;
};

Ref<TAudioSample> NewAudioSample(int length, int hertz, int format);
Ref<TAudioSample> NewStaticAudioSample(void* samples, int length, int hertz, int format);
// Copies count frames of one format.
void CopySampleData(const void* src, void* dst, int format, int count);
// Converts count frames from srcFormat to dstFormat.
void ConvertSampleData(const void* src, int srcFormat, void* dst, int dstFormat, int count);

}  // namespace vantrel
