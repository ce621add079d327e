// The game thread starts, steers and stops thousands of voices while a second
// thread mixes without pause. Run under ThreadSanitizer this finds races on
// the rings and voice fields; the final accounting finds voices that were
// lost (never came back) or duplicated (came back twice).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/sample_fill.h>

using namespace vantrel;

namespace {

// Mixes 256-sample blocks with m on a thread of its own until done, handing
// each block to seen.
std::thread MixUntil(mixer* m, const std::atomic<bool>& done, std::function<void(const std::vector<int16_t>&)> seen) {
    return std::thread([m, &done, seen = std::move(seen)] {
        std::vector<int16_t> out(256);
        while (!done.load()) {
            m->mix16(out.data(), 256);
            seen(out);
        }
    });
}

}  // namespace

TEST(MixerStress, GameThreadAndMixingThreadShareVoicesWithoutLosingAny) {
    audiodevice* device = CreateManualDevice(256);
    ASSERT_EQ(mixer_open(device), 0);
    mixer* m = device->mix;

    std::vector<int16_t> shortData(64, 3000);
    std::vector<uint8_t> stereo8(2 * 200, 200);
    sound_buffer* shortOnce = mixer_create_sound(64, 16, 1, 22050, shortData.data(), 0);
    sound_buffer* loop8 = mixer_create_sound(200, 8, 2, 44100, stereo8.data(), 1);

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::thread mixing = MixUntil(m, done, [&](const std::vector<int16_t>&) { blocks.fetch_add(1); });

    std::mt19937 rng(1234);
    std::vector<int> held;
    for (int i = 0; i < 32; ++i) held.push_back(mixer_alloc_channel());
    int plays = 0;
    for (int op = 0; op < 40000; ++op) {
        // Stopping everything must leave the mixing thread's list alone.
        if (op % 2000 == 1999) mixer_stop_all();
        int& h = held[rng() % held.size()];
        switch (rng() % 10) {
        case 0:
        case 1:
        case 2: {
            int got = mixer_play(shortOnce, 0, 0);
            if (got) mixer_free_channel(got);   // a discarded channel plays to its end
            ++plays;
            break;
        }
        case 3: {
            int got = mixer_play(rng() % 2 ? loop8 : shortOnce, rng() % 4 == 0, h);
            EXPECT_TRUE(got == h || got == 0);
            ++plays;
            break;
        }
        case 4:
            mixer_stop_channel(h);
            h = mixer_alloc_channel();
            break;
        case 5:
            mixer_set_volume(h, static_cast<float>(rng() % 200) / 100.0f);
            mixer_set_pan(h, static_cast<float>(static_cast<int>(rng() % 200) - 100) / 100.0f);
            break;
        case 6:
            mixer_set_rate(h, static_cast<float>(rng() % 300) / 100.0f);
            mixer_set_depth(h, rng() % 2 ? -1.0f : 1.0f);
            break;
        case 7:
            mixer_set_paused(h, static_cast<int>(rng() % 2));
            break;
        case 8: {
            int s = mixer_channel_status(h);
            EXPECT_TRUE(s == 0 || s == 1 || s == 2 || s == 4 || s == 0x12 || s == 0x14) << s;
            EXPECT_GE(mixer_channel_position(h), 0);
            break;
        }
        default:
            if (op % 64 == 0) std::this_thread::yield();
            break;
        }
    }
    for (int h : held) mixer_stop_channel(h);

    // Let every queued voice start and end on the mixing thread.
    long seen = blocks.load();
    while (blocks.load() < seen + 400) std::this_thread::yield();
    done.store(true);
    mixing.join();
    // Collect what the mixer parked (it keeps voices listed while the
    // recycle ring is full) until every voice has come back.
    std::vector<int16_t> out(256);
    for (int i = 0; i < 50; ++i) {
        while (!m->recycle.empty()) m->keep_spare(m->take_voice());
        m->mix16(out.data(), 256);
    }

    EXPECT_GT(plays, 10000);
    EXPECT_EQ(m->active, nullptr);
    EXPECT_EQ(m->idle_count(), m->voice_count());
    EXPECT_EQ(shortOnce->refs.load(), 1);
    EXPECT_EQ(loop8->refs.load(), 1);
    for (int16_t s : out) EXPECT_EQ(s, 0);

    mixer_close();
    mixer_free_sound(shortOnce);
    mixer_free_sound(loop8);
}

// A writer fills a sound in chunks while the mixing thread plays it: the
// voice never gets past the frames written, and every frame it mixes was
// written before it was read (ThreadSanitizer checks that hand-over).
TEST(MixerStress, AFillingSoundPlaysOnlyWhatIsWritten) {
    audiodevice* device = CreateManualDevice(256);
    ASSERT_EQ(mixer_open(device), 0);
    mixer* m = device->mix;
    constexpr int kFrames = 44100;
    std::vector<int16_t> storage(kFrames + 1);
    Ref<TSampleFill> fill =
        MakeRef<TSampleFill>(reinterpret_cast<uint8_t*>(storage.data()), kFrames, 2);
    ASSERT_TRUE(fill->ClaimGuard(false));
    sound_buffer* filling = mixer_create_filling_sound(kFrames, 16, 1, 44100, reinterpret_cast<uint8_t*>(storage.data()),
                                                       0, &fill->progress, nullptr);
    const int h = mixer_alloc_channel();
    ASSERT_EQ(mixer_play(filling, 0, h), h);

    std::atomic<bool> done{false};
    std::atomic<int> loud{0};
    std::thread mixing = MixUntil(m, done, [&](const std::vector<int16_t>& out) {
        for (int16_t s : out) {
            if (s == 1000) loud.fetch_add(1, std::memory_order_relaxed);
        }
    });
    for (int written = 0; written < kFrames;) {
        const int next = std::min(kFrames, written + 1000);
        std::fill(storage.begin() + written, storage.begin() + next, int16_t{1000});
        written = next;
        fill->Advance(written);
        EXPECT_LE(mixer_channel_position(h), written);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    fill->Finish(true);
    while (mixer_channel_status(h) != kStatusStopped) std::this_thread::yield();
    done.store(true);
    mixing.join();
    EXPECT_EQ(mixer_channel_position(h), kFrames);
    EXPECT_GE(loud.load(), 2 * (kFrames - 1)) << "every frame was mixed as written, both channels";

    mixer_free_channel(h);
    mixer_close();
    mixer_free_sound(filling);
}
