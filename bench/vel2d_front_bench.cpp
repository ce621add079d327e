// Cost of the 2D drawing front itself, on a driver that only counts what
// reaches it: what every drawn sprite pays before the device sees it.
#include <benchmark/benchmark.h>

#include <vantrel/render/graphics.h>
#include <vantrel/render/image.h>
#include <vantrel/render/vel2d.h>

namespace vantrel {
namespace {

class CountingFrame : public TImageFrame {
public:
    explicit CountingFrame(int& draws) : _draws(draws) {}
    void Draw(float, float, float, float, float, float, float, float, float, float) override { ++_draws; }

private:
    int& _draws;
};

class CountingGraphics : public TGraphics {
public:
    explicit CountingGraphics(const Ref<TGraphicsDriver>& d) : _driver(d) {}
    Ref<TGraphicsDriver> Driver() override { return _driver; }
    void GetSettings(int& w, int& h, int& d, int& hz, int& f) override {
        w = 800;
        h = 600;
        d = hz = f = 0;
    }
    void Close() override {}

private:
    Ref<TGraphicsDriver> _driver;
};

class CountingDriver : public TVel2DDriver {
public:
    Ref<TGraphics> CreateGraphics(int, int, int, int, int) override {
        Ref<CountingDriver> self(this);
        return TVel2DGraphics::Create(MakeRef<CountingGraphics>(self), self);
    }
    void SetGraphics(const Ref<TGraphics>& g) override {
        if (auto v = Cast<TVel2DGraphics>(g)) v->MakeCurrent();
        else TVel2DGraphics::ClearCurrent();
    }
    void Flip(int) override {}
    Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>&, int) override {
        return MakeRef<CountingFrame>(draws);
    }
    void SetBlend(int) override {}
    void SetAlpha(float) override {}
    void SetColor(int, int, int) override {}
    void SetClsColor(int, int, int) override {}
    void SetViewport(int, int, int, int) override {}
    void SetTransform(float, float, float, float) override { ++transforms; }
    void SetLineWidth(float) override {}
    void Cls() override {}
    void DrawRect(float, float, float, float, float, float) override { ++draws; }
    void SetResolution(float, float) override {}

    int draws = 0;
    int transforms = 0;
};

struct Setup {
    Setup() {
        StartVel2DModule();
        driver = MakeRef<CountingDriver>();
        SelectGraphicsDriver(driver, 0);
        OpenGraphics(800, 600, 0, 0, 0);
        image = NewImage(32, 32);
    }
    ~Setup() {
        ShutDownGraphics();
        SelectGraphicsDriver(nullptr, 0);
    }
    Ref<CountingDriver> driver;
    Ref<TImage> image;
};

// A sprite with a cached frame: frame lookup and the draw call.
void BM_DrawImageAt(benchmark::State& state) {
    Setup s;
    float x = 0;
    for (auto _ : state) {
        DrawImageAt(s.image, x, 100);
        x += 1;
    }
    benchmark::DoNotOptimize(s.driver->draws);
}
BENCHMARK(BM_DrawImageAt);

// The game's usual pattern: every piece turns and scales before drawing.
void BM_RotateScaleDraw(benchmark::State& state) {
    Setup s;
    float angle = 0;
    for (auto _ : state) {
        SetDrawRotation(angle);
        SetDrawScale(1.5f, 1.5f);
        DrawImageAt(s.image, 400, 300);
        angle += 0.5f;
    }
    benchmark::DoNotOptimize(s.driver->transforms);
}
BENCHMARK(BM_RotateScaleDraw);

// A full-screen background of 32 x 32 tiles (26 x 20 of them); items are tiles.
void BM_TileImageFill(benchmark::State& state) {
    Setup s;
    for (auto _ : state) TileImageFill(s.image, 7.5f, 3);
    state.SetItemsProcessed(s.driver->draws);
}
BENCHMARK(BM_TileImageFill);

}  // namespace
}  // namespace vantrel

BENCHMARK_MAIN();
