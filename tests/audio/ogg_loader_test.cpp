#include <gtest/gtest.h>
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/progressive_load.h>
#include <vantrel/audio/sample_fill.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/resources/bank.h>
#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/stream_factory.h>
#include "tests/resources/alloc_peak.h"
#include "tests/resources/memory_stream.h"

using namespace vantrel;

namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// An Ogg Vorbis file of a sine per channel, encoded here with libvorbisenc.
Bytes Encode(int channels, int rate, int frames, int serial = 1234) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    EXPECT_EQ(vorbis_encode_init_vbr(&vi, channels, rate, 0.4f), 0);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block vb;
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, serial);

    Bytes out;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) Append(out, page);

    for (int done = 0; done <= frames;) {
        const int n = std::min(1024, frames - done);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int c = 0; c < channels; ++c) {
                for (int i = 0; i < n; ++i) buf[c][i] = 0.5f * std::sin(0.05f * (done + i) * (c + 1));
            }
        }
        vorbis_analysis_wrote(&vd, n);   // 0 marks the end
        done += n > 0 ? n : 1;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                // A page per packet: the first and the last page differ.
                while (ogg_stream_flush(&os, &page)) Append(out, page);
            }
        }
    }
    while (ogg_stream_flush(&os, &page)) Append(out, page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

// The page that starts at byte `at` of the file, over the file's own bytes.
ogg_page PageAt(Bytes& file, size_t at) {
    ogg_page page;
    page.header = file.data() + at;
    page.header_len = 27 + file[at + 26];
    page.body = page.header + page.header_len;
    page.body_len = 0;
    for (int i = 0; i < file[at + 26]; ++i) page.body_len += file[at + 27 + i];
    return page;
}

// Rewrites the granule position (the stream's length in frames) of the last
// page and fixes its checksum.
void SetLastGranule(Bytes& file, int64_t granule) {
    size_t last = 0;
    for (size_t at = 0; at + 27 <= file.size();) {
        last = at;
        const ogg_page page = PageAt(file, at);
        at += static_cast<size_t>(page.header_len + page.body_len);
    }
    ogg_page page = PageAt(file, last);
    for (int i = 0; i < 8; ++i) page.header[6 + i] = static_cast<uint8_t>(granule >> (8 * i));
    ogg_page_checksum_set(&page);
}

// The granule position (frames decoded so far) of the last page ending by
// byte `at`.
int64_t GranuleBefore(Bytes& file, size_t at) {
    int64_t granule = 0;
    for (size_t start = 0; start + 27 <= file.size();) {
        ogg_page page = PageAt(file, start);
        start += static_cast<size_t>(page.header_len + page.body_len);
        if (start > at) break;
        if (ogg_page_granulepos(&page) > 0) granule = ogg_page_granulepos(&page);
    }
    return granule;
}

class OggLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartBankModule();
        StartOggLoaderModule();
        StartWavLoaderModule();
    }
    Ref<TAudioSample> Load(const Bytes& bytes) {
        _keep = bytes;
        return LoadSampleFromUrl(CreateStaticBank(_keep.data(), static_cast<int>(_keep.size())));
    }
    Bytes _keep;
};

TEST_F(OggLoaderTest, MonoAndStereoFilesDecodeToTheirFullLength) {
    Ref<TAudioSample> mono = Load(Encode(1, 22050, 10000));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->format, SampleFormatMono16LE);
    EXPECT_EQ(mono->hertz, 22050);
    EXPECT_EQ(mono->length, 10000);
    // The decoded sine is close to what went in.
    const int16_t* m = reinterpret_cast<const int16_t*>(mono->samples);
    EXPECT_NEAR(m[5000], 16384 * std::sin(0.05 * 5000), 1500);

    Ref<TAudioSample> stereo = Load(Encode(2, 44100, 30000));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->format, SampleFormatStereo16LE);
    EXPECT_EQ(stereo->length, 30000);
    const int16_t* s = reinterpret_cast<const int16_t*>(stereo->samples);
    EXPECT_NEAR(s[2 * 7000 + 1], 16384 * std::sin(0.1 * 7000), 1500);

    EXPECT_FALSE(Load(Encode(3, 44100, 2000)));   // only mono and stereo

    // A chained file gives its first stream, from its first frame, however
    // short that stream is.
    Bytes first = Encode(1, 22050, 100, 1);
    Bytes chained = first;
    const Bytes second = Encode(2, 44100, 5000, 2);
    chained.insert(chained.end(), second.begin(), second.end());
    Ref<TAudioSample> alone = Load(first);
    Ref<TAudioSample> link = Load(chained);
    ASSERT_TRUE(alone && link);
    EXPECT_EQ(link->format, SampleFormatMono16LE);
    ASSERT_EQ(link->length, 100);
    EXPECT_EQ(std::memcmp(link->samples, alone->samples, 200), 0);
    // A first stream claiming more frames than it holds ends early, even
    // though the next stream could fill the claim.
    SetLastGranule(first, 2000);
    chained.assign(first.begin(), first.end());
    chained.insert(chained.end(), second.begin(), second.end());
    EXPECT_FALSE(Load(chained));
}

TEST_F(OggLoaderTest, TruncatedOrOverclaimingFilesGiveNull) {
    Bytes file = Encode(1, 44100, 20000);
    Bytes cut(file.begin(), file.begin() + static_cast<long>(file.size() * 2 / 3));
    EXPECT_FALSE(Load(cut));

    // Lengths of half a billion (1 GB of PCM) and two billion frames in a few
    // kilobytes: refused once the real data runs out or at once, without
    // reserving room for the claim.
    Bytes claims = file;
    SetLastGranule(claims, 500000000);
    EXPECT_FALSE(Load(claims));
    SetLastGranule(claims, 2000000000);
    EXPECT_FALSE(Load(claims));
    SetLastGranule(claims, 20000);
    EXPECT_EQ(Load(claims)->length, 20000);
}

// A progressive load hands the sample out once two seconds are decoded and
// decodes the rest into it; a file whose data ends after those two seconds,
// short of the length it claims, is still handed out, its fill then failed
// and the missing frames, never written, silent in a copy; one ending
// sooner, or too short to need it, loads as it always did.
TEST_F(OggLoaderTest, ProgressiveLoadHandsOutAfterTwoSecondsAndFinishesInPlace) {
    const int rate = 22050, frames = 5 * rate;
    const Ref<TAudioSample> whole = Load(Encode(1, rate, frames));
    ASSERT_TRUE(whole);
    const struct {
        int seconds;   // of data, the file claiming five
        bool handedOut, failed;
    } cases[] = {{5, true, false}, {4, true, true}, {1, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.seconds);
        _keep = Encode(1, rate, c.seconds * rate);
        SetLastGranule(_keep, frames);
        Ref<TAudioSample> early;
        int filledAtHandout = 0;
        Ref<TAudioSample> sample =
            ReadSampleFromUrl(CreateStaticBank(_keep.data(), static_cast<int>(_keep.size())),
                              [&](const Ref<TAudioSample>& s) {
                                  early = s;
                                  filledAtHandout = TSampleFill::Of(*s)->progress.filled.load();
                                  EXPECT_FALSE(TSampleFill::Of(*s)->Finished());
                              });
        EXPECT_EQ(bool(early), c.handedOut);
        if (!c.handedOut) {
            EXPECT_FALSE(sample);
            continue;
        }
        ASSERT_EQ(sample, early);
        EXPECT_GE(filledAtHandout, 2 * rate);
        EXPECT_LT(filledAtHandout, frames);
        ASSERT_TRUE(TSampleFill::Of(*sample)->Finished());
        EXPECT_EQ(TSampleFill::Of(*sample)->Failed(), c.failed);
        ASSERT_EQ(sample->length, frames);
        const auto* got = reinterpret_cast<const int16_t*>(sample->samples);
        const auto* want = reinterpret_cast<const int16_t*>(whole->samples);
        if (!c.failed) {
            EXPECT_EQ(std::memcmp(got, want, static_cast<size_t>(frames) * 2), 0);
        } else {
            // The frames never decoded are left alone, and read as silence.
            EXPECT_LT(TSampleFill::Of(*sample)->Filled(), frames);
            EXPECT_EQ(std::memcmp(got, want, static_cast<size_t>(filledAtHandout) * 2), 0);
            Ref<TAudioSample> copy = sample->Copy();
            EXPECT_EQ(reinterpret_cast<const int16_t*>(copy->samples)[frames - 1], 0);
            EXPECT_EQ(std::memcmp(copy->samples, got, static_cast<size_t>(TSampleFill::Of(*sample)->Filled()) * 2), 0);
        }
    }
    // Short enough to decode at once: no hand-out, a whole sample.
    _keep = Encode(1, rate, rate);
    bool called = false;
    Ref<TAudioSample> brief = ReadSampleFromUrl(CreateStaticBank(_keep.data(), static_cast<int>(_keep.size())),
                                                [&](const Ref<TAudioSample>&) { called = true; });
    ASSERT_TRUE(brief);
    EXPECT_FALSE(called);
    EXPECT_FALSE(TSampleFill::Of(*brief));
}

// Zeroes `count` bytes from `at`, breaking the pages there.
void Damage(Bytes& file, size_t at, size_t count) { std::fill_n(file.begin() + static_cast<long>(at), count, 0); }

// Decoded whole or handed out early, a file with a damaged stretch plays on
// past it, and silence at the end makes up the frames it lost.
TEST_F(OggLoaderTest, ADamagedStretchIsSkippedAndTheLossMadeUpWithSilence) {
    const int rate = 22050, frames = 5 * rate;
    const Ref<TAudioSample> whole = Load(Encode(1, rate, frames));
    ASSERT_TRUE(whole);
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive);
        _keep = Encode(1, rate, frames);
        Damage(_keep, _keep.size() * 3 / 5, 1500);
        Ref<TBank> bank = CreateStaticBank(_keep.data(), static_cast<int>(_keep.size()));
        bool handedOut = false;
        Ref<TAudioSample> sample = progressive
            ? ReadSampleFromUrl(bank, [&](const Ref<TAudioSample>&) { handedOut = true; })
            : LoadSampleFromUrl(bank);
        ASSERT_TRUE(sample);
        EXPECT_EQ(handedOut, progressive);
        ASSERT_EQ(sample->length, frames);
        if (progressive) {
            ASSERT_TRUE(TSampleFill::Of(*sample)->Finished());
            EXPECT_FALSE(TSampleFill::Of(*sample)->Failed());
            EXPECT_EQ(TSampleFill::Of(*sample)->Filled(), frames);
        }
        const auto* got = reinterpret_cast<const int16_t*>(sample->samples);
        EXPECT_EQ(std::memcmp(got, whole->samples, size_t{2} * rate * 2), 0);
        int loudest = 0;
        for (int i = frames * 7 / 10; i < frames * 9 / 10; ++i) loudest = std::max(loudest, std::abs(int{got[i]}));
        EXPECT_GT(loudest, 8000) << "the sound goes on past the damage";
        EXPECT_EQ(got[frames - 1], 0);
    }
    // Silence makes up a loss, not a claim far beyond the data.
    _keep = Encode(1, rate, frames);
    SetLastGranule(_keep, 10 * frames);
    Damage(_keep, _keep.size() * 3 / 5, 1500);
    EXPECT_FALSE(LoadSampleFromUrl(CreateStaticBank(_keep.data(), static_cast<int>(_keep.size()))));
}

// A read error after the hand-out, past a skipped stretch: the fill fails
// there, keeping every frame decoded before, with no silence passed off as
// the rest and no exception to the caller.
TEST_F(OggLoaderTest, AReadErrorAfterTheHandOutEndsTheFillWhereItStands) {
    const int rate = 22050, frames = 5 * rate;
    Bytes file = Encode(1, rate, frames);
    const Ref<TAudioSample> whole = Load(file);
    ASSERT_TRUE(whole);
    const size_t damageAt = file.size() * 11 / 20, breakAt = file.size() * 4 / 5;
    Bytes damaged = file;
    Damage(damaged, damageAt, 1000);
    Ref<MemoryStream> stream = MakeRef<MemoryStream>(damaged);
    Ref<TAudioSample> early;
    Ref<TAudioSample> sample = ReadSampleFromUrl(stream, [&](const Ref<TAudioSample>& s) {
        early = s;
        stream->FailReads(static_cast<int>(breakAt), stream->Size());
    });
    ASSERT_TRUE(early);
    ASSERT_EQ(sample, early);
    const Ref<TSampleFill>& fill = TSampleFill::Of(*sample);
    ASSERT_TRUE(fill->Finished());
    EXPECT_TRUE(fill->Failed());
    EXPECT_GT(fill->Filled(), GranuleBefore(file, damageAt) + rate / 4) << "decoding went on past the damage";
    EXPECT_LT(fill->Filled(), GranuleBefore(file, breakAt));
    EXPECT_EQ(std::memcmp(sample->samples, whole->samples, size_t{2} * rate * 2), 0);
}

TEST_F(OggLoaderTest, ARateThatNoIntHoldsGivesNull) {
    // The first page holds only the identification header, its rate at byte 12.
    for (uint32_t rate : {0x80000000u, 0xFFFFFFFFu}) {
        Bytes file = Encode(1, 44100, 4000);
        ogg_page first = PageAt(file, 0);
        for (int i = 0; i < 4; ++i) first.body[12 + i] = static_cast<uint8_t>(rate >> (8 * i));
        ogg_page_checksum_set(&first);
        EXPECT_FALSE(Load(file)) << rate;
    }
}

TEST_F(OggLoaderTest, DamagedRealFilesDecodeAsFarAsTheyGoOrGiveNull) {
    // Sound-theme files mutated by the fuzzer; seeking in them once drove
    // libogg into a copy of negative size or looped for ever.
    const struct {
        const char* file;
        int length;   // -1: Null
    } cases[] = {
        {"crash-b1449f550f313c0f6fb0323010fdaa1626000278.oga", -1},
        {"crash-eccf4c6ebbce39940baed96ff04bf9635b29b3a2.oga", 18432},
        {"hang-4003576c2fb36d3a3eda2731d5acabaa3ec50727.oga", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Ref<TAudioSample> sample = LoadSampleFromUrl(String(std::string(VANTREL_TEST_DATA "/fuzz/ogg/") + c.file));
        if (c.length < 0) {
            EXPECT_FALSE(sample);
        } else {
            ASSERT_TRUE(sample);
            EXPECT_EQ(sample->length, c.length);
        }
    }
}

TEST_F(OggLoaderTest, DecodingTakesLittleMoreMemoryThanTheSampleItself) {
    if (!alloc_peak::Available()) GTEST_SKIP() << "the allocator meter needs a build without sanitizers";
    const int frames = 1 << 20;   // 2 MB of mono PCM
    _keep = Encode(1, 22050, frames);
    Ref<TBank> bank = CreateStaticBank(_keep.data(), static_cast<int>(_keep.size()));
    alloc_peak::Reset();
    Ref<TAudioSample> sample = LoadSampleFromUrl(bank);
    const size_t peak = alloc_peak::PeakSinceReset();
    ASSERT_TRUE(sample);
    ASSERT_EQ(sample->length, frames);
    // The decoder's own state on top of the PCM, never a second copy of it.
    EXPECT_LT(peak, size_t{frames} * 2 * 13 / 10);
}

TEST_F(OggLoaderTest, ExceptionsFromTheStreamCrossTheDecoderSafely) {
    Bytes file = Encode(2, 44100, 20000);
    const int failAt = static_cast<int>(file.size() / 2);
    Ref<MemoryStream> failing = MakeRef<MemoryStream>(file);
    failing->FailReads(failAt, failing->Size());
    EXPECT_FALSE(LoadSampleFromUrl(failing));   // a stream error is a refusal
    failing = MakeRef<MemoryStream>(file);
    failing->FailReads(failAt, failing->Size(), [] { throw TRuntimeException("disk on fire"); });
    try {
        LoadSampleFromUrl(failing);
        FAIL() << "the error was swallowed";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.error, String("disk on fire"));
    }
}

TEST_F(OggLoaderTest, RealFilesOfTheFreedesktopSoundTheme) {
    const std::filesystem::path dir = "/usr/share/sounds/freedesktop/stereo";
    ASSERT_TRUE(std::filesystem::exists(dir)) << "sound-theme-freedesktop missing";
    int loaded = 0;
    for (const auto& f : std::filesystem::directory_iterator(dir)) {
        if (f.path().extension() != ".oga") continue;
        Ref<TAudioSample> s = LoadSampleFromUrl(String(f.path().string()));
        ASSERT_TRUE(s) << f.path();
        EXPECT_TRUE(s->format == SampleFormatMono16LE || s->format == SampleFormatStereo16LE) << f.path();
        EXPECT_GE(s->hertz, 8000);
        EXPECT_GT(s->length, 0);
        ++loaded;
    }
    EXPECT_GT(loaded, 20);
}

}  // namespace
