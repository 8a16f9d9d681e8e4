// corallis processing cost per stereo frame: serial and parallel voice chaining at 64 and 512
// frames, and silence after a loud signal (where decaying feedback could turn denormal).
#include "bench/bench_support.h"

namespace {

constexpr int32_t kSerialModIndex = 10;

std::unique_ptr<PluginHost> loadCorallis(int32_t block, bool serial) {
    auto host = loadBenchPlugin("corallis", block);
    host->setParameter(kSerialModIndex, serial ? 1.0f : 0.0f);
    return host;
}

void BM_CorallisSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadCorallis(block, state.range(1) != 0);
    BenchBuffers buffers(static_cast<size_t>(block));
    timeBlocks(state, *host, buffers, block);
}

void BM_CorallisSilenceAfterSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadCorallis(block, state.range(1) != 0);
    // A few seconds of loud input, then long enough silence for the feedback to decay.
    const int32_t loudBlocks = 4 * 48000 / block;
    feedLoudSignal(*host, block, 2.5f, loudBlocks);
    BenchBuffers silent(static_cast<size_t>(block), true);
    for (int32_t i = 0; i < 10 * loudBlocks; ++i)
        host->processReplacing(silent.in, silent.out, block);
    timeBlocks(state, *host, silent, block);
}

} // namespace

// Arguments: frames per block, serial (1) or parallel (0).
BENCHMARK(BM_CorallisSignal)->ArgNames({"frames", "serial"})->ArgsProduct({{64, 512}, {1, 0}});
BENCHMARK(BM_CorallisSilenceAfterSignal)
    ->ArgNames({"frames", "serial"})
    ->ArgsProduct({{64, 512}, {1, 0}});

BENCHMARK_MAIN();
