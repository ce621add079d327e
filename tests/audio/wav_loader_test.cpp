#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <vantrel/audio/endian_stream.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/resources/bank.h>
#include <vantrel/resources/bank_stream.h>

using namespace vantrel;

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& b, int v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Chunk(Bytes& b, const char* tag, const Bytes& body, bool pad = true) {
    b.insert(b.end(), tag, tag + 4);
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && body.size() % 2) b.push_back(0);
}
Bytes Fmt(int tag, int channels, int rate, int bits, int extra = 0) {
    Bytes f;
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, static_cast<uint32_t>(rate));
    Put32(f, static_cast<uint32_t>(rate * channels * bits / 8));
    Put16(f, channels * bits / 8);
    Put16(f, bits);
    for (int i = 0; i < extra; ++i) f.push_back(0);
    return f;
}
// RIFF/WAVE around the given chunks.
Bytes Riff(const Bytes& chunks) {
    Bytes b = {'R', 'I', 'F', 'F'};
    Put32(b, static_cast<uint32_t>(chunks.size() + 4));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}
Bytes Wav(const Bytes& fmt, const Bytes& data, const Bytes& before = {}, const Bytes& between = {}) {
    Bytes c = before;
    Chunk(c, "fmt ", fmt);
    c.insert(c.end(), between.begin(), between.end());
    Chunk(c, "data", data);
    return Riff(c);
}

class WavLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartBankModule();
        StartOggLoaderModule();
        StartWavLoaderModule();
    }
    // Loads through the whole loader chain from memory.
    Ref<TAudioSample> Load(Bytes bytes) {
        _keep = std::move(bytes);
        return LoadSampleFromUrl(CreateStaticBank(_keep.data(), static_cast<int>(_keep.size())));
    }
    Bytes _keep;
};

TEST_F(WavLoaderTest, LoadsPcmOfEachSupportedShape) {
    Ref<TAudioSample> s = Load(Wav(Fmt(1, 2, 22050, 16), {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, SampleFormatStereo16LE);
    EXPECT_EQ(s->hertz, 22050);
    EXPECT_EQ(s->length, 2);
    EXPECT_EQ(s->samples[7], 8);

    EXPECT_EQ(Load(Wav(Fmt(1, 1, 8000, 8), {1, 2, 3}))->format, SampleFormatMono8);
    EXPECT_EQ(Load(Wav(Fmt(1, 2, 8000, 8), {1, 2}))->format, SampleFormatStereo8);
    // 1001 bytes of 16-bit mono: 500 whole frames.
    s = Load(Wav(Fmt(1, 1, 44100, 16), Bytes(1001, 9)));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->format, SampleFormatMono16LE);
    EXPECT_EQ(s->length, 500);
}

TEST_F(WavLoaderTest, ChunkOrderAndFormatChunkSize) {
    Bytes list;
    Chunk(list, "LIST", {'I', 'N', 'F', 'O', 'x'});   // odd size: a pad byte follows
    EXPECT_FALSE(Load(Wav(Fmt(1, 1, 8000, 8), {1, 2}, list)));
    Ref<TAudioSample> s = Load(Wav(Fmt(1, 1, 8000, 8), {1, 2}, {}, list));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->length, 2);
    EXPECT_EQ(s->samples[1], 2);
    // An 18-byte format chunk (the extra size field) and an odd 17-byte one.
    EXPECT_EQ(Load(Wav(Fmt(1, 1, 8000, 8, 2), {5}))->samples[0], 5);
    EXPECT_EQ(Load(Wav(Fmt(1, 1, 8000, 8, 1), {6}))->samples[0], 6);
}

TEST_F(WavLoaderTest, RefusesOtherEncodingsAndShapes) {
    EXPECT_FALSE(Load(Wav(Fmt(1, 1, 48000, 24), Bytes(6))));
    EXPECT_FALSE(Load(Wav(Fmt(1, 2, 48000, 32), Bytes(8))));
    EXPECT_FALSE(Load(Wav(Fmt(1, 3, 48000, 16), Bytes(6))));
    EXPECT_FALSE(Load(Wav(Fmt(3, 1, 48000, 32), Bytes(8))));
    EXPECT_FALSE(Load(Wav(Fmt(0xFFFE, 1, 48000, 16, 24), Bytes(8))));
    EXPECT_FALSE(Load(Wav(Fmt(1, 1, 0, 16), Bytes(8))));           // no rate: nothing could play it
    EXPECT_FALSE(Load(Wav(Fmt(1, 2, -44100, 8), Bytes(8))));
    EXPECT_FALSE(Load(Riff({})));                                  // no format chunk
    Bytes noData;
    Chunk(noData, "fmt ", Fmt(1, 1, 8000, 8));
    EXPECT_FALSE(Load(Riff(noData)));
    Bytes truncated = Wav(Fmt(1, 1, 8000, 16), Bytes(100));
    truncated.resize(truncated.size() - 10);
    EXPECT_FALSE(Load(truncated));
    EXPECT_FALSE(Load({'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'}));
}

TEST_F(WavLoaderTest, DeclaredSizesBeyondTheFileGiveNull) {
    // The data chunk's declared size, near 2 GB or negative, over 16 real bytes.
    for (uint32_t size : {0x7F0000F0u, 0xFF000010u, 17u}) {
        Bytes data = {'d', 'a', 't', 'a'};
        Put32(data, size);
        data.resize(data.size() + 16);
        Bytes fmt;
        Chunk(fmt, "fmt ", Fmt(1, 2, 44100, 16));
        fmt.insert(fmt.end(), data.begin(), data.end());
        EXPECT_FALSE(Load(Riff(fmt))) << size;
    }
    // A chunk before the data that claims more than the file holds.
    Bytes junk = {'J', 'U', 'N', 'K'};
    Put32(junk, 0x7FFFFFFF);
    EXPECT_FALSE(Load(Wav(Fmt(1, 1, 8000, 8), {1}, {}, junk)));
}

TEST_F(WavLoaderTest, RealFiles) {
    const std::string dir = std::string(VANTREL_TEST_DATA) + "/wav/";
    struct Expect {
        const char* name;
        int format, hertz, length;
    };
    for (const Expect& e : {Expect{"pcmwaveformat-16bit-44100Hz-mono.wav", 2, 44100, 4},
                            Expect{"pcmwaveformat-16bit-44100Hz-mono-extra.wav", 2, 44100, 4},
                            Expect{"pcmwaveformat-8bit-44100Hz-mono.wav", 1, 44100, 4},
                            Expect{"waveformatex-16bit-44100Hz-mono.wav", 2, 44100, 4},
                            Expect{"waveformatex-16bit-44100Hz-mono-extra.wav", 2, 44100, 4},
                            Expect{"waveformatex-16bit-44100Hz-stereo.wav", 5, 44100, 4},
                            Expect{"waveformatex-8bit-11025Hz-mono.wav", 1, 11025, 4}}) {
        Ref<TAudioSample> s = LoadSampleFromUrl(String(dir + e.name));
        ASSERT_TRUE(s) << e.name;
        EXPECT_EQ(s->format, e.format) << e.name;
        EXPECT_EQ(s->hertz, e.hertz) << e.name;
        EXPECT_EQ(s->length, e.length) << e.name;
    }
    for (const char* refused :
         {"pcmwaveformat-24bit-4byte-48kHz-stereo.wav", "waveformatex-ieeefloat-44100Hz-mono.wav",
          "waveformatextensible-24bit-192kHz-mono.wav", "waveformatextensible-32bit-48kHz-stereo.wav",
          "waveformatextensible-ieeefloat-44100Hz-mono.wav", "nonstandard-01.wav", "nonstandard-02.wav", "pop.wav"}) {
        EXPECT_FALSE(LoadSampleFromUrl(String(dir + refused))) << refused;
    }
    for (const auto& f : std::filesystem::directory_iterator(dir + "fuzz")) {
        EXPECT_FALSE(LoadSampleFromUrl(String(f.path().string()))) << f.path();
    }
    int alsa = 0;
    if (std::filesystem::exists("/usr/share/sounds/alsa")) {
        for (const auto& f : std::filesystem::directory_iterator("/usr/share/sounds/alsa")) {
            Ref<TAudioSample> s = LoadSampleFromUrl(String(f.path().string()));
            ASSERT_TRUE(s) << f.path();
            EXPECT_EQ(s->format, SampleFormatMono16LE);
            EXPECT_EQ(s->hertz, 48000);
            EXPECT_EQ(s->length, (static_cast<int>(std::filesystem::file_size(f.path())) - 44) / 2) << f.path();
            ++alsa;
        }
    }
    EXPECT_GT(alsa, 0) << "alsa-utils sounds missing";
}

TEST_F(WavLoaderTest, ChunkTagsAndByteOrderStreams) {
    const std::string path = testing::TempDir() + "/endian.bin";
    {
        Ref<TStream> out = OpenWriteStream(String(path));
        out->WriteBytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    }
    Ref<TStream> big = OpenReadStream(String("BigEndian::" + path));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->ReadInt(), 0x01020304);
    EXPECT_EQ(big->ReadShort(), 0x0506);
    big->Seek(0);
    EXPECT_EQ(big->ReadLong(), 0x0102030405060708);
    big->Seek(6);
    EXPECT_EQ(big->ReadShort(), 0x0708);
    Ref<TStream> little = OpenReadStream(String("littleendian::" + path));
    EXPECT_EQ(little->ReadInt(), 0x04030201);
    EXPECT_EQ(ReadChunkTag(little), String("\x05\x06\x07\x08"));
    EXPECT_THROW(ReadChunkTag(little), TStreamReadException);
    EXPECT_FALSE(OpenReadStream(String("bigendian::" + path + ".missing")));
    EXPECT_FALSE(TXEndianStream::Create(nullptr));

    // Writes swap as well: a float and a double read back through the swap.
    const std::string out = testing::TempDir() + "/endian_out.bin";
    {
        Ref<TStream> w = OpenWriteStream(String("bigendian::" + out));
        w->WriteShort(0xABCD);
        w->WriteFloat(1.5f);
        w->WriteDouble(-2.25);
    }
    Ref<TStream> raw = OpenReadStream(String(out));
    EXPECT_EQ(raw->ReadByte(), 0xAB);
    raw = OpenReadStream(String("bigendian::" + out));
    EXPECT_EQ(raw->ReadShort(), 0xABCD);
    EXPECT_EQ(raw->ReadFloat(), 1.5f);
    EXPECT_EQ(raw->ReadDouble(), -2.25);
}

}  // namespace
