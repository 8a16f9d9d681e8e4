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
    for (auto _ : state) {
        host->processReplacing(buffers.in, buffers.out, block);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, block);
}

// Loud input first, so the filter memories decay through the denormal range while the
// silence is timed.
void processSilenceAfterSignal(benchmark::State& state, bool oversample) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadGrimfold(block, oversample);
    BenchBuffers loud(static_cast<size_t>(block)), silent(static_cast<size_t>(block), true);
    for (float& sample : loud.inL)
        sample *= 2.0f;
    for (float& sample : loud.inR)
        sample *= 2.0f;
    for (int i = 0; i < 1000; ++i)
        host->processReplacing(loud.in, loud.out, block);
    for (auto _ : state) {
        host->processReplacing(silent.in, silent.out, block);
        benchmark::DoNotOptimize(silent.outL.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, block);
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
