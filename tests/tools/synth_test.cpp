#include <gtest/gtest.h>

#include <cmath>

#include "tools/assetgen/effects.h"
#include "tools/assetgen/synth.h"

using namespace assetgen;

namespace {

int RisingZeroCrossings(const std::vector<float>& s) {
    int n = 0;
    for (size_t i = 1; i < s.size(); ++i) n += s[i - 1] < 0 && s[i] >= 0;
    return n;
}

std::vector<float> Tone(Wave wave, double hz, int samples) {
    Oscillator osc(wave);
    std::vector<float> s(static_cast<size_t>(samples));
    for (float& v : s) v = osc.Next(hz);
    return s;
}

double Rms(const std::vector<float>& s, size_t from = 0) {
    double sum = 0;
    for (size_t i = from; i < s.size(); ++i) sum += double(s[i]) * s[i];
    return std::sqrt(sum / double(s.size() - from));
}

// Loudness of the slope against loudness of the signal: for a pure tone
// 2 pi f / rate, so it grows with the pitch of what is heard most.
double Brightness(const std::vector<int16_t>& s) {
    double slope = 0, level = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        double d = double(s[i]) - s[i - 1];
        slope += d * d;
        level += double(s[i]) * s[i];
    }
    return std::sqrt(slope / level);
}

}  // namespace

TEST(Synth, OscillatorsRunAtTheirFrequencyWithinRange) {
    for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Square}) {
        std::vector<float> s = Tone(wave, 441.0, kSampleRate);
        EXPECT_NEAR(RisingZeroCrossings(s), 441, 1);
        for (float v : s) ASSERT_LE(std::abs(v), 1.2f);
    }
    EXPECT_NEAR(NoteHz(69), 440.0, 1e-9);
    EXPECT_NEAR(NoteHz(57), 220.0, 1e-9);
}

TEST(Synth, FilterPassesAndStopsTheRightBands) {
    auto through = [](double hz, bool low) {
        Filter f;
        std::vector<float> s = Tone(Wave::Sine, hz, kSampleRate / 4);
        for (float& v : s) v = low ? f.Low(v, 500.0f, 0.0f) : f.High(v, 500.0f, 0.0f);
        return Rms(s, s.size() / 2) / std::sqrt(0.5);
    };
    EXPECT_GT(through(60, true), 0.95);
    EXPECT_LT(through(8000, true), 0.01);
    EXPECT_GT(through(8000, false), 0.95);
    EXPECT_LT(through(60, false), 0.05);
}

TEST(Synth, EnvelopeRisesHoldsAndReleases) {
    Envelope env(0.01f, 0.05f, 0.5f, 0.02f);
    env.Gate(true);
    float level = 0;
    for (int i = 0; i < kSampleRate / 100; ++i) level = env.Next();
    EXPECT_NEAR(level, 1.0f, 0.01f);
    for (int i = 0; i < kSampleRate / 2; ++i) level = env.Next();
    EXPECT_NEAR(level, 0.5f, 0.01f);
    env.Gate(false);
    for (int i = 0; i < kSampleRate / 5; ++i) level = env.Next();
    EXPECT_LT(level, 0.001f);
}

TEST(Synth, FadedPcmStartsAndEndsSilentAtThePeakAskedFor) {
    std::vector<float> s = Tone(Wave::Square, 300, 2000);
    FadeEnds(s, 100);
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_LT(std::abs(s.back()), 0.001f);
    std::vector<int16_t> pcm = ToPcm16(s, 0.5f);
    int peak = 0;
    for (int16_t v : pcm) peak = std::max(peak, std::abs(int(v)));
    EXPECT_NEAR(peak, 16384, 2);
    EXPECT_EQ(ToPcm16(std::vector<float>(10, 0.0f), 1.0f), std::vector<int16_t>(10, 0));
    Noise a(7), b(7);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.Next(), b.Next());
}

TEST(Effects, ShortLoudDistinctAndClickFree) {
    std::vector<std::vector<int16_t>> sounds;
    for (const EffectPiece& piece : kEffectPieces) {
        SCOPED_TRACE(piece.name);
        std::vector<int16_t> s = piece.make();
        EXPECT_EQ(s, piece.make());
        EXPECT_GE(s.size(), size_t(kSampleRate / 10));
        EXPECT_LE(s.size(), size_t(kSampleRate / 2));
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, 7000);   // clearly heard, yet with room left for the music
        // No click: the ends are silent and ramp smoothly.
        EXPECT_EQ(s.front(), 0);
        EXPECT_LT(std::abs(int(s.back())), 64);
        for (size_t i = 1; i < 24; ++i) {
            EXPECT_LT(std::abs(s[i] - s[i - 1]), 2000);
            EXPECT_LT(std::abs(s[s.size() - i] - s[s.size() - i - 1]), 2000);
        }
        sounds.push_back(s);
    }
    // The block rings brighter than the launch, the hurt is the dullest.
    double shot = Brightness(sounds[0]), hit = Brightness(sounds[1]), miss = Brightness(sounds[2]);
    EXPECT_GT(hit, 1.3 * shot) << shot;
    EXPECT_GT(shot, 1.3 * miss) << miss;
}
