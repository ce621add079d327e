// A sample loaded ahead on a worker and taken by its handle: the take gives
// what a load at that point would, result or failure; a long sound is taken
// early and finishes after the take. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sample_fill.h>
#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/resources/cstream.h>
#include <vantrel/resources/stream_factory.h>
#include <vantrel/resources/stream_wrapper.h>
#include <vantrel/runtime/exceptions.h>

using namespace vantrel;

namespace {

// Stands in front of a file as if it could not tell its position.
class UnseekableStream : public TStreamWrapper {
public:
    int Pos() override { return -1; }
};

// "unseekable::path" opens the file behind a stream that cannot seek.
class UnseekableFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        if (proto != String("unseekable")) return nullptr;
        Ref<TStream> file = TCStream::OpenFile(path, readable, writeable);
        if (!file) return nullptr;
        Ref<UnseekableStream> s = MakeRef<UnseekableStream>();
        s->SetStream(file);
        return s;
    }
};

const char* const kWav = VANTREL_TEST_DATA "/wav/waveformatex-16bit-44100Hz-stereo.wav";

}  // namespace

TEST(SampleLoadAhead, TheTakeGivesTheSampleOrTheFailureALoadWould) {
    StartWavLoaderModule();
    MakeRef<UnseekableFactory>();
    Ref<TAudioSample> direct = LoadSampleFromUrl(String(kWav));
    ASSERT_TRUE(direct);

    Ref<TSampleLoadAhead> ahead = LoadSampleAhead(kWav);
    Ref<TSampleLoadAhead> missing = LoadSampleAhead(VANTREL_TEST_DATA "/wav/no-such-file.wav");
    Ref<TSampleLoadAhead> unseekable = LoadSampleAhead(String("unseekable::") + String(kWav));
    Ref<TAudioSample> taken = ahead->Take();
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->length, direct->length);
    EXPECT_EQ(taken->format, direct->format);
    EXPECT_EQ(std::memcmp(taken->samples, direct->samples, static_cast<size_t>(direct->length) * 4), 0);
    EXPECT_FALSE(missing->Take());
    try {
        unseekable->Take();
        ADD_FAILURE() << "the load's exception was not raised at the take";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString().To8Bit(), "Stream is not seekable");
    }
}

// A sound longer than two seconds is taken once those are decoded; the
// worker decodes the rest after the take, into the same sample, which then
// matches a whole load. A handle dropped before its take stops the load.
TEST(SampleLoadAhead, ALongSoundIsTakenEarlyAndFinishesAfterTheTake) {
    StartOggLoaderModule();
    const String file("/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga");
    Ref<TAudioSample> whole = LoadSampleFromUrl(file);
    ASSERT_TRUE(whole) << "sound-theme-freedesktop missing";
    ASSERT_GT(whole->length, 2 * whole->hertz);

    LoadSampleAhead(file);
    Ref<TSampleLoadAhead> ahead = LoadSampleAhead(file);
    Ref<TAudioSample> taken = ahead->Take();
    ASSERT_TRUE(taken && TSampleFill::Of(*taken));
    EXPECT_EQ(taken->length, whole->length);
    while (!ahead->Done()) std::this_thread::yield();
    EXPECT_TRUE(ahead->Whole());
    EXPECT_EQ(std::memcmp(taken->samples, whole->samples, static_cast<size_t>(whole->length) * 4), 0);
}
