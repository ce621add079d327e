// Fuzz target: the OGG sample loader (libvorbisfile over the stream
// callbacks) on arbitrary bytes held in a bank. A sample that loads must be
// mono or stereo 16-bit; anything escaping the loader chain is a finding.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include <vantrel/audio/ogg_loader.h>
#include <vantrel/resources/bank_stream.h>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = [] {
        StartBankModule();
        StartOggLoaderModule();
        return true;
    }();
    (void)started;
    if (size > INT_MAX) return 0;

    Ref<TBank> input = CreateStaticBank(const_cast<uint8_t*>(data), static_cast<int>(size));
    Ref<TAudioSample> sample = LoadSampleFromUrl(input);
    if (!sample) return 0;
    if (sample->format != SampleFormatMono16LE && sample->format != SampleFormatStereo16LE) std::abort();
    if (sample->length < 0 || sample->capacity != sample->length * BytesPerSample[sample->format]) std::abort();
    return 0;
}
