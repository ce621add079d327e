// A sample load started ahead on a worker: its result, or its failure, shows
// where the program loads the sample, and a handle dropped early waits for
// the worker. Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include <vantrel/audio/sample_load_ahead.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/runtime/exceptions.h>

using namespace vantrel;

namespace {

std::atomic<int> opens{0};

// Stands in front of a file as if it could not tell its position.
class UnseekableStream : public TStreamWrapper {
public:
    int Pos() override { return -1; }
};

// "counted::path" opens the file and counts it; "unseekable::path" opens it
// behind a stream that cannot seek.
class TestFactory : public TStreamFactory {
public:
    Ref<TStream> CreateStream(const Ref<Object>&, const String& proto, const String& path, bool readable,
                              bool writeable) override {
        Ref<TStream> file = TCStream::OpenFile(path, readable, writeable);
        if (!file) return nullptr;
        if (proto == String("counted")) {
            ++opens;
            return file;
        }
        if (proto == String("unseekable")) {
            Ref<UnseekableStream> s = MakeRef<UnseekableStream>();
            s->SetStream(file);
            return s;
        }
        return nullptr;
    }
};

const std::string kWav = VANTREL_TEST_DATA "/wav/waveformatex-16bit-44100Hz-stereo.wav";

}  // namespace

TEST(SampleLoadAhead, TheLoadShowsWhereTheSampleIsLoadedWithItsResultOrFailure) {
    StartWavLoaderModule();
    MakeRef<TestFactory>();
    const String counted = String("counted::") + String(kWav.c_str());

    Ref<TAudioSample> direct = ReadSampleFromUrl(counted);
    ASSERT_TRUE(direct);
    opens = 0;
    {
        Ref<TSampleLoadAhead> ahead = LoadSampleAhead(counted);
        Ref<TAudioSample> taken = LoadSampleFromUrl(counted);
        ASSERT_TRUE(taken);
        EXPECT_EQ(opens, 1) << "the load at its usual place took the worker's sample";
        EXPECT_EQ(taken->length, direct->length);
        EXPECT_EQ(taken->format, direct->format);
        EXPECT_NE(LoadSampleFromUrl(counted).get(), taken.get()) << "a second load reads the file again";
        EXPECT_EQ(opens, 2);
    }

    const String missing = String(VANTREL_TEST_DATA "/wav/no-such-file.wav");
    const String unseekable = String("unseekable::") + String(kWav.c_str());
    {
        Ref<TSampleLoadAhead> a = LoadSampleAhead(missing);
        Ref<TSampleLoadAhead> b = LoadSampleAhead(unseekable);
        EXPECT_FALSE(LoadSampleFromUrl(missing));
        try {
            LoadSampleFromUrl(unseekable);
            ADD_FAILURE() << "the worker's exception was not raised at the load";
        } catch (const TRuntimeException& e) {
            EXPECT_EQ(e.ToString().To8Bit(), "Stream is not seekable");
        }
    }

    // Handles dropped before their loads were taken wait for their workers;
    // the next loads read the file themselves.
    opens = 0;
    for (int i = 0; i < 8; ++i) LoadSampleAhead(counted);
    EXPECT_EQ(opens, 8);
    EXPECT_TRUE(LoadSampleFromUrl(counted));
    EXPECT_EQ(opens, 9);
}

// A sound longer than two seconds is taken once those are decoded and the
// worker decodes the rest after the take, into the same sample, which then
// matches a whole load; a handle dropped before its take stops the decoding.
TEST(SampleLoadAhead, ALongSoundIsTakenEarlyAndFinishesAfterTheTake) {
    StartOggLoaderModule();
    const String file("/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga");
    Ref<TAudioSample> whole = ReadSampleFromUrl(file);
    ASSERT_TRUE(whole) << "sound-theme-freedesktop missing";
    ASSERT_GT(whole->length, 2 * whole->hertz);

    Ref<TSampleLoadAhead> ahead = LoadSampleAhead(file);
    Ref<TAudioSample> taken = LoadSampleFromUrl(file);
    ASSERT_TRUE(taken && taken->fill);
    EXPECT_EQ(taken->length, whole->length);
    taken->fill->Wait();
    while (!ahead->Done()) std::this_thread::yield();
    EXPECT_TRUE(ahead->Whole());
    EXPECT_EQ(std::memcmp(taken->samples, whole->samples, static_cast<size_t>(whole->length) * 4), 0);

    // Never taken: dropping the handle stops the worker at its hand-over.
    LoadSampleAhead(file);
}
