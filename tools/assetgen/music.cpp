#include "tools/assetgen/music.h"

#include <algorithm>
#include <array>

#include "tools/assetgen/mix_levels.h"
#include "tools/assetgen/synth.h"

namespace assetgen {
namespace {

constexpr int kN = kMusicFrames;
constexpr int kStepsPerBar = 4 * kMusicStepsPerBeat;

// A stereo mix bus the length of the loop; writes wrap around its end.
struct Bus {
    std::vector<float> left = std::vector<float>(kN, 0.0f), right = std::vector<float>(kN, 0.0f);
    void Add(long position, float value, float pan) {  // pan -1 left .. 1 right
        size_t i = size_t(position % kN);
        left[i] += value * (1 - pan) * 0.5f;
        right[i] += value * (1 + pan) * 0.5f;
    }
};

long StepStart(int step) { return long(step) * kMusicSamplesPerStep; }
int Samples(double seconds) { return int(seconds * kSampleRate); }

// The harmony: eight bars, four times over.
struct Chord {
    int bassRoot;                 // MIDI note of the bass
    std::array<int, 3> pad;       // close voicing around middle C
    std::array<int, 4> arp;       // the arpeggio's tones, low to high
};
const std::array<Chord, 8> kChords = {{
    {33, {57, 60, 64}, {57, 60, 64, 69}},  // Am
    {29, {57, 60, 65}, {53, 57, 60, 65}},  // F
    {36, {55, 60, 64}, {55, 60, 64, 67}},  // C
    {31, {55, 59, 62}, {55, 59, 62, 67}},  // G
    {33, {57, 60, 64}, {57, 60, 64, 69}},  // Am
    {29, {57, 60, 65}, {53, 57, 60, 65}},  // F
    {31, {55, 59, 62}, {55, 59, 62, 67}},  // G
    {28, {56, 59, 64}, {56, 59, 64, 68}},  // E
}};

// The lead tune over the eight chords: (step in bar, length in steps, note).
struct Note {
    int step, length, note;
};
const std::array<std::vector<Note>, 8> kTune = {{
    {{0, 4, 69}, {4, 2, 72}, {6, 4, 76}, {10, 2, 74}, {12, 4, 72}},
    {{0, 6, 69}, {6, 2, 72}, {8, 4, 77}, {12, 4, 76}},
    {{0, 4, 67}, {4, 4, 72}, {8, 2, 76}, {10, 6, 79}},
    {{0, 6, 74}, {6, 2, 71}, {8, 4, 67}, {12, 2, 69}, {14, 2, 71}},
    {{0, 4, 72}, {4, 4, 76}, {8, 6, 81}, {14, 2, 79}},
    {{0, 4, 77}, {4, 2, 76}, {6, 4, 72}, {10, 6, 69}},
    {{0, 4, 71}, {4, 4, 74}, {8, 4, 79}, {12, 4, 74}},
    {{0, 6, 76}, {6, 2, 71}, {8, 4, 68}, {12, 2, 71}, {14, 2, 76}},
}};

// Which parts play in each bar.
struct Section {
    bool kick, bass, clap, busyHats, lead, arp;
};
Section SectionOf(int bar) {
    if (bar < 4) return {false, false, false, false, false, true};         // intro
    if (bar < 12) return {true, true, false, false, false, true};          // groove
    if (bar < 20) return {true, true, true, true, true, true};             // theme
    if (bar < 24) return {false, false, false, false, true, true};         // breakdown
    return {true, true, true, true, true, true};                           // theme again
}

void Kick(Bus& bus, long at) {
    Oscillator body(Wave::Sine);
    for (int i = 0; i < Samples(0.4); ++i) {
        float t = float(i) / kSampleRate;
        double hz = 45.0 + 110.0 * std::exp(-t / 0.03f);
        float v = body.Next(hz) * std::exp(-t / 0.16f) * std::min(1.0f, t / 0.001f);
        bus.Add(at + i, 0.95f * v, 0);
    }
}

void Clap(Bus& bus, long at, float level, Noise& noise) {
    Filter band;
    Oscillator tone(Wave::Triangle);
    for (int i = 0; i < Samples(0.25); ++i) {
        float t = float(i) / kSampleRate;
        // Three quick bursts then the tail, as hands clapping together.
        float bursts = t < 0.03f ? std::exp(-std::fmod(t, 0.01f) / 0.003f) : std::exp(-(t - 0.03f) / 0.06f);
        float v = band.Band(noise.Next(), 1400.0f, 0.35f) * bursts * 1.6f + tone.Next(190) * std::exp(-t / 0.03f) * 0.3f;
        bus.Add(at + i, level * v, 0.1f);
    }
}

void Hat(Bus& bus, long at, float level, double decay, Noise& noise, float pan) {
    Filter high;
    for (int i = 0; i < Samples(decay * 6); ++i) {
        float t = float(i) / kSampleRate;
        float v = high.High(noise.Next(), 8000.0f, 0.2f) * std::exp(-t / float(decay)) * std::min(1.0f, t / 0.002f);
        bus.Add(at + i, level * v, pan);
    }
}

// A resonant saw bass with a plucked filter; `ducked` by the kick later.
void Bass(Bus& bus, long at, int lengthSamples, int note) {
    Oscillator saw(Wave::Saw), sub(Wave::Sine);
    Filter filter;
    Envelope amp(0.003f, 0.2f, 0.7f, 0.03f);
    amp.Gate(true);
    double hz = NoteHz(note);
    for (int i = 0; i < lengthSamples + Samples(0.15); ++i) {
        if (i == lengthSamples) amp.Gate(false);
        float t = float(i) / kSampleRate;
        float cut = 250.0f + 1400.0f * std::exp(-t / 0.07f);
        float v = filter.Low(saw.Next(hz), cut, 0.55f) * 0.7f + sub.Next(hz) * 0.5f;
        bus.Add(at + i, 0.45f * v * amp.Next(), 0);
    }
}

// A soft chord of detuned saws with slow attack, spread across the stereo
// field.
void Pad(Bus& bus, long at, int lengthSamples, const std::array<int, 3>& notes) {
    for (size_t k = 0; k < notes.size(); ++k) {
        double hz = NoteHz(notes[k]);
        Oscillator a(Wave::Saw, 0.13 * k), b(Wave::Saw, 0.57 + 0.11 * k);
        Filter filter;
        Envelope amp(0.35f, 1.0f, 0.8f, 0.5f);
        amp.Gate(true);
        float pan = (float(k) - 1.0f) * 0.6f;
        for (int i = 0; i < lengthSamples + Samples(1.2); ++i) {
            if (i == lengthSamples) amp.Gate(false);
            float v = a.Next(hz * 1.004) + b.Next(hz * 0.996);
            bus.Add(at + i, 0.07f * filter.Low(v, 1500.0f, 0.1f) * amp.Next(), pan);
        }
    }
}

// A short square pluck, the arpeggio's voice.
void Pluck(Bus& bus, long at, int note, float level, float brightness, float pan) {
    Oscillator square(Wave::Square);
    Filter filter;
    double hz = NoteHz(note);
    for (int i = 0; i < Samples(0.3); ++i) {
        float t = float(i) / kSampleRate;
        float env = std::exp(-t / 0.07f) * std::min(1.0f, t / 0.002f);
        float v = filter.Low(square.Next(hz, 0.35f), 600.0f + brightness * 4000.0f * env, 0.3f);
        bus.Add(at + i, level * v * env, pan);
    }
}

// The lead: a saw over a square an octave below, with a gentle vibrato
// that grows through each note.
void Lead(Bus& bus, long at, int lengthSamples, int note, float level) {
    Oscillator a(Wave::Saw), b(Wave::Square), vibrato(Wave::Sine);
    Filter filter;
    Envelope amp(0.01f, 0.3f, 0.75f, 0.12f);
    amp.Gate(true);
    double hz = NoteHz(note);
    for (int i = 0; i < lengthSamples + Samples(0.6); ++i) {
        if (i == lengthSamples) amp.Gate(false);
        float t = float(i) / kSampleRate;
        double bend = 1.0 + 0.006 * std::min(1.0f, t / 0.4f) * vibrato.Next(5.5);
        float v = a.Next(hz * bend) * 0.6f + b.Next(hz * bend * 0.5, 0.5f) * 0.3f;
        bus.Add(at + i, level * filter.Low(v, 2600.0f, 0.2f) * amp.Next(), 0);
    }
}

// A ping-pong echo, three steps (a dotted eighth) long. The loop is run
// twice through the delay line and the second pass kept, so the echoes
// that ring over the end come back in at the start.
void PingPong(const Bus& send, Bus& out) {
    const int delay = 3 * kMusicSamplesPerStep;
    std::vector<float> lineL(delay, 0.0f), lineR(delay, 0.0f);
    Filter toneL, toneR;
    int pos = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < kN; ++i) {
            float echoL = lineL[pos], echoR = lineR[pos];
            float in = (send.left[i] + send.right[i]) * 0.5f;
            lineL[pos] = toneL.Low(in + echoR * 0.42f, 3500.0f, 0.0f);
            lineR[pos] = toneR.Low(echoL * 0.9f, 3500.0f, 0.0f);
            pos = (pos + 1) % delay;
            if (pass == 1) {
                out.left[i] += echoL * 0.5f;
                out.right[i] += echoR * 0.5f;
            }
        }
    }
}

// The kick pushes the rest of the mix down for a moment after each hit.
std::vector<float> KickDucking(const std::vector<int>& kickSteps) {
    std::vector<float> gain(kN, 1.0f);
    for (int step : kickSteps)
        for (int i = 0; i < Samples(0.3); ++i) {
            float t = float(i) / kSampleRate;
            gain[size_t((StepStart(step) + i) % kN)] *= 1.0f - 0.55f * std::exp(-t / 0.09f);
        }
    return gain;
}

}  // namespace

std::vector<int16_t> MakeMusic() {
    Bus drums, music, echoSend;
    Noise noise(0x9e3779b9u);
    std::vector<int> kicks;
    const int bar = kStepsPerBar * kMusicSamplesPerStep;

    for (int b = 0; b < kMusicBars; ++b) {
        const Chord& chord = kChords[size_t(b % 8)];
        const Section part = SectionOf(b);
        const int s0 = b * kStepsPerBar;
        const bool lastBar = b == kMusicBars - 1;

        Pad(music, StepStart(s0), bar - Samples(0.05), chord.pad);
        for (int s = 0; s < kStepsPerBar; ++s) {
            long at = StepStart(s0 + s);
            // The top of the loop lands the last bar's roll with one kick
            // and a crash.
            const bool downbeat = b == 0 && s == 0;
            if ((part.kick && s % 4 == 0 && !(lastBar && s >= 12)) || downbeat) {
                Kick(drums, at);
                kicks.push_back(s0 + s);
            }
            if (downbeat) Hat(drums, at, 0.3f, 0.3, noise, 0.0f);
            if (part.clap && (s == 4 || s == 12)) Clap(drums, at, 0.5f, noise);
            // A clap roll in the last bar leads back to the top.
            if (lastBar && s >= 12) Clap(drums, at, 0.2f + 0.08f * (s - 12), noise);
            if (s % 4 == 2) Hat(drums, at, 0.34f, (b % 2 && s == 14) ? 0.09 : 0.02, noise, 0.3f);
            else if (part.busyHats) Hat(drums, at, 0.16f, 0.012, noise, -0.3f);
            if (part.bass && s % 2 == 0) {
                int note = chord.bassRoot + (s % 8 == 6 ? 12 : 0);
                Bass(music, at, kMusicSamplesPerStep + kMusicSamplesPerStep / 2, note);
            }
            if (part.arp) {
                static constexpr int kOrder[8] = {0, 1, 2, 3, 2, 1, 2, 3};
                int note = chord.arp[size_t(kOrder[s % 8])] + (s >= 8 ? 12 : 0);
                float brightness = b < 4 ? 0.15f + 0.2f * float(b) : 0.8f;
                float pan = s % 2 ? 0.45f : -0.45f;
                Pluck(music, at, note, 0.16f, brightness, pan);
                Pluck(echoSend, at, note, 0.12f, brightness, pan);
            }
        }
        if (part.lead) {
            float level = b >= 20 && b < 24 ? 0.2f : 0.32f;
            for (const Note& n : kTune[size_t(b % 8)]) {
                int length = n.length * kMusicSamplesPerStep - Samples(0.03);
                Lead(music, StepStart(s0 + n.step), length, n.note, level);
                Lead(echoSend, StepStart(s0 + n.step), length, n.note, level * 0.6f);
                // The closing section doubles the tune an octave up.
                if (b >= 24) Lead(music, StepStart(s0 + n.step), length, n.note + 12, level * 0.3f);
            }
        }
    }
    PingPong(echoSend, music);

    std::vector<float> duck = KickDucking(kicks);
    std::vector<float> mix(size_t(kN) * 2);
    for (int i = 0; i < kN; ++i) {
        // A soft limiter keeps the peaks round.
        mix[size_t(i) * 2] = std::tanh(1.2f * (drums.left[i] + music.left[i] * duck[i]));
        mix[size_t(i) * 2 + 1] = std::tanh(1.2f * (drums.right[i] + music.right[i] * duck[i]));
    }
    return ToPcm16(mix, kMusicPeak);
}

}  // namespace assetgen
