// grimfold processing cost per stereo frame, with the anti-alias mode off and on, on music-like
// input and on silence after loud input.
#include "bench/bench_support.h"

namespace {

constexpr int32_t kOversampleIndex = 10;

std::unique_ptr<PluginHost> loadGrimfold(int32_t block, bool oversample) {
    auto host = loadBenchPlugin("grimfold", block);
    host->setParameter(kOversampleIndex, oversample ? 1.0f : 0.0f);
    return host;
}

void processSignal(benchmark::State& state, bool oversample) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadGrimfold(block, oversample);
    BenchBuffers buffers(static_cast<size_t>(block));
    timeBlocks(state, *host, buffers, block);
}

void processSilenceAfterSignal(benchmark::State& state, bool oversample) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadGrimfold(block, oversample);
    feedLoudSignal(*host, block, 2.0f, 1000);
    BenchBuffers silent(static_cast<size_t>(block), true);
    timeBlocks(state, *host, silent, block);
}

void BM_GrimfoldOversampleOff(benchmark::State& state) {
    processSignal(state, false);
}
void BM_GrimfoldOversampleOn(benchmark::State& state) {
    processSignal(state, true);
}
void BM_GrimfoldSilenceAfterSignalOff(benchmark::State& state) {
    processSilenceAfterSignal(state, false);
}
void BM_GrimfoldSilenceAfterSignalOn(benchmark::State& state) {
    processSilenceAfterSignal(state, true);
}

} // namespace

BENCHMARK(BM_GrimfoldOversampleOff)->Arg(64)->Arg(512);
BENCHMARK(BM_GrimfoldOversampleOn)->Arg(64)->Arg(512);
BENCHMARK(BM_GrimfoldSilenceAfterSignalOff)->Arg(64)->Arg(512);
BENCHMARK(BM_GrimfoldSilenceAfterSignalOn)->Arg(64)->Arg(512);

BENCHMARK_MAIN();
