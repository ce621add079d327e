// Sprite throughput of the OpenGL 2D driver against SDL2's own renderer.
//
// Each frame clears an 800 x 600 window and draws N rotated, scaled,
// alpha-blended 32 x 32 sprites, then presents it without waiting for the
// vertical blank. The same workload (same positions, angles, scales, alpha
// and texture pixels) runs through our driver and through SDL_RenderCopyEx
// in a window of the same size; the program prints sprites per second for
// both and their ratio. The repetitions of the two run interleaved in random
// order, and the two windows stand side by side, so that neither gets a
// quieter stretch of the machine or a smaller visible area. Run it under the
// display it should measure, wide enough for both windows, for example:
//   xvfb-run -a -s "-screen 0 1700x700x24" bench_sprite_bench
#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <vantrel/render/gl/gl_vel2d_driver.h>
#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/vel2d.h>
#include <vantrel/resources/pixmap.h>
#include <vantrel/runtime/program.h>

using namespace vantrel;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSprite = 32;
constexpr int kGap = 16;  // pixels between the two windows
constexpr int kSprites = 1000;

struct Sprite {
    float x, y, angle, scale;
};

Sprite SpriteAt(int i, int frame) {
    return {static_cast<float>((i * 37) % kWidth), static_cast<float>((i * 53) % kHeight),
            static_cast<float>((i * 7 + frame * 3) % 360), 0.5f + static_cast<float>(i % 5) * 0.25f};
}

// A soft disc with a coloured rim: alpha varies, so blending matters.
Ref<TPixmap> SpritePixels() {
    Ref<TPixmap> p = NewPixmap(kSprite, kSprite, FormatRGBA8888, 4);
    for (int y = 0; y < kSprite; ++y) {
        for (int x = 0; x < kSprite; ++x) {
            int dx = 2 * x - kSprite + 1, dy = 2 * y - kSprite + 1;
            int d2 = dx * dx + dy * dy;
            int alpha = d2 < kSprite * kSprite ? 255 - d2 * 255 / (kSprite * kSprite) : 0;
            p->WritePixel(x, y, (alpha << 24) | ((x * 8) << 16) | ((y * 8) << 8) | 0xC0);
        }
    }
    return p;
}

Ref<TGraphics> engineGraphics;
Ref<TImage> engineSprite;
SDL_Window* sdlWindow = nullptr;
SDL_Renderer* sdlRenderer = nullptr;
SDL_Texture* sdlSprite = nullptr;
std::string glRenderer;

bool SetUp() {
    static char arg0[] = "bench_sprite_bench";
    static char* argv[] = {arg0, nullptr};
    StartRuntime(1, argv, false);
    InitGLVel2DModule();
    engineGraphics = OpenGraphics(kWidth, kHeight, 0, 0, 0);
    if (!engineGraphics) {
        std::fprintf(stderr, "no OpenGL graphics\n");
        return false;
    }
    glRenderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    Ref<TPixmap> pixels = SpritePixels();
    engineSprite = NewImage(kSprite, kSprite, 1, ImageFiltered);
    LockImagePixels(engineSprite)->Paste(pixels, 0, 0);
    CentreImageHandle(engineSprite);

    // Ours at the left edge, SDL's to its right: overlapping windows would
    // leave one of them fewer pixels to present.
    SDL_SetWindowPosition(SDL_GL_GetCurrentWindow(), 0, 0);
    SDL_Rect desktop{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &desktop);
    if (desktop.w < kGap + 2 * kWidth || desktop.h < kHeight) {
        std::fprintf(stderr, "warning: the screen (%d x %d) is too small for both windows side by side\n", desktop.w,
                     desktop.h);
    }
    sdlWindow = SDL_CreateWindow("SDL_Renderer", kWidth + kGap, 0, kWidth, kHeight, 0);
    sdlRenderer = sdlWindow ? SDL_CreateRenderer(sdlWindow, -1, 0) : nullptr;
    if (!sdlRenderer) {
        std::fprintf(stderr, "no SDL renderer: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    sdlSprite = SDL_CreateTexture(sdlRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, kSprite, kSprite);
    SDL_UpdateTexture(sdlSprite, nullptr, pixels->pixels, pixels->pitch);
    SDL_SetTextureBlendMode(sdlSprite, SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(sdlSprite, 128);
    SDL_RendererInfo info;
    SDL_GetRendererInfo(sdlRenderer, &info);
    std::printf("OpenGL renderer: %s; SDL_Renderer driver: %s\n", glRenderer.c_str(), info.name);
    return true;
}

void EngineFrame(int n, int frame) {
    ClearCanvas();
    for (int i = 0; i < n; ++i) {
        Sprite s = SpriteAt(i, frame);
        SetDrawTransform(s.angle, s.scale, s.scale);
        DrawImageAt(engineSprite, s.x, s.y);
    }
    FlipGraphics(0);
}

void SDLFrame(int n, int frame) {
    SDL_SetRenderDrawColor(sdlRenderer, 0, 0, 0, 255);
    SDL_RenderClear(sdlRenderer);
    for (int i = 0; i < n; ++i) {
        Sprite s = SpriteAt(i, frame);
        float size = kSprite * s.scale;
        SDL_FRect dst{s.x - size / 2, s.y - size / 2, size, size};
        SDL_RenderCopyExF(sdlRenderer, sdlSprite, nullptr, &dst, s.angle, nullptr, SDL_FLIP_NONE);
    }
    SDL_RenderPresent(sdlRenderer);
}

// SDL's renderer makes its own context current: take ours back.
void UseEngine() {
    MakeGraphicsCurrent(nullptr);
    MakeGraphicsCurrent(engineGraphics);
    SetBlendMode(BlendAlpha);
    SetDrawAlpha(128.0f / 255.0f);
}

void EngineSprites(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    UseEngine();
    int frame = 0;
    for (auto _ : state) EngineFrame(n, frame++);
    state.SetItemsProcessed(state.iterations() * n);
}

void SDLRendererSprites(benchmark::State& state) {
    int n = static_cast<int>(state.range(0));
    int frame = 0;
    for (auto _ : state) SDLFrame(n, frame++);
    state.SetItemsProcessed(state.iterations() * n);
}

// Both sides draw their first frames (shader compilation and the like)
// before anything is timed.
void WarmUp() {
    for (int frame = 0; frame < 3; ++frame) SDLFrame(kSprites, frame);
    UseEngine();
    for (int frame = 0; frame < 3; ++frame) EngineFrame(kSprites, frame);
}

// Real time: the software rasteriser works on threads of its own.
// A fixed number of frames per repetition, the same for both.
BENCHMARK(EngineSprites)->Arg(kSprites)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(5);
BENCHMARK(SDLRendererSprites)->Arg(kSprites)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(5);

// Keeps every run's sprites per second for the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions the median stands for the benchmark.
        for (const Run& run : runs) {
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            auto it = run.counters.find("items_per_second");
            if (it != run.counters.end()) rates[run.run_name.function_name] = it->second.value;
        }
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    // Repetitions of both benchmarks interleaved, unless the command line
    // says otherwise.
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    if (!SetUp()) return 1;
    WarmUp();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double ours = reporter.rates["EngineSprites"];
    double sdl = reporter.rates["SDLRendererSprites"];
    if (ours > 0 && sdl > 0) {
        std::printf("sprites/s: ours %.0f, SDL_Renderer %.0f, ours/SDL ratio %.2f\n", ours, sdl, ours / sdl);
    }
    SDL_DestroyTexture(sdlSprite);
    SDL_DestroyRenderer(sdlRenderer);
    SDL_DestroyWindow(sdlWindow);
    ShutDownGraphics();
    return 0;
}
