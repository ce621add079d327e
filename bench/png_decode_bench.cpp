// Decoding a 2048 x 2048 RGBA PNG held in memory: through the engine's
// loader chain (LoadPixmapFrom over a bank) and through libpng's simplified
// API over the same bytes, side by side. Prints the engine's time as a
// ratio of libpng's.

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/png_pixmap.h>

using namespace vantrel;

namespace {

constexpr int kSize = 2048;

// A picture with smooth gradients, edges and some grain, so that it
// compresses like artwork rather than like a flat fill or pure noise.
const Ref<TBank>& TestPng() {
    static const Ref<TBank> bank = [] {
        StartBankModule();
        StartPngModule();
        Ref<TPixmap> p = NewPixmap(kSize, kSize, FormatRGBA8888, 4);
        uint32_t seed = 12345;
        for (int y = 0; y < kSize; ++y) {
            uint8_t* row = p->PixelPtr(0, y);
            for (int x = 0; x < kSize; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = static_cast<int>(seed >> 29);
                row[x * 4 + 0] = static_cast<uint8_t>(x / 8 + grain);
                row[x * 4 + 1] = static_cast<uint8_t>(y / 8 + grain);
                row[x * 4 + 2] = static_cast<uint8_t>(((x / 64 + y / 64) & 1) ? 200 : 40);
                row[x * 4 + 3] = static_cast<uint8_t>((x * x + y * y) / 32768);
            }
        }
        Ref<TBank> out = CreateBank();
        if (EncodePngPixmap(p, out, 6) != 1) std::abort();
        return out;
    }();
    return bank;
}

void BM_LoadPixmapFrom(benchmark::State& state) {
    const Ref<TBank>& png = TestPng();
    for (auto _ : state) {
        Ref<TPixmap> p = LoadPixmapFrom(png);
        if (!p) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(p->pixels);
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kSize} * kSize * 4);
}

void BM_LibpngSimplified(benchmark::State& state) {
    const Ref<TBank>& png = TestPng();
    for (auto _ : state) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_memory(&image, BankBuf(png), static_cast<size_t>(BankSize(png))))
            state.SkipWithError("begin failed");
        image.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kSize} * kSize * 4);
}

BENCHMARK(BM_LoadPixmapFrom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibpngSimplified)->Unit(benchmark::kMillisecond);

// Prints as usual and remembers each benchmark's wall and processor time
// per iteration (processor time is the steadier one on a shared machine).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    }
    std::map<std::string, std::pair<double, double>> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("test image: %d x %d RGBA, %d bytes of PNG\n", kSize, kSize, BankSize(TestPng()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto ours = reporter.times.find("BM_LoadPixmapFrom");
    const auto libpng = reporter.times.find("BM_LibpngSimplified");
    if (ours != reporter.times.end() && libpng != reporter.times.end() && libpng->second.first > 0 &&
        libpng->second.second > 0)
        std::printf("LoadPixmapFrom / libpng simplified API: %.3f wall, %.3f processor (goal <= 1.10)\n",
                    ours->second.first / libpng->second.first, ours->second.second / libpng->second.second);
    benchmark::Shutdown();
    return 0;
}
