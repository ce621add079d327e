// Font costs: rendering outline glyphs through FreeType, making the built-in
// image font, and laying out and drawing a line of text (through the
// recording driver, so the numbers are the engine's work, not the GPU's).
#include <benchmark/benchmark.h>

#include <vantrel/render/freetype/freetype_font_impl.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image_font.h>
#include <vantrel/render/recording_driver.h>
#include <vantrel/render/vel2d.h>

using namespace vantrel;

namespace {

const char* const kOutline = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kLine = "The quick brown fox jumps over the lazy dog, 0123456789 times (!?) - QIRN v1.0.";

// Opens the face and renders the 95 printable ASCII glyphs once (fresh font,
// so nothing comes from the glyph cache).
void BM_FreeTypeRenderAscii(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Ref<TFreeTypeFont> font = TFreeTypeFont::Load(kOutline, size, FontSmoothing);
        for (int code = 33; code < 128; ++code) {
            int index = font->CharToGlyph(code);
            if (index >= 0) benchmark::DoNotOptimize(font->LoadGlyph(index).get());
        }
    }
    state.SetItemsProcessed(state.iterations() * 95);
}
BENCHMARK(BM_FreeTypeRenderAscii)->Arg(12)->Arg(32)->Arg(96)->Unit(benchmark::kMicrosecond);

void BM_CreateDefaultImageFont(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(TImageFont::CreateDefault().get());
}
BENCHMARK(BM_CreateDefaultImageFont)->Unit(benchmark::kMicrosecond);

class RecordingContext {
public:
    RecordingContext() {
        StartVel2DModule();
        driver = MakeRef<TRecordingVel2DDriver>();
        SelectGraphicsDriver(driver, 0);
        OpenGraphics(800, 600, 0, 0, 0);
    }
    ~RecordingContext() { ShutDownGraphics(); }
    Ref<TRecordingVel2DDriver> driver;
};

void BM_MeasureTextWidthBuiltIn(benchmark::State& state) {
    RecordingContext context;
    String line(kLine);
    for (auto _ : state) benchmark::DoNotOptimize(MeasureTextWidth(line));
    state.SetItemsProcessed(state.iterations() * line.Length());
}
BENCHMARK(BM_MeasureTextWidthBuiltIn);

// Glyph images and frames are warm: this is the per-character cost of
// DrawTextAt with a rotated, scaled matrix.
void BM_DrawTextAtBuiltIn(benchmark::State& state) {
    RecordingContext context;
    String line(kLine);
    SetDrawTransform(30, 2, 2);
    DrawTextAt(line, 10, 10);
    for (auto _ : state) {
        context.driver->ClearCalls();
        DrawTextAt(line, 10, 10);
    }
    state.SetItemsProcessed(state.iterations() * line.Length());
}
BENCHMARK(BM_DrawTextAtBuiltIn);

}  // namespace

BENCHMARK_MAIN();
