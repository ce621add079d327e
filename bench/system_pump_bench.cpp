// Cost of pumping an empty event queue: every polled-input query pays it.
#include <benchmark/benchmark.h>

#include <vantrel/system/polled_input.h>
#include <vantrel/system/system_driver.h>

namespace {

void BM_PumpEmptyQueue(benchmark::State& state) {
    vantrel::StartSystemModule();
    vantrel::PumpSystemEvents();
    for (auto _ : state) vantrel::PumpSystemEvents();
}
BENCHMARK(BM_PumpEmptyQueue);

// One key query as the game makes it: a pump, then a table read.
void BM_KeyQuery(benchmark::State& state) {
    vantrel::StartPolledInputModule();
    vantrel::AttachPolledInput(nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(vantrel::IsKeyDown(87));
    vantrel::DetachPolledInput();
}
BENCHMARK(BM_KeyQuery);

}  // namespace

BENCHMARK_MAIN();
