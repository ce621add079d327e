// Building blocks of the generator's synthesiser: a seeded noise source,
// band-limited oscillators, envelopes and a state-variable filter. All of
// them are plain value types stepped one sample at a time, deterministic
// for the same seed and parameters. Nothing here fails; any thread, one
// object per thread.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen {

inline constexpr int kSampleRate = 44100;
inline constexpr double kTwoPi = 6.283185307179586;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
inline double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// White noise from a 32-bit xorshift generator with a fixed seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1) {}
    float Next() {  // -1..1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(state_) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t state_;
};

enum class Wave { Sine, Triangle, Saw, Square };

// A phase-accumulating oscillator; saw and square are smoothed at their
// steps (polyBLEP) so high notes do not alias into hiss.
class Oscillator {
public:
    explicit Oscillator(Wave wave, double phase = 0) : wave_(wave), phase_(phase) {}
    float Next(double hz, float pulseWidth = 0.5f);

private:
    Wave wave_;
    double phase_;
};

// Attack (linear), decay towards the sustain level and release
// (exponential), all times in seconds. Start at Gate(true), Gate(false) for
// the release.
class Envelope {
public:
    Envelope(float attack, float decay, float sustain, float release)
        : attack_(attack), decay_(decay), sustain_(sustain), release_(release) {}
    void Gate(bool on) { on_ = on; }
    float Next();

private:
    float attack_, decay_, sustain_, release_;
    float level_ = 0;
    bool on_ = false, attacking_ = true;
};

// Two-pole state-variable filter (the trapezoidal form, stable at any
// cutoff below Nyquist); resonance 0 = gentle, towards 1 = ringing.
class Filter {
public:
    struct Out {
        float low, band, high;
    };
    Out Next(float in, float cutoffHz, float resonance);
    float Low(float in, float cutoffHz, float resonance) { return Next(in, cutoffHz, resonance).low; }
    float High(float in, float cutoffHz, float resonance) { return Next(in, cutoffHz, resonance).high; }
    float Band(float in, float cutoffHz, float resonance) { return Next(in, cutoffHz, resonance).band; }

private:
    float ic1_ = 0, ic2_ = 0;
};

// Multiplies the first and last `fadeSamples` samples by a raised-cosine
// ramp so a sound starts and ends at silence.
void FadeEnds(std::vector<float>& samples, int fadeSamples);

// Converts -1..1 floats to 16-bit PCM, scaled so the loudest sample reaches
// `peak` (0..1) of full scale. Silence stays silence.
std::vector<int16_t> ToPcm16(const std::vector<float>& samples, float peak);

}  // namespace assetgen
