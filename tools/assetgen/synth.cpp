#include "tools/assetgen/synth.h"

#include <algorithm>

namespace assetgen {
namespace {

// The polyBLEP correction for a step at phase 0 of a wave advancing by dt
// per sample.
double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

float Oscillator::Next(double hz, float pulseWidth) {
    double dt = hz / kSampleRate;
    double t = phase_;
    double v = 0;
    switch (wave_) {
    case Wave::Sine:
        v = std::sin(kTwoPi * t);
        break;
    case Wave::Triangle:
        v = 1.0 - 4.0 * std::abs(t - 0.5);
        break;
    case Wave::Saw:
        v = 2.0 * t - 1.0 - PolyBlep(t, dt);
        break;
    case Wave::Square: {
        v = t < pulseWidth ? 1.0 : -1.0;
        v += PolyBlep(t, dt);
        double t2 = t - pulseWidth;
        if (t2 < 0) t2 += 1.0;
        v -= PolyBlep(t2, dt);
        break;
    }
    }
    phase_ += dt;
    phase_ -= std::floor(phase_);
    return float(v);
}

float Envelope::Next() {
    const float step = 1.0f / kSampleRate;
    if (on_) {
        if (attacking_) {
            level_ += attack_ > 0 ? step / attack_ : 1.0f;
            if (level_ >= 1.0f) {
                level_ = 1.0f;
                attacking_ = false;
            }
        } else {
            level_ = sustain_ + (level_ - sustain_) * std::exp(-step / std::max(decay_, 1e-4f));
        }
    } else {
        level_ *= std::exp(-step / std::max(release_, 1e-4f));
    }
    return level_;
}

Filter::Out Filter::Next(float in, float cutoffHz, float resonance) {
    float cutoff = std::clamp(cutoffHz, 10.0f, kSampleRate * 0.45f);
    float g = std::tan(3.14159265f * cutoff / kSampleRate);
    float k = 2.0f - 2.0f * std::clamp(resonance, 0.0f, 0.98f);
    float a1 = 1.0f / (1.0f + g * (g + k)), a2 = g * a1, a3 = g * a2;
    float v3 = in - ic2_;
    float v1 = a1 * ic1_ + a2 * v3;
    float v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    return {v2, v1, in - k * v1 - v2};
}

void FadeEnds(std::vector<float>& samples, int fadeSamples) {
    int n = int(samples.size());
    fadeSamples = std::min(fadeSamples, n / 2);
    for (int i = 0; i < fadeSamples; ++i) {
        float w = 0.5f - 0.5f * std::cos(3.14159265f * float(i) / float(fadeSamples));
        samples[i] *= w;
        samples[n - 1 - i] *= w;
    }
}

std::vector<int16_t> ToPcm16(const std::vector<float>& samples, float peak) {
    float loudest = 0;
    for (float s : samples) loudest = std::max(loudest, std::abs(s));
    float gain = loudest > 0 ? peak * 32767.0f / loudest : 0.0f;
    std::vector<int16_t> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = int16_t(std::lround(std::clamp(samples[i] * gain, -32767.0f, 32767.0f)));
    return out;
}

}  // namespace assetgen
