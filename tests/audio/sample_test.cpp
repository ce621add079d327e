#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <vantrel/audio/sample.h>
#include <vantrel/runtime/exceptions.h>

using namespace vantrel;

namespace {

std::vector<uint8_t> Convert(std::vector<uint8_t> src, int from, int to) {
    const int count = static_cast<int>(src.size()) / BytesPerSample[from];
    std::vector<uint8_t> dst(static_cast<size_t>(count * BytesPerSample[to]), 0xEE);
    ConvertSampleData(src.data(), from, dst.data(), to, count);
    return dst;
}

using Bytes = std::vector<uint8_t>;

TEST(SampleConversion, EightBitWidensAroundOneHundredTwentyEightAndNarrowsBack) {
    // 0x80 becomes the word 0x0080 (128, not 0) on both channels.
    EXPECT_EQ(Convert({0x80}, SampleFormatMono8, SampleFormatStereo16BE), (Bytes{0x00, 0x80, 0x00, 0x80}));
    EXPECT_EQ(Convert({0x00, 0x80, 0x00, 0x80}, SampleFormatStereo16BE, SampleFormatMono8), Bytes{0x80});
    // 0 and 255 reach the ends of the 16-bit range.
    EXPECT_EQ(Convert({0x00, 0xFF}, SampleFormatStereo8, SampleFormatStereo16BE), (Bytes{0x80, 0x00, 0x7F, 0xFF}));
    EXPECT_EQ(Convert({0x80, 0x00, 0x7F, 0xFF}, SampleFormatStereo16BE, SampleFormatStereo8), (Bytes{0x00, 0xFF}));
    // Every byte survives the round trip through the hub.
    Bytes all(256);
    for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(Convert(Convert(all, SampleFormatMono8, SampleFormatStereo16LE), SampleFormatStereo16LE,
                      SampleFormatMono8),
              all);
}

TEST(SampleConversion, StereoToMonoHalvesTheSumTowardZero) {
    // L = 32767, R = -32768: the sum -1 halves to 0, not -1.
    EXPECT_EQ(Convert({0xFF, 0x7F, 0x00, 0x80}, SampleFormatStereo16LE, SampleFormatMono16LE), (Bytes{0x00, 0x00}));
    // L = -3, R = 0 gives -1 (truncated, not floored to -2), stored high byte first.
    EXPECT_EQ(Convert({0xFD, 0xFF, 0x00, 0x00}, SampleFormatStereo16LE, SampleFormatMono16BE), (Bytes{0xFF, 0xFF}));
    // Stereo 8-bit 255 / 0 to mono 8-bit: (32767 - 32768) / 2 = 0 -> 32768 / 257 = 127.
    EXPECT_EQ(Convert({0xFF, 0x00}, SampleFormatStereo8, SampleFormatMono8), Bytes{127});
}

TEST(SampleConversion, ByteOrdersSwapThroughTheHubAndEqualFormatsCopy) {
    EXPECT_EQ(Convert({0x12, 0x34, 0x56, 0x78}, SampleFormatMono16BE, SampleFormatMono16LE),
              (Bytes{0x34, 0x12, 0x78, 0x56}));
    EXPECT_EQ(Convert({0x12, 0x34}, SampleFormatMono16LE, SampleFormatStereo16BE), (Bytes{0x34, 0x12, 0x34, 0x12}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, SampleFormatStereo16BE, SampleFormatStereo16BE), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, SampleFormatStereo16LE, SampleFormatStereo16BE), (Bytes{2, 1, 4, 3}));
}

TEST(SampleConversion, UnknownFormatsRaise) {
    uint8_t buf[8] = {};
    for (int bad : {0, 7, -1}) {
        try {
            ConvertSampleData(buf, bad, buf + 4, SampleFormatMono8, 1);
            FAIL() << bad;
        } catch (const TRuntimeException& e) {
            EXPECT_EQ(e.error, String("Unimplemented sample format conversion"));
        }
        EXPECT_THROW(ConvertSampleData(buf, SampleFormatMono8, buf + 4, bad, 1), TRuntimeException);
    }
}

TEST(AudioSample, OwnedSamplesCopyAndConvertWhileStaticOnesStayTheCallers) {
    Ref<TAudioSample> s = TAudioSample::Create(3, 22050, SampleFormatMono16LE);
    EXPECT_EQ(s->capacity, 6);
    int16_t values[3] = {100, -200, 300};
    std::memcpy(s->samples, values, 6);

    Ref<TAudioSample> copy = s->Copy();
    EXPECT_NE(copy->samples, s->samples);
    EXPECT_EQ(std::memcmp(copy->samples, values, 6), 0);
    EXPECT_EQ(copy->hertz, 22050);

    Ref<TAudioSample> stereo = s->Convert(SampleFormatStereo16LE);
    EXPECT_EQ(stereo->length, 3);
    EXPECT_EQ(stereo->capacity, 12);
    EXPECT_EQ(reinterpret_cast<int16_t*>(stereo->samples)[3], -200);

    // Destroying a static sample leaves the memory alone (ASan would see a bad free).
    std::vector<uint8_t> mine(8, 7);
    NewStaticAudioSample(mine.data(), 4, 8000, SampleFormatStereo8);
    EXPECT_EQ(NewStaticAudioSample(mine.data(), 4, 8000, SampleFormatStereo8)->capacity, -1);
    EXPECT_EQ(mine[7], 7);

    EXPECT_EQ(MakeRef<TAudioSample>()->samples, nullptr);
    EXPECT_THROW(TAudioSample::Create(-1, 8000, SampleFormatMono8), TArrayBoundsException);
    EXPECT_THROW(TAudioSample::Create(1, 8000, 9), TArrayBoundsException);
    EXPECT_THROW(TAudioSample::Create(0x40000000, 8000, SampleFormatStereo16LE), TArrayBoundsException);
}

}  // namespace
