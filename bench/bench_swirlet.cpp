// swirlet processing cost per stereo frame at several block sizes.
#include "bench/bench_support.h"

static void BM_SwirletProcessReplacing(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadBenchPlugin("swirlet", block);
    BenchBuffers buffers(static_cast<size_t>(block));
    timeBlocks(state, *host, buffers, block);
}
BENCHMARK(BM_SwirletProcessReplacing)->Arg(32)->Arg(64)->Arg(512)->Arg(4096);

static void BM_SwirletSilenceAfterSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadBenchPlugin("swirlet", block);
    feedLoudSignal(*host, block, 1.0f, 1000);
    BenchBuffers silent(static_cast<size_t>(block), true);
    timeBlocks(state, *host, silent, block);
}
BENCHMARK(BM_SwirletSilenceAfterSignal)->Arg(64)->Arg(512);

BENCHMARK_MAIN();
