// tloom processing cost per stereo frame at 48 kHz: replacing and accumulating on music-like
// input, and silence after loud input (the filter memories decaying towards zero).
#include "bench/bench_support.h"

namespace {

std::unique_ptr<PluginHost> loadTloom(int32_t block) {
    return loadBenchPlugin("tloom", block);
}

template <bool accumulate> void processSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadTloom(block);
    BenchBuffers buffers(static_cast<size_t>(block));
    // Let the lines fill so the whole path carries signal.
    for (int i = 0; i < 48000 / block + 1; ++i)
        host->processReplacing(buffers.in, buffers.out, block);
    timeBlocks(state, *host, buffers, block, accumulate);
}

void processSilenceAfterSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadTloom(block);
    feedLoudSignal(*host, block, 2.0f, 48000 / block + 1);
    BenchBuffers silent(static_cast<size_t>(block), true);
    timeBlocks(state, *host, silent, block);
}

void BM_TloomReplacing(benchmark::State& state) {
    processSignal<false>(state);
}
void BM_TloomAccumulating(benchmark::State& state) {
    processSignal<true>(state);
}
void BM_TloomSilenceAfterSignal(benchmark::State& state) {
    processSilenceAfterSignal(state);
}

} // namespace

BENCHMARK(BM_TloomReplacing)->Arg(64)->Arg(512);
BENCHMARK(BM_TloomAccumulating)->Arg(64)->Arg(512);
BENCHMARK(BM_TloomSilenceAfterSignal)->Arg(64)->Arg(512);

BENCHMARK_MAIN();
