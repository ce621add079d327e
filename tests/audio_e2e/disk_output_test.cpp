// End to end: a sine WAV file loaded and played on the "Sonvar DirectSound"
// driver through SDL's disk output, which writes what the device plays to a
// raw file as fast as it is mixed. The tone must appear in that file sample
// for sample, at full level, 882 frames (20 ms) into the block that started
// it.
#include <gtest/gtest.h>

#include <SDL.h>   // SDL_setenv: the variables are SDL's, on every system

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <vantrel/audio/audio_driver.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/sonvar_driver.h>
#include <vantrel/audio/wav_loader.h>

using namespace vantrel;

namespace {

constexpr int kFrames = 4410;          // 0.1 s at 44100 Hz
constexpr int kBufferFrames = 2048;    // what SDL asks of the device per call

void Put(std::ofstream& f, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.put(static_cast<char>(v >> (8 * i)));
}

std::vector<int16_t> WriteSineWav(const std::string& path) {
    std::vector<int16_t> tone(kFrames);
    // 1 kHz, starting at its peak so the first frame is not silent.
    for (int i = 0; i < kFrames; ++i) tone[i] = static_cast<int16_t>(20000 * std::cos(2 * M_PI * 1000 * i / 44100.0));
    std::ofstream f(path, std::ios::binary);
    f.write("RIFF", 4);
    Put(f, 36 + kFrames * 2, 4);
    f.write("WAVEfmt ", 8);
    Put(f, 16, 4);
    Put(f, 1, 2);
    Put(f, 1, 2);
    Put(f, 44100, 4);
    Put(f, 88200, 4);
    Put(f, 2, 2);
    Put(f, 16, 2);
    f.write("data", 4);
    Put(f, kFrames * 2, 4);
    f.write(reinterpret_cast<const char*>(tone.data()), kFrames * 2);
    return tone;
}

TEST(DiskOutput, SineWavComesOutAtItsLevelAfterTheStartDelay) {
    const std::string dir = testing::TempDir();
    const std::string raw = dir + "/vantrel_disk_audio.raw";
    const std::string wav = dir + "/vantrel_sine.wav";
    std::filesystem::remove(raw);
    SDL_setenv("SDL_AUDIODRIVER", "disk", 1);
    SDL_setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
#ifndef _WIN32
    // SDL on Windows reads its variables into one shared buffer, so this
    // one would overwrite the file name read just before it.
    SDL_setenv("SDL_DISKAUDIODELAY", "0", 1);
#endif
    const std::vector<int16_t> tone = WriteSineWav(wav);

    // The disk output mixes far faster than real time; a still mixing clock
    // makes the 20 ms start delay exact however the threads are scheduled.
    mixer_set_clock([]() -> uint32_t { return 5000; });
    StartAudioModule();
    StartSonvarDriverModule();
    StartOggLoaderModule();
    StartWavLoaderModule();
    ASSERT_EQ(HasAudioDriver("Sonvar DirectSound"), 1);
    ASSERT_EQ(SelectAudioDriver("Sonvar DirectSound"), 1);

    Ref<TSound> sound = LoadSoundFromUrl(String(wav), 0);
    ASSERT_TRUE(sound);
    Ref<TChannel> channel = StartSound(sound, nullptr);
    ASSERT_TRUE(channel);
    for (int i = 0; i < 500 && IsChannelPlaying(channel); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(IsChannelPlaying(channel), 0);
    SelectAudioDriver("Null");

    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();   // Windows removes no file that is open
    const auto* out = reinterpret_cast<const int16_t*>(bytes.data());
    const size_t frames = bytes.size() / 4;
    size_t first = 0;
    while (first < frames && out[2 * first] == 0 && out[2 * first + 1] == 0) ++first;
    ASSERT_LT(first + kFrames, frames) << "the tone is not in the output";

    EXPECT_EQ(first % kBufferFrames, 882u);
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_EQ(out[2 * (first + i)], tone[i]) << i;
        ASSERT_EQ(out[2 * (first + i) + 1], tone[i]) << i;
    }
    for (size_t i = first + kFrames; i < frames; ++i) ASSERT_EQ(out[2 * i], 0) << i;
    std::filesystem::remove(raw);
    mixer_set_clock(nullptr);
}

}  // namespace
