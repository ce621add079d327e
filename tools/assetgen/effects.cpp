#include "tools/assetgen/effects.h"

#include "tools/assetgen/mix_levels.h"
#include "tools/assetgen/synth.h"

namespace assetgen {
namespace {

std::vector<float> Silence(double seconds) { return std::vector<float>(size_t(seconds * kSampleRate), 0.0f); }

float Seconds(size_t i) { return float(i) / kSampleRate; }

// Ramps of a few milliseconds at both ends keep the speaker from clicking.
std::vector<int16_t> Finish(std::vector<float> s, float peak) {
    FadeEnds(s, kSampleRate / 400);
    return ToPcm16(s, peak);
}

}  // namespace

// Launch: a pulse wave sweeping down from high to mid pitch through an
// opening filter, with a breath of noise at the start.
std::vector<int16_t> MakeShotSound() {
    std::vector<float> s = Silence(0.22);
    Oscillator pulse(Wave::Square), sub(Wave::Triangle);
    Noise noise(0x5107u);
    Filter tone, air;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = Seconds(i);
        double hz = 220.0 + 1300.0 * std::exp(-t / 0.045);
        float body = 0.6f * pulse.Next(hz, 0.3f) + 0.5f * sub.Next(hz * 0.5);
        float amp = std::min(1.0f, t / 0.003f) * std::exp(-t / 0.07f);
        float hiss = air.High(noise.Next(), 2000.0f, 0.2f) * std::exp(-t / 0.012f) * 0.25f;
        s[i] = tone.Low(body, 1200.0f + 3000.0f * std::exp(-t / 0.04f), 0.3f) * amp + hiss;
    }
    return Finish(s, 0.875f * kEffectPeak);
}

// Block: a struck metal plate, bell partials from frequency modulation with
// a fast-falling index, ringing out bright and short.
std::vector<int16_t> MakeHitSound() {
    std::vector<float> s = Silence(0.3);
    Oscillator carrier(Wave::Sine), modulator(Wave::Sine), shimmer(Wave::Sine);
    Noise noise(0x417u);
    Filter click;
    double fc = 2093.0;  // C7
    for (size_t i = 0; i < s.size(); ++i) {
        float t = Seconds(i);
        float index = 2.5f * std::exp(-t / 0.03f) + 0.3f;
        double mod = modulator.Next(fc * 1.41) * index;
        float bell = carrier.Next(fc * (1.0 + 0.25 * mod)) * std::exp(-t / 0.09f);
        float ring = 0.35f * shimmer.Next(fc * 2.0) * std::exp(-t / 0.05f);
        float tick = click.Band(noise.Next(), 6000.0f, 0.5f) * std::exp(-t / 0.004f);
        s[i] = (bell + ring) * std::min(1.0f, t / 0.001f) + tick;
    }
    return Finish(s, 0.8125f * kEffectPeak);
}

// Hurt: a low thump falling in pitch under a muffled crunch, dark and heavy.
std::vector<int16_t> MakeMissSound() {
    std::vector<float> s = Silence(0.45);
    Oscillator thump(Wave::Sine), growl(Wave::Saw);
    Noise noise(0x3155u);
    Filter dark, mud;
    for (size_t i = 0; i < s.size(); ++i) {
        float t = Seconds(i);
        double hz = 45.0 + 110.0 * std::exp(-t / 0.08f);
        float body = thump.Next(hz) * std::exp(-t / 0.16f);
        float buzz = mud.Low(growl.Next(hz * 1.5), 500.0f, 0.4f) * 0.6f * std::exp(-t / 0.12f);
        float crunch = dark.Low(noise.Next(), 900.0f * std::exp(-t / 0.1f) + 150.0f, 0.3f) * std::exp(-t / 0.07f);
        float mix = (body + buzz + 1.2f * crunch) * std::min(1.0f, t / 0.004f);
        s[i] = std::tanh(1.8f * mix);
    }
    return Finish(s, kEffectPeak);
}

}  // namespace assetgen
