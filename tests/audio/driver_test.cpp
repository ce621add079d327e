// The audio front over the registry, the Null driver and the mixer-backed
// drivers, playing on SDL's "dummy" output (which consumes audio in real
// time and writes nothing).
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include <vantrel/audio/audio.h>
#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sonvar_driver_impl.h>
#include <vantrel/audio/wav_loader.h>

using namespace vantrel;

namespace {

// Waits up to five seconds for cond (sanitizer builds on a busy machine are slow).
bool Eventually(const std::function<bool()>& cond) {
    for (int i = 0; i < 500; ++i) {
        if (cond()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return cond();
}

Ref<TAudioSample> Tone(int frames, int format) {
    Ref<TAudioSample> s = NewAudioSample(frames, 22050, format);
    for (int i = 0; i < frames * BytesPerSample[format]; ++i) s->samples[i] = static_cast<uint8_t>(i * 7);
    return s;
}

class AudioDriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 0);
        StartAudioModule();
        StartSonvarDriverModule();
        StartOggLoaderModule();
        StartWavLoaderModule();
    }
    void TearDown() override { SelectAudioDriver("Null"); }
};

TEST_F(AudioDriverTest, RegistryListsNewestFirstAndMatchesNamesIgnoringCase) {
    Array<String> names = ListAudioDrivers();
    ASSERT_EQ(names->Length(), 4);
    EXPECT_EQ(names->At(0), String("Sonvar"));
    EXPECT_EQ(names->At(1), String("Sonvar Multimedia"));
    EXPECT_EQ(names->At(2), String("Sonvar DirectSound"));
    EXPECT_EQ(names->At(3), String("Null"));
    EXPECT_EQ(HasAudioDriver("sonvar directsound"), 1);
    EXPECT_EQ(HasAudioDriver("DirectSound"), 0);
}

TEST_F(AudioDriverTest, UnknownNameShutsTheOldDriverDownAndLeavesNullCurrent) {
    ASSERT_EQ(SelectAudioDriver("SONVAR DIRECTSOUND"), 1);
    EXPECT_TRUE(mixer_is_open());
    EXPECT_EQ(SelectAudioDriver("DirectSound"), 0);
    EXPECT_FALSE(mixer_is_open());
    EXPECT_EQ(CurrentAudioDriver()->Name(), String("Null"));

    // Under Null sounds still load and every call is silent.
    Ref<TSound> sound = LoadSoundFromUrl(Tone(100, SampleFormatMono8), 0);
    ASSERT_TRUE(sound);
    Ref<TChannel> channel = StartSound(sound, nullptr);
    ASSERT_TRUE(channel);
    ChangeChannelVolume(channel, 0.5f);
    EXPECT_EQ(IsChannelPlaying(channel), 0);
    EXPECT_TRUE(ReserveChannel());
    EXPECT_FALSE(LoadSoundFromUrl(String("no/such/file.wav"), 0));
}

TEST_F(AudioDriverTest, ChannelsPlayStopPauseAndCarryOnAsTheGameExpects) {
    ASSERT_EQ(SelectAudioDriver("Sonvar DirectSound"), 1);
    Ref<TSound> effect = LoadSoundFromUrl(Tone(200000, SampleFormatStereo16BE), 0);
    Ref<TSound> loop = LoadSoundFromUrl(Tone(1000, SampleFormatMono16LE), kSoundLoop);
    ASSERT_TRUE(IsA<TSonvarSound>(effect));

    // Two starts without a channel: two voices at once.
    Ref<TChannel> a = StartSound(effect, nullptr);
    Ref<TChannel> b = StartSound(effect, nullptr);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_EQ(IsChannelPlaying(a) + IsChannelPlaying(b), 2);
    auto* sa = static_cast<TSonvarChannel*>(a.get());
    EXPECT_TRUE(Eventually([&] { return sa->Position() > 0; }));

    // A reserved channel comes back as itself and cuts what it played.
    Ref<TChannel> held = ReserveChannel();
    ASSERT_TRUE(held);
    EXPECT_EQ(StartSound(loop, held), held);
    EXPECT_EQ(StartSound(effect, held), held);
    sound_buffer* loopBuffer = static_cast<TSonvarSound*>(loop.get())->sv_sound;
    // The cut voice gives its buffer back at a game-thread call once the
    // mixing thread has let it go.
    EXPECT_TRUE(Eventually([&] { return IsChannelPlaying(held) == 1 && loopBuffer->refs.load() == 1; }));

    HaltChannel(held);
    EXPECT_EQ(IsChannelPlaying(held), 0);
    ChangeChannelVolume(held, 0.1f);
    ResumeChannelPlayback(held);
    EXPECT_EQ(IsChannelPlaying(held), 0);

    Ref<TChannel> cued = PrepareSound(loop, nullptr);
    EXPECT_EQ(IsChannelPlaying(cued), 0);
    ResumeChannelPlayback(cued);
    EXPECT_EQ(IsChannelPlaying(cued), 1);
    PauseChannelPlayback(cued);
    EXPECT_EQ(IsChannelPlaying(cued), 0);

    // A channel of another driver is refused.
    EXPECT_FALSE(StartSound(effect, MakeRef<TChannel>()));

    // Dropping the sound object leaves playing voices their data.
    sound_buffer* effectBuffer = static_cast<TSonvarSound*>(effect.get())->sv_sound;
    effect = nullptr;
    EXPECT_GE(effectBuffer->refs.load(), 2);
    EXPECT_EQ(IsChannelPlaying(a), 1);
}

TEST_F(AudioDriverTest, ASampleTheRunningMixerRefusesGivesNoSound) {
    Ref<TAudioSample> rateless = NewAudioSample(100, 0, SampleFormatMono16LE);
    ASSERT_EQ(SelectAudioDriver("Sonvar"), 1);
    EXPECT_FALSE(LoadSoundFromUrl(rateless, 0));
    ASSERT_EQ(SelectAudioDriver("Null"), 1);
    EXPECT_TRUE(LoadSoundFromUrl(rateless, 0));   // nothing plays anyway
}

TEST_F(AudioDriverTest, OpenAudioChoosesTheFirstDriverThatStarts) {
    SelectAudioDriver("Sonvar Multimedia");
    EXPECT_EQ(OpenAudio(), String("Sonvar DirectSound"));
    EXPECT_EQ(CurrentAudioDriver()->Name(), String("Sonvar DirectSound"));
    EXPECT_TRUE(mixer_is_open());
}

TEST_F(AudioDriverTest, QueueDeviceRefillsFromItsTimer) {
    ASSERT_EQ(SelectAudioDriver("Sonvar Multimedia"), 1);
    Ref<TChannel> c = StartSound(LoadSoundFromUrl(Tone(500, SampleFormatMono8), kSoundLoop), nullptr);
    auto* channel = static_cast<TSonvarChannel*>(c.get());
    const int first = channel->Position();
    EXPECT_TRUE(Eventually([&] { return channel->Position() > first + 5000; }));
    // The generic name opens the queue device first.
    ASSERT_EQ(SelectAudioDriver("sonvar"), 1);
    EXPECT_TRUE(mixer_is_open());
}

TEST_F(AudioDriverTest, WithoutAnyOutputDeviceSelectingFailsAndNullPlaysSilently) {
    SelectAudioDriver("Null");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    const char* before = SDL_getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-output", 1);

    EXPECT_EQ(SelectAudioDriver("Sonvar Multimedia"), 0);
    EXPECT_EQ(SelectAudioDriver("Sonvar DirectSound"), 0);
    EXPECT_EQ(SelectAudioDriver("Sonvar"), 0);
    EXPECT_EQ(CurrentAudioDriver()->Name(), String("Null"));
    EXPECT_EQ(OpenAudio(), String("Null"));
    Ref<TChannel> c = StartSound(LoadSoundFromUrl(Tone(10, SampleFormatMono8), 0), nullptr);
    EXPECT_EQ(IsChannelPlaying(c), 0);

    SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace
