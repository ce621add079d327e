#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/assetgen/music.h"

using namespace assetgen;

TEST(Music, OneSeamlessLoopAtTheGameTempo) {
    // A beat is 0.6 s: 30 ticks of the 50 Hz frame clock.
    EXPECT_EQ(kMusicSamplesPerStep * kMusicStepsPerBeat, 44100 * 30 / 50);
    std::vector<int16_t> pcm = MakeMusic();
    ASSERT_EQ(pcm.size(), size_t(kMusicFrames) * 2);
    EXPECT_GE(kMusicFrames, 60 * 44100);
    EXPECT_LE(kMusicFrames, 120 * 44100);

    // The join, last frame to first, is no bigger a step than the music
    // takes around it: tails and echoes that run past the end come back in
    // at the start instead of stopping dead.
    const size_t n = pcm.size();
    auto step = [&](long frame, int channel) {
        return std::abs(int(pcm[(size_t(frame + 1) * 2 + n) % n + size_t(channel)]) -
                        int(pcm[(size_t(frame) * 2 + n) % n + size_t(channel)]));
    };
    for (int c = 0; c < 2; ++c) {
        int around = 0;
        for (long frame = -32; frame < 32; ++frame)
            if (frame != -1) around = std::max(around, step(frame, c));
        EXPECT_LE(step(-1, c), around) << c;
    }

    // Every bar plays something, and the full sections are louder than the
    // quiet ones around them.
    const size_t bar = size_t(kMusicSamplesPerStep) * 16;
    std::vector<double> rms;
    for (size_t b = 0; b < size_t(kMusicBars); ++b) {
        double sum = 0;
        for (size_t i = b * bar * 2; i < (b + 1) * bar * 2; ++i) sum += double(pcm[i]) * pcm[i];
        rms.push_back(std::sqrt(sum / double(bar * 2)));
        EXPECT_GT(rms.back(), 1000.0) << b;
    }
    EXPECT_GT(rms[16], 1.5 * rms[2]);
    EXPECT_GT(rms[16], 1.5 * rms[21]);
}
