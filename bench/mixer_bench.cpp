// Mixing cost: 64 looping voices (mono 16-bit 22050 Hz and stereo 8-bit
// 44100 Hz) with volume ramps, mixed for 10 s of output in the device's
// 1024-sample blocks. Reports ns per voice-frame and times faster than real
// time.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>

using namespace vantrel;

namespace {

constexpr int kVoices = 64;
constexpr int kBlockSamples = 1024;
constexpr int kSeconds = 10;

uint32_t g_now = 0;
uint32_t bench_clock() { return g_now; }

void BM_Mix64Voices(benchmark::State& state) {
    mixer_set_clock(bench_clock);
    mixer_open(CreateManualDevice(kBlockSamples));

    std::vector<int16_t> mono(22050);
    std::vector<uint8_t> stereo(2 * 44100);
    for (size_t i = 0; i < mono.size(); ++i) mono[i] = static_cast<int16_t>(12000 * std::sin(i * 0.05));
    for (size_t i = 0; i < stereo.size(); ++i) stereo[i] = static_cast<uint8_t>(128 + 60 * std::sin(i * 0.03));
    sound_buffer* a = mixer_create_sound(22050, 16, 1, 22050, mono.data(), 1);
    sound_buffer* b = mixer_create_sound(44100, 8, 2, 44100, stereo.data(), 1);
    std::vector<int> channels;
    for (int v = 0; v < kVoices; ++v) channels.push_back(mixer_play(v % 2 ? b : a, 0, 0));
    g_now += 100;   // past the start delay

    const int blocks = kMixerRate * kSeconds * kMixerChannels / kBlockSamples;
    std::vector<int16_t> out(kBlockSamples);
    for (auto _ : state) {
        for (int i = 0; i < blocks; ++i) {
            // Every fourth block each voice gets a new volume: a ramp block.
            if (i % 4 == 0) {
                for (int v = 0; v < kVoices; ++v) mixer_set_volume(channels[v], 0.25f + 0.01f * ((i + v) % 50));
            }
            mixer_mix16(out.data(), kBlockSamples);
        }
        benchmark::DoNotOptimize(out.data());
    }

    const double voiceFrames = static_cast<double>(blocks) * (kBlockSamples / 2) * kVoices;
    state.counters["ns_per_voice_frame"] = benchmark::Counter(
        voiceFrames * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);

    mixer_close();
    mixer_free_sound(a);
    mixer_free_sound(b);
    mixer_set_clock(nullptr);
}

BENCHMARK(BM_Mix64Voices)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
