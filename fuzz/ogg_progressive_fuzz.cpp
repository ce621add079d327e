// Fuzz target: the OGG loader's progressive decoding, the way a game's music
// loads ahead (LoadSampleAhead): a sound longer than two seconds is handed
// out once those are decoded and the rest decodes into the same sample. A
// sample handed out must come back as the load's result with its fill
// finished, frames filled within its length and all of them when it did not
// fail; a copy, which reads silence past the filled frames, must work;
// anything escaping the loader chain is a finding.
#include <climits>
#include <cstdint>
#include <cstdlib>

#include <vantrel/audio/ogg_loader.h>
#include <vantrel/audio/progressive_load.h>
#include <vantrel/audio/sample_fill.h>
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
    Ref<TAudioSample> early;
    Ref<TAudioSample> sample = ReadSampleFromUrl(input, [&](const Ref<TAudioSample>& s) {
        early = s;
        if (!TSampleFill::Of(*s) || TSampleFill::Of(*s)->Finished()) std::abort();
    });
    if (!sample) {
        if (early) std::abort();
        return 0;
    }
    if (sample->format != SampleFormatMono16LE && sample->format != SampleFormatStereo16LE) std::abort();
    if (sample->length < 0) std::abort();
    if (!early) {
        if (TSampleFill::Of(*sample) || sample->capacity != sample->length * BytesPerSample[sample->format]) std::abort();
        return 0;
    }
    const Ref<TSampleFill>& fill = TSampleFill::Of(*sample);
    if (sample != early || !fill || !fill->Finished()) std::abort();
    const int filled = fill->Filled();
    if (filled < 0 || filled > sample->length || (!fill->Failed() && filled != sample->length)) std::abort();
    if (!fill->ClaimGuard(true)) std::abort();
    Ref<TAudioSample> copy = sample->Copy();
    if (copy->length != sample->length) std::abort();
    return 0;
}
