// Fuzz target: the WAV sample loader on arbitrary bytes held in a bank. A
// sample that loads must fit in the input and, when it has a rate, play
// through the mixer; anything escaping the loader chain is a finding.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include <vantrel/audio/audio_device.h>
#include <vantrel/audio/mixer.h>
#include <vantrel/audio/wav_loader.h>
#include <vantrel/resources/bank_stream.h>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = [] {
        StartBankModule();
        StartWavLoaderModule();
        mixer_open(CreateManualDevice(256));
        return true;
    }();
    (void)started;
    if (size > INT_MAX) return 0;

    Ref<TBank> input = CreateStaticBank(const_cast<uint8_t*>(data), static_cast<int>(size));
    Ref<TAudioSample> sample = LoadSampleFromUrl(input);
    if (!sample) return 0;
    const int64_t bytes = static_cast<int64_t>(sample->length) * BytesPerSample[sample->format];
    if (sample->length < 0 || bytes > static_cast<int64_t>(size)) std::abort();

    const int channels = ChannelsPerSample[sample->format];
    sound_buffer* sound = mixer_create_sound(sample->length, BytesPerSample[sample->format] * 8 / channels, channels,
                                             sample->hertz, sample->samples, static_cast<int>(size & 1));
    if (!sound) {
        if (sample->hertz > 0) std::abort();
        return 0;   // a file without a rate loads but cannot be played
    }
    mixer_play(sound, 0, 0);
    int16_t out[256];
    for (int i = 0; i < 8; ++i) mixer_mix16(out, 256);
    mixer_stop_all();
    mixer_free_sound(sound);
    return 0;
}
