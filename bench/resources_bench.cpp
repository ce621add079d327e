// Throughput of the resource containers the engine leans on: whole-stream
// loads and line reads through bank streams, typed reads, list walking with
// removal and the list's merge sort.
#include <benchmark/benchmark.h>

#include <string>

#include <vantrel/resources/bank_stream.h>
#include <vantrel/resources/list.h>
#include <vantrel/system/random.h>

using namespace vantrel;

namespace {

Ref<TBank> TextBank(int bytes) {
    Ref<TBank> bank = CreateBank(0);
    Ref<TBankStream> s = CreateBankStream(bank);
    while (bank->Size() < bytes) s->WriteLine("a line of text of typical length, 40 b");
    return bank;
}

void BM_LoadBytes(benchmark::State& state) {
    StartBankModule();
    Ref<TBank> bank = TextBank(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(LoadBytes(Ref<Object>(bank)));
    state.SetBytesProcessed(state.iterations() * bank->Size());
}
BENCHMARK(BM_LoadBytes)->Arg(64 << 10)->Arg(4 << 20);

// ReadLine reads one byte per Read call, so this is the cost of a virtual
// Read per byte.
void BM_ReadLine(benchmark::State& state) {
    Ref<TBank> bank = TextBank(1 << 20);
    for (auto _ : state) {
        Ref<TBankStream> s = CreateBankStream(bank);
        while (!s->Eof()) benchmark::DoNotOptimize(s->ReadLine());
    }
    state.SetBytesProcessed(state.iterations() * bank->Size());
}
BENCHMARK(BM_ReadLine);

void BM_ReadInt(benchmark::State& state) {
    Ref<TBank> bank = CreateBank(1 << 20);
    for (auto _ : state) {
        Ref<TBankStream> s = CreateBankStream(bank);
        int sum = 0;
        while (!s->Eof()) sum += s->ReadInt();
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * bank->Size());
}
BENCHMARK(BM_ReadInt);

struct Key : Object {
    explicit Key(int k) : k(k) {}
    int Compare(const Object* o) const override {
        int other = static_cast<const Key*>(o)->k;
        return k < other ? -1 : k > other ? 1 : 0;
    }
    int k;
};

void BM_ListSort(benchmark::State& state) {
    SetRandomSeed(1);
    for (auto _ : state) {
        state.PauseTiming();
        Ref<TList> list = CreateList();
        for (int i = 0; i < state.range(0); ++i) list->AddLast(MakeRef<Key>(RandomInt(0, 1000000)));
        state.ResumeTiming();
        list->Sort();
        benchmark::DoNotOptimize(list->First());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListSort)->Arg(100)->Arg(10000);

// The game's per-frame pattern: walk the live objects, dropping some.
void BM_ListWalkAndRemove(benchmark::State& state) {
    Ref<TList> list = CreateList();
    for (auto _ : state) {
        while (list->Count() < 200) list->AddLast(MakeRef<Key>(list->Count()));
        int n = 0;
        for (const Ref<Object>& v : *list) {
            if (++n % 10 == 0) list->Remove(v);
        }
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_ListWalkAndRemove);

}  // namespace

BENCHMARK_MAIN();
