// Mixer golden cases: every expected sample below is worked out by hand from
// the fixed-point rules (unity gain adds sample x 16 to the accumulator and
// the conversion divides by 16, so one voice at volume 1.0 reproduces its
// interpolated sample exactly).
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>
#include <vector>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/sample_fill.h>

#include "tests/resources/alloc_peak.h"

using namespace vantrel;

namespace {

uint32_t g_now = 1000;
uint32_t test_clock() { return g_now; }

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        mixer_set_clock(test_clock);
        g_now = 1000;
    }
    void TearDown() override {
        mixer_close();
        for (sound_buffer* b : _buffers) mixer_free_sound(b);
        mixer_set_clock(nullptr);
    }

    // frames: samples per block / 2.
    void Open(int frames) { ASSERT_EQ(mixer_open(CreateManualDevice(frames * 2)), 0); }

    sound_buffer* Mono16(std::vector<int16_t> data, int hertz, int loop) {
        return Keep(mixer_create_sound(static_cast<int>(data.size()), 16, 1, hertz, data.data(), loop));
    }
    sound_buffer* Keep(sound_buffer* b) {
        _buffers.push_back(b);
        return b;
    }

    // Mixes one block of `frames` frames (after the start delay has passed).
    std::vector<int16_t> Mix(int frames) {
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 0x5555);
        mixer_mix16(out.data(), frames * 2);
        return out;
    }
    // Lets queued voices start at once: the mixing clock runs 20 ms ahead.
    std::vector<int16_t> MixLater(int frames) {
        g_now += kStartDelayMs;
        return Mix(frames);
    }
    // Any game-thread call takes back the voices the mixer is done with,
    // and with them their buffer references.
    void Collect() { mixer_channel_status(0); }

    static std::vector<int16_t> Left(const std::vector<int16_t>& out) {
        std::vector<int16_t> left;
        for (size_t i = 0; i < out.size(); i += 2) left.push_back(out[i]);
        return left;
    }

    std::vector<sound_buffer*> _buffers;
};

TEST_F(MixerTest, HalfRateSoundAdvancesHalfAFrameAndFullRateOneFrame) {
    Open(16);
    std::vector<int16_t> ramp;
    for (int i = 0; i < 20; ++i) ramp.push_back(static_cast<int16_t>(1000 * i));
    int half = mixer_play(Mono16(ramp, 22050, 0), 0, mixer_alloc_channel());
    auto out = MixLater(16);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(out[2 * k], 500 * k) << k;
        EXPECT_EQ(out[2 * k + 1], 500 * k) << k;
    }
    EXPECT_EQ(mixer_channel_position(half), 8);

    mixer_stop_channel(half);
    mixer_play(Mono16(ramp, 44100, 0), 0, 0);
    out = MixLater(16);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(out[2 * k], 1000 * k) << k;
}

TEST_F(MixerTest, StereoEightBitInterpolatesEachChannelAtTheHalfFrame) {
    Open(4);
    // Frames (L, R): (128, 128), (192, 64), (255, 0); 128 is silence.
    uint8_t data[] = {128, 128, 192, 64, 255, 0};
    mixer_play(Keep(mixer_create_sound(3, 8, 2, 22050, data, 0)), 0, 0);
    auto out = MixLater(4);
    // (192 - 128) x 32768 >> 8 = 8192; output frame 3 lies halfway between
    // 192 and 255 (49152 + 8064 - 32768) on the left, 64 and 0 on the right.
    std::vector<int16_t> want = {0, 0, 8192, -8192, 16384, -16384, 24448, -24576};
    EXPECT_EQ(out, want);
}

TEST_F(MixerTest, OneShotEndsMidBlockAndUsesItsLastFrameAsGuard) {
    Open(12);
    int h = mixer_alloc_channel();
    ASSERT_EQ(mixer_play(Mono16({1000, 2000, 3000, 4000}, 22050, 0), 0, h), h);
    auto out = MixLater(12);
    std::vector<int16_t> left;
    for (int k = 0; k < 12; ++k) left.push_back(out[2 * k]);
    EXPECT_EQ(left, (std::vector<int16_t>{1000, 1500, 2000, 2500, 3000, 3500, 4000, 4000, 0, 0, 0, 0}));
    // The voice on a held channel stays queryable as ended.
    EXPECT_EQ(mixer_channel_status(h), kStatusStopped);
    EXPECT_EQ(mixer_channel_position(h), 4);
    Mix(12);
    EXPECT_EQ(mixer_channel_status(h), kStatusStopped);
}

TEST_F(MixerTest, LoopWrapsThroughAGuardFrameEqualToFrameZero) {
    Open(20);
    int h = mixer_play(Mono16({0, 4000, 8000, 12000}, 22050, 1), 0, 0);
    EXPECT_NE(h, 0);
    auto out = MixLater(20);
    std::vector<int16_t> want = {0, 2000, 4000, 6000, 8000, 10000, 12000, 6000};
    for (int k = 0; k < 20; ++k) EXPECT_EQ(out[2 * k], want[k % 8]) << k;
    EXPECT_EQ(mixer_channel_status(h), kStatusLooped);
    EXPECT_EQ(mixer_channel_position(h), 10);   // loops included
}

TEST_F(MixerTest, VolumeChangeRampsOverOneBlockOrAppliesAtOnceWhilePaused) {
    Open(64);
    sound_buffer* level = Mono16(std::vector<int16_t>(100, 16384), 44100, 1);
    int h = mixer_play(level, 0, 0);
    auto out = MixLater(64);
    EXPECT_EQ(out[0], 16384);
    EXPECT_EQ(out[127], 16384);

    mixer_set_volume(h, 0.5f);
    out = Mix(64);
    // Gain 4096 - 32k (the 4.20 step is -8192): 16384 x gain >> 8 >> 4.
    for (int k = 0; k < 64; ++k) EXPECT_EQ(out[2 * k], 16384 - 128 * k) << k;
    out = Mix(64);
    EXPECT_EQ(out[0], 8192);
    EXPECT_EQ(out[126], 8192);

    int cued = mixer_play(level, 1, 0);
    mixer_set_paused(h, 1);
    out = MixLater(64);
    EXPECT_EQ(out[0], 0);
    mixer_set_volume(cued, 0.25f);
    mixer_set_paused(cued, 0);
    out = Mix(64);
    EXPECT_EQ(out[0], 4096);
    EXPECT_EQ(out[127], 4096);
}

TEST_F(MixerTest, RateChangeRampsTheStrideOverOneBlock) {
    Open(4);
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) ramp.push_back(static_cast<int16_t>(100 * i));
    int h = mixer_play(Mono16(ramp, 44100, 0), 0, 0);
    auto out = MixLater(4);
    EXPECT_EQ(out[6], 300);
    mixer_set_rate(h, 2.0f);
    // Strides 1, 1.25, 1.5, 1.75 frames: positions 4, 5, 6.25, 7.75.
    out = Mix(4);
    EXPECT_EQ((std::vector<int16_t>{out[0], out[2], out[4], out[6]}), (std::vector<int16_t>{400, 500, 625, 775}));
    out = Mix(4);
    EXPECT_EQ((std::vector<int16_t>{out[0], out[2], out[4], out[6]}), (std::vector<int16_t>{950, 1150, 1350, 1550}));
    EXPECT_EQ(mixer_channel_position(h), 17);
}

// A rate set while a voice is cued or paused holds from the first block it
// plays again, with no glide from the old rate.
TEST_F(MixerTest, RateSetWhileCuedOrPausedAppliesAtOnceOnResume) {
    Open(4);
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) ramp.push_back(static_cast<int16_t>(100 * i));
    sound_buffer* b = Mono16(ramp, 44100, 0);
    const struct {
        bool cued;
        std::vector<int16_t> want;
    } cases[] = {{true, {0, 200, 400, 600}}, {false, {400, 600, 800, 1000}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cued);
        int h = mixer_play(b, c.cued ? 1 : 0, 0);
        MixLater(4);   // a cued voice waits; the other plays frames 0..3
        mixer_set_paused(h, 1);
        Mix(4);
        mixer_set_rate(h, 2.0f);
        mixer_set_paused(h, 0);
        EXPECT_EQ(Left(Mix(4)), c.want);
        mixer_stop_channel(h);
    }
}

TEST_F(MixerTest, ABlockShorterThanAFrameMixesNothingAndKeepsThePendingRamp) {
    Open(4);
    std::vector<int16_t> ramp;
    for (int i = 0; i < 100; ++i) ramp.push_back(static_cast<int16_t>(100 * i));
    int h = mixer_play(Mono16(ramp, 44100, 0), 0, 0);
    MixLater(4);
    mixer_set_rate(h, 2.0f);
    mixer_set_volume(h, 0.5f);
    int16_t out[2] = {0x5555, 0x5555};
    mixer_mix16(out, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0x5555);
    EXPECT_EQ(mixer_channel_position(h), 4);
    // The ramp then runs over the next real block: strides 1 to 1.75 frames,
    // volume 1.0 down to 0.625.
    auto block = Mix(4);
    EXPECT_EQ((std::vector<int16_t>{block[0], block[2], block[4], block[6]}),
              (std::vector<int16_t>{400, 437, 468, 484}));
}

TEST_F(MixerTest, SilentVoiceKeepsCountingWithoutTouchingTheMix) {
    Open(32);
    int h = mixer_alloc_channel();
    mixer_set_volume(h, 0.0f);
    mixer_play(Mono16(std::vector<int16_t>(50, 9999), 22050, 0), 0, h);
    auto out = MixLater(32);
    for (int16_t s : out) EXPECT_EQ(s, 0);
    EXPECT_EQ(mixer_channel_position(h), 16);
    Mix(32);
    Mix(32);
    EXPECT_EQ(mixer_channel_status(h), kStatusOnce);
    // A silent block jumps whole and checks the end once, after it.
    Mix(32);
    EXPECT_EQ(mixer_channel_status(h), kStatusStopped);
    EXPECT_EQ(mixer_channel_position(h), 64);
}

TEST_F(MixerTest, PanAttenuatesTheFarSideAndNegativeDepthInvertsTheRight) {
    Open(4);
    sound_buffer* level = Mono16(std::vector<int16_t>(10, 8000), 44100, 1);
    int right = mixer_alloc_channel();
    mixer_set_pan(right, 1.0f);
    mixer_play(level, 0, right);
    auto out = MixLater(4);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 8000);

    // Partial pans to either side.
    for (auto [pan, leftOut, rightOut] : {std::tuple{0.25f, 6000, 8000}, {-0.25f, 8000, 6000}, {-1.0f, 8000, 0}}) {
        mixer_set_pan(right, pan);
        out = Mix(4);
        EXPECT_EQ(out[0], leftOut) << pan;
        EXPECT_EQ(out[1], rightOut) << pan;
    }

    mixer_set_pan(right, -0.5f);
    mixer_set_depth(right, -1.0f);
    out = Mix(4);
    EXPECT_EQ(out[0], 8000);
    EXPECT_EQ(out[1], -4000);
}

TEST_F(MixerTest, TwoFullScaleVoicesClipInsteadOfWrapping) {
    Open(4);
    sound_buffer* high = Mono16(std::vector<int16_t>(8, 32767), 44100, 1);
    sound_buffer* low = Mono16(std::vector<int16_t>(8, -32768), 44100, 1);
    int a = mixer_play(high, 0, 0);
    int b = mixer_play(high, 0, 0);
    auto out = MixLater(4);
    for (int16_t s : out) EXPECT_EQ(s, 32767);
    mixer_stop_channel(a);
    mixer_stop_channel(b);
    mixer_play(low, 0, 0);
    mixer_play(low, 0, 0);
    out = MixLater(4);
    for (int16_t s : out) EXPECT_EQ(s, -32768);
}

TEST_F(MixerTest, VoiceQueuedInTheSameMillisecondStarts882FramesIn) {
    Open(1024);
    mixer_play(Mono16(std::vector<int16_t>(2000, 1234), 44100, 0), 0, 0);
    auto out = Mix(1024);
    EXPECT_EQ(out[2 * 881], 0);
    EXPECT_EQ(out[2 * 882], 1234);
    EXPECT_EQ(out[2 * 1023 + 1], 1234);

    // With 256-frame blocks the start lands 114 frames into the fourth block.
    mixer_close();
    Open(256);
    mixer_play(Mono16(std::vector<int16_t>(2000, 1234), 44100, 0), 0, 0);
    for (int b = 0; b < 3; ++b) {
        for (int16_t s : Mix(256)) ASSERT_EQ(s, 0);
    }
    out = Mix(256);
    EXPECT_EQ(out[2 * 113], 0);
    EXPECT_EQ(out[2 * 114], 1234);
}

TEST_F(MixerTest, HandlesCarryGenerationsAndRunOutAfter4095) {
    Open(8);
    std::set<int> indices;
    int first = 0;
    for (int i = 0; i < 4095; ++i) {
        int h = mixer_alloc_channel();
        ASSERT_NE(h, 0);
        ASSERT_EQ((h & ~4095) % 4096, 0);
        if (!first) first = h;
        indices.insert(h & 4095);
    }
    EXPECT_EQ(indices.size(), 4095u);
    EXPECT_EQ(*indices.begin(), 1);
    EXPECT_EQ(mixer_alloc_channel(), 0);

    // Without a free handle a play still sounds but gives no handle.
    EXPECT_EQ(mixer_play(Mono16({5000, 5000}, 44100, 1), 0, 0), 0);
    EXPECT_EQ(MixLater(8)[0], 5000);

    // A freed index comes back first, one generation on; the old handle is dead.
    mixer_free_channel(first);
    int again = mixer_alloc_channel();
    EXPECT_EQ(again & 4095, first & 4095);
    EXPECT_EQ(again - first, 4096);
    mixer_set_volume(first, 0.0f);
    mixer_free_channel(first);
    EXPECT_EQ(mixer_alloc_channel(), 0);
}

TEST_F(MixerTest, HandlesStayUniqueAcrossReopening) {
    Open(8);
    int before = mixer_alloc_channel();
    mixer_close();
    Open(8);
    int after = mixer_alloc_channel();
    EXPECT_EQ(after & 4095, before & 4095);
    EXPECT_NE(after, before);
    mixer_free_channel(before);   // stale: must not free the new owner's index
    EXPECT_EQ(mixer_channel_status(after), kStatusStopped);
    mixer_set_volume(after, 0.5f);
    mixer_play(Mono16({800, 800}, 44100, 1), 0, after);
    EXPECT_EQ(MixLater(8)[0], 400);
}

TEST_F(MixerTest, PlayOnAHeldChannelCutsTheOldVoiceAndKeepsItsSettings) {
    Open(8);
    sound_buffer* a = Mono16(std::vector<int16_t>(100, 1000), 44100, 1);
    sound_buffer* b = Mono16(std::vector<int16_t>(100, 3000), 44100, 1);
    int h = mixer_alloc_channel();
    mixer_set_volume(h, 0.5f);
    EXPECT_EQ(mixer_play(a, 0, h), h);
    EXPECT_EQ(MixLater(8)[0], 500);
    EXPECT_EQ(mixer_play(b, 0, h), h);
    EXPECT_EQ(MixLater(8)[0], 1500);   // only the new voice, at the kept volume
    Collect();
    EXPECT_EQ(a->refs.load(), 1);   // the cut voice gave its buffer back
    EXPECT_EQ(b->refs.load(), 2);
}

TEST_F(MixerTest, StopAndFreeReleaseVoicesAndBuffers) {
    Open(8);
    sound_buffer* once = Keep(mixer_create_sound(10, 16, 2, 44100, nullptr, 0));
    int held = mixer_alloc_channel();
    mixer_play(once, 0, held);
    int loose = mixer_play(once, 0, 0);
    EXPECT_EQ(once->refs.load(), 3);
    MixLater(8);
    Mix(8);   // both ended after 10 frames; the loose one is recycled
    EXPECT_EQ(mixer_channel_status(loose), kStatusFree);
    EXPECT_EQ(once->refs.load(), 2);
    mixer_stop_channel(held);
    EXPECT_EQ(mixer_channel_status(held), 0);
    Mix(8);
    Collect();
    EXPECT_EQ(once->refs.load(), 1);

    // A looping voice on a discarded channel plays on.
    sound_buffer* loop = Mono16({700, 700}, 44100, 1);
    int h = mixer_play(loop, 0, mixer_alloc_channel());
    mixer_free_channel(h);
    EXPECT_EQ(MixLater(8)[0], 700);
    mixer_stop_all();
    EXPECT_EQ(Mix(8)[0], 0);
    Collect();
    EXPECT_EQ(loop->refs.load(), 1);

    // A paused voice on a discarded channel could never resume: it stops and
    // gives its buffer back rather than staying listed for good.
    sound_buffer* cue = Mono16({900, 900}, 44100, 1);
    int cued = mixer_play(cue, 1, 0);
    int paused = mixer_play(cue, 0, 0);
    EXPECT_EQ(MixLater(8)[0], 900);
    mixer_set_paused(paused, 1);
    EXPECT_EQ(cue->refs.load(), 3);
    mixer_free_channel(cued);
    mixer_free_channel(paused);
    EXPECT_EQ(Mix(8)[0], 0);
    Collect();
    EXPECT_EQ(cue->refs.load(), 1);
}

// The mixing thread neither allocates nor frees. Voices start, loop, end and
// are dropped on sounds the game let go of while they played (a filling one
// among them, whose storage is a whole piece of decoded music in the game):
// their memory waits for the game thread's next call and is freed there.
TEST_F(MixerTest, MixingNeitherAllocatesNorFreesAndTheGameThreadReleasesWhatPlayed) {
    if (!alloc_peak::Available()) GTEST_SKIP() << "the allocator meter needs a build without sanitizers";
    Open(4);
    auto storage = std::make_shared<std::vector<int16_t>>(9, 300);
    std::weak_ptr<std::vector<int16_t>> storageKept = storage;
    uint8_t* frames = reinterpret_cast<uint8_t*>(storage->data());
    Ref<TSampleFill> fill = MakeRef<TSampleFill>(frames, 8, 2);
    ASSERT_TRUE(fill->ClaimGuard(true));
    fill->Advance(4);
    sound_buffer* filling = mixer_create_filling_sound(8, 16, 1, 44100, frames, 1, &fill->progress, std::move(storage));
    sound_buffer* once = mixer_create_sound(6, 16, 1, 44100, nullptr, 0);
    sound_buffer* loop = mixer_create_sound(3, 8, 2, 22050, nullptr, 1);
    const int held[] = {mixer_play(filling, 0, mixer_alloc_channel()), mixer_play(loop, 0, mixer_alloc_channel())};
    mixer_play(once, 0, 0);
    for (sound_buffer* b : {filling, once, loop}) mixer_free_sound(b);

    std::vector<int16_t> out(8);
    const size_t before = alloc_peak::CallsOnWatchedThreads();
    auto mixWatched = [&](int blocks) {
        alloc_peak::WatchThisThread(true);
        for (int i = 0; i < blocks; ++i) mixer_mix16(out.data(), 8);
        alloc_peak::WatchThisThread(false);
    };
    g_now += kStartDelayMs;
    mixWatched(2);   // the one-shot ends, the loop wraps, the filling sound waits
    fill->Advance(8);
    fill->Finish(true);
    mixWatched(4);   // the filling sound plays to its end and loops
    for (int h : held) mixer_stop_channel(h);
    mixWatched(2);   // the stopped voices are dropped
    EXPECT_EQ(alloc_peak::CallsOnWatchedThreads(), before);

    EXPECT_FALSE(storageKept.expired()) << "the mixing thread released the sound's storage";
    Collect();
    EXPECT_TRUE(storageKept.expired()) << "the game thread's call released nothing";
}

TEST_F(MixerTest, FullStartQueueDropsThePlay) {
    Open(8);
    sound_buffer* s = Mono16({1, 2}, 44100, 0);
    int held = mixer_alloc_channel();
    for (int i = 0; i < kRingSlots - 1; ++i) mixer_play(s, 0, 0);
    EXPECT_EQ(mixer_play(s, 0, held), 0);
    EXPECT_EQ(s->refs.load(), kRingSlots);   // 4095 queued voices + ours
    EXPECT_EQ(mixer_channel_status(held), kStatusStopped);
    Mix(8);
    EXPECT_EQ(mixer_play(s, 0, held), held);
}

TEST_F(MixerTest, EmptySoundHasASilentGuardAndEndsAtOnce) {
    Open(4);
    sound_buffer* e8 = Keep(mixer_create_sound(0, 8, 2, 44100, nullptr, 1));
    EXPECT_EQ(e8->data[0], 0x80);
    EXPECT_EQ(e8->data[1], 0x80);
    sound_buffer* e16 = Keep(mixer_create_sound(0, 16, 1, 44100, nullptr, 1));
    EXPECT_EQ(reinterpret_cast<int16_t*>(e16->data)[0], 0);
    int h = mixer_play(e8, 0, mixer_alloc_channel());
    for (int16_t v : MixLater(4)) EXPECT_EQ(v, 0);
    EXPECT_EQ(mixer_channel_status(h), kStatusStopped);

    EXPECT_EQ(mixer_create_sound(-1, 16, 1, 44100, nullptr, 0), nullptr);
    EXPECT_EQ(mixer_create_sound(4, 24, 1, 44100, nullptr, 0), nullptr);
    EXPECT_EQ(mixer_create_sound(4, 16, 1, 0, nullptr, 0), nullptr);
    EXPECT_EQ(mixer_create_sound(4, 8, 2, -44100, nullptr, 0), nullptr);
    EXPECT_EQ(mixer_create_sound(0x7FFFFFFF, 16, 2, 44100, nullptr, 0), nullptr);
}

TEST_F(MixerTest, InterpolationOfAFullScaleStepNeedsSixtyFourBits) {
    Open(2);
    int h = mixer_alloc_channel();
    mixer_set_rate(h, 0.75f);
    mixer_play(Mono16({-32768, 32767, 32767}, 44100, 0), 0, h);
    auto out = MixLater(2);
    EXPECT_EQ(out[2], 16383);   // -32768 + (65535 x 49152 >> 16)
}

TEST_F(MixerTest, NothingHappensWithoutAnOpenMixer) {
    sound_buffer* s = Mono16({1, 2}, 44100, 0);
    EXPECT_EQ(mixer_alloc_channel(), 0);
    EXPECT_EQ(mixer_play(s, 0, 0), 0);
    mixer_set_volume(8193, 1.0f);
    EXPECT_EQ(mixer_channel_status(8193), 0);
    int16_t out[4] = {7, 7, 7, 7};
    mixer_mix16(out, 4);
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(s->refs.load(), 1);
}

// A sound still being written plays what is in place, waits silently (and
// without moving) at the filled edge, and then goes on exactly as the same
// sound made whole would have, guard frame included.
TEST_F(MixerTest, FillingSoundWaitsAtTheFilledEdgeThenMatchesTheWholeSound) {
    const std::vector<int16_t> frames = {100, 200, 300, 400, 500, 600, 700, 800};
    for (int loop : {0, 1}) {
        SCOPED_TRACE(loop);
        Open(4);
        const int h = mixer_play(Mono16(frames, 22050, loop), 0, 0);
        std::vector<int16_t> whole;
        for (int block = 0; block < 6; ++block) {
            auto out = block == 0 ? MixLater(4) : Mix(4);
            for (int k = 0; k < 4; ++k) whole.push_back(out[2 * k]);
        }
        mixer_stop_channel(h);
        mixer_close();

        std::vector<int16_t> storage(frames.size() + 1, 0x7777);
        std::copy(frames.begin(), frames.begin() + 4, storage.begin());
        Ref<TSampleFill> fill = MakeRef<TSampleFill>(reinterpret_cast<uint8_t*>(storage.data()), 8, 2);
        ASSERT_TRUE(fill->ClaimGuard(loop != 0));
        ASSERT_FALSE(fill->ClaimGuard(loop == 0));
        fill->Advance(4);
        Open(4);
        sound_buffer* b = Keep(mixer_create_filling_sound(8, 16, 1, 22050, reinterpret_cast<uint8_t*>(storage.data()),
                                                          loop, &fill->progress, nullptr));
        const int g = mixer_play(b, 0, 0);
        std::vector<int16_t> played;
        auto first = MixLater(4);   // frames 0..2, with frame 3 as the neighbour
        for (int k = 0; k < 4; ++k) played.push_back(first[2 * k]);
        for (int wait = 0; wait < 2; ++wait) {
            auto held = Mix(4);     // would read frame 4
            EXPECT_EQ(held, std::vector<int16_t>(8, 0));
            EXPECT_EQ(mixer_channel_position(g), 2);
        }
        std::copy(frames.begin() + 4, frames.end(), storage.begin() + 4);
        fill->Advance(8);
        for (int block = 0; block < 2; ++block) {
            auto out = Mix(4);
            for (int k = 0; k < 4; ++k) played.push_back(out[2 * k]);
        }
        // Every frame is in but not the guard: the block that could reach the
        // end waits.
        EXPECT_EQ(Mix(4), std::vector<int16_t>(8, 0));
        EXPECT_EQ(mixer_channel_position(g), 6);
        fill->Finish(true);
        EXPECT_FALSE(fill->Failed());
        while (played.size() < whole.size()) {
            auto out = Mix(4);
            for (int k = 0; k < 4; ++k) played.push_back(out[2 * k]);
        }
        EXPECT_EQ(played, whole);
        mixer_close();
    }
}

// A sample that finished filling before a sound claimed its guard frame: the
// claim writes the guard, so the loop's seam is the same as the whole sound's.
TEST_F(MixerTest, GuardClaimedAfterTheFillCompletedGivesALoopItsSeam) {
    const std::vector<int16_t> frames = {100, 200, 300, 400};
    Open(12);
    mixer_play(Mono16(frames, 22050, 1), 0, 0);
    const std::vector<int16_t> whole = MixLater(12);
    mixer_close();

    std::vector<int16_t> storage = frames;
    storage.push_back(0x7777);
    Ref<TSampleFill> fill = MakeRef<TSampleFill>(reinterpret_cast<uint8_t*>(storage.data()), 4, 2);
    fill->Advance(4);
    fill->Finish(true);
    ASSERT_TRUE(fill->ClaimGuard(true));
    Open(12);
    mixer_play(Keep(mixer_create_filling_sound(4, 16, 1, 22050, reinterpret_cast<uint8_t*>(storage.data()), 1,
                                               &fill->progress, nullptr)),
               0, 0);
    EXPECT_EQ(MixLater(12), whole);
}

// At a quarter of the output rate a 3-frame block moves under one frame:
// wherever the fill's edge is, no frame past it reaches the output, not even
// as the neighbour that interpolation leans towards.
TEST_F(MixerTest, SlowFillingSoundNeverSoundsAFrameNotYetWritten) {
    constexpr int kFrames = 12;
    constexpr int16_t kUnwritten = 32000;
    std::vector<int16_t> storage(kFrames + 1, kUnwritten);
    Ref<TSampleFill> fill = MakeRef<TSampleFill>(reinterpret_cast<uint8_t*>(storage.data()), kFrames, 2);
    ASSERT_TRUE(fill->ClaimGuard(false));
    Open(3);
    const int h = mixer_play(Keep(mixer_create_filling_sound(kFrames, 16, 1, 11025,
                                                             reinterpret_cast<uint8_t*>(storage.data()), 0,
                                                             &fill->progress, nullptr)),
                             0, 0);
    g_now += kStartDelayMs;
    for (int written = 1; written <= kFrames; ++written) {
        storage[written - 1] = static_cast<int16_t>(100 * written);   // rising: any later frame is louder
        fill->Advance(written);
        for (int block = 0; block < 3; ++block) {
            for (int16_t v : Mix(3)) ASSERT_LE(v, 100 * written) << "written " << written << ", block " << block;
        }
    }
    EXPECT_GE(mixer_channel_position(h), kFrames - 2);   // kept up with the fill
}

}  // namespace
