// swirlet processing cost per stereo frame at several block sizes.
#include "bench/bench_support.h"

static void BM_SwirletProcessReplacing(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadBenchPlugin("swirlet", block);
    BenchBuffers buffers(static_cast<size_t>(block));
    for (auto _ : state) {
        host->processReplacing(buffers.in, buffers.out, block);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, block);
}
BENCHMARK(BM_SwirletProcessReplacing)->Arg(32)->Arg(64)->Arg(512)->Arg(4096);

static void BM_SwirletSilenceAfterSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadBenchPlugin("swirlet", block);
    BenchBuffers loud(static_cast<size_t>(block)), silent(static_cast<size_t>(block), true);
    for (int i = 0; i < 1000; ++i)
        host->processReplacing(loud.in, loud.out, block);
    for (auto _ : state) {
        host->processReplacing(silent.in, silent.out, block);
        benchmark::DoNotOptimize(silent.outL.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, block);
}
BENCHMARK(BM_SwirletSilenceAfterSignal)->Arg(64)->Arg(512);

BENCHMARK_MAIN();
