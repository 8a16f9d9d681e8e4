// What subnormal input costs each effect: one instance processes white noise, a twin processes
// samples of +-1e-40, block by block in the same iterations, so that both figures and their
// ratio come from the same stretch of machine time. grimfold runs with Oversample off and on.
// Counters: noise and subnormal ns per frame (this thread's CPU time of each call) and
// subnormal_ratio = subnormal / noise.
#include "bench/bench_support.h"

#include <time.h>

namespace {

constexpr int32_t kBlock = 512;

double threadNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Signs from a fixed sequence, so that no effect sees a constant.
void fillSubnormal(StereoBuffer& buffer) {
    uint32_t seed = 7;
    for (size_t i = 0; i < buffer.inL.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        buffer.inL[i] = (seed & 0x100) ? 1e-40f : -1e-40f;
        buffer.inR[i] = (seed & 0x200) ? 1e-40f : -1e-40f;
    }
}

void subnormalAgainstNoise(benchmark::State& state, const char* plugin, int32_t parameter,
                           float value) {
    auto noisy = loadBenchPlugin(plugin, kBlock);
    auto subnormal = loadBenchPlugin(plugin, kBlock);
    for (PluginHost* host : {noisy.get(), subnormal.get()}) {
        host->dispatch(effSetProgram, 0, 0); // coefficients at the benchmark's rate
        if (parameter >= 0) host->setParameter(parameter, value);
    }
    // A second of noise, played block by block in a loop; made once, outside the timing.
    constexpr int32_t kLoopBlocks = 48000 / kBlock + 1;
    StereoBuffer noise(static_cast<size_t>(kLoopBlocks) * kBlock), tiny(kBlock);
    noise.noise(0.5f);
    fillSubnormal(tiny);
    float* in[2];
    int32_t at = 0;
    auto nextNoiseBlock = [&]() {
        in[0] = noise.inL.data() + at * kBlock;
        in[1] = noise.inR.data() + at * kBlock;
        at = (at + 1) % kLoopBlocks;
    };
    // A second of each input first, so that every memory holds what its input leaves there.
    for (int i = 0; i < kLoopBlocks; ++i) {
        nextNoiseBlock();
        noisy->processReplacing(in, tiny.out, kBlock);
        subnormal->processReplacing(tiny.in, tiny.out, kBlock);
    }
    double noiseTime = 0.0, subnormalTime = 0.0;
    for (auto _ : state) {
        nextNoiseBlock();
        const double start = threadNanoseconds();
        noisy->processReplacing(in, noise.out, kBlock);
        benchmark::ClobberMemory();
        const double middle = threadNanoseconds();
        subnormal->processReplacing(tiny.in, tiny.out, kBlock);
        benchmark::ClobberMemory();
        subnormalTime += threadNanoseconds() - middle;
        noiseTime += middle - start;
    }
    const double frames = static_cast<double>(state.iterations()) * kBlock;
    state.counters["noise_ns_per_frame"] = noiseTime / frames;
    state.counters["subnormal_ns_per_frame"] = subnormalTime / frames;
    state.counters["subnormal_ratio"] = subnormalTime / noiseTime;
    reportPerFrame(state, 2 * kBlock);
}

constexpr int32_t kGrimfoldOversample = 10;

void BM_SubnormalTloom(benchmark::State& state) {
    subnormalAgainstNoise(state, "tloom", -1, 0.0f);
}
void BM_SubnormalSwirlet(benchmark::State& state) {
    subnormalAgainstNoise(state, "swirlet", -1, 0.0f);
}
void BM_SubnormalGrimfoldOversampleOff(benchmark::State& state) {
    subnormalAgainstNoise(state, "grimfold", kGrimfoldOversample, 0.0f);
}
void BM_SubnormalGrimfoldOversampleOn(benchmark::State& state) {
    subnormalAgainstNoise(state, "grimfold", kGrimfoldOversample, 1.0f);
}
void BM_SubnormalCorallis(benchmark::State& state) {
    subnormalAgainstNoise(state, "corallis", -1, 0.0f);
}

} // namespace

BENCHMARK(BM_SubnormalTloom);
BENCHMARK(BM_SubnormalSwirlet);
BENCHMARK(BM_SubnormalGrimfoldOversampleOff);
BENCHMARK(BM_SubnormalGrimfoldOversampleOn);
BENCHMARK(BM_SubnormalCorallis);

BENCHMARK_MAIN();
