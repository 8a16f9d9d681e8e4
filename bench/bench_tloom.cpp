// tloom processing cost per stereo frame at 48 kHz: replacing and accumulating on music-like
// input, and silence right after loud input (the filter memories decaying towards zero).
#include "tools/plughost/plugin_host.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr float kRate = 48000.0f;

std::unique_ptr<PluginHost> loadTloom(int32_t block) {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/tloom.so", error);
    if (!host) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    host->start(kRate, block);
    host->dispatch(effSetProgram, 0, 0);
    return host;
}

// Stereo buffers of one block, filled with two detuned sines and a little noise (or silence).
struct Buffers {
    Buffers(int32_t frames, float gain) : inL(frames), inR(frames), outL(frames), outR(frames) {
        uint32_t seed = 1;
        for (int32_t i = 0; i < frames; ++i) {
            seed = seed * 1664525u + 1013904223u;
            const float noise = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
            inL[i] = gain * (0.6f * std::sin(0.013f * i) + 0.1f * noise);
            inR[i] = gain * (0.6f * std::sin(0.021f * i + 1.0f) - 0.1f * noise);
        }
    }
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
};

// CPU time of this thread: the machine is shared, so wall-clock time would count other work.
double threadNanoseconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

void report(benchmark::State& state, double nanoseconds, double frames) {
    const double perFrame = nanoseconds / frames;
    state.counters["ns_per_frame"] = perFrame;
    state.counters["realtime_x"] = 1e9 / (perFrame * kRate);
}

template <bool accumulate> void processSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    auto host = loadTloom(block);
    Buffers buffers(block, 1.0f);
    // Let the lines fill so the whole path carries signal.
    for (int i = 0; i < 48000 / block + 1; ++i)
        host->processReplacing(buffers.in, buffers.out, block);
    const double start = threadNanoseconds();
    for (auto _ : state) {
        if constexpr (accumulate)
            host->process(buffers.in, buffers.out, block);
        else
            host->processReplacing(buffers.in, buffers.out, block);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    report(state, threadNanoseconds() - start, static_cast<double>(state.iterations()) * block);
}

// Each iteration excites the filters with a loud block (not timed), then times 4096 frames of
// silence: long enough for the filter memories to decay from signal level through the range of
// denormal numbers, which is where slow arithmetic would show.
void processSilenceAfterSignal(benchmark::State& state) {
    const int32_t block = static_cast<int32_t>(state.range(0));
    const int32_t silentBlocks = 4096 / block;
    auto host = loadTloom(block);
    Buffers loud(block, 2.0f), silent(block, 0.0f);
    for (int i = 0; i < 48000 / block + 1; ++i)
        host->processReplacing(loud.in, loud.out, block);
    double total = 0.0;
    for (auto _ : state) {
        for (int i = 0; i < 1024 / block + 1; ++i)
            host->processReplacing(loud.in, loud.out, block);
        const double start = threadNanoseconds();
        for (int i = 0; i < silentBlocks; ++i) {
            host->processReplacing(silent.in, silent.out, block);
            benchmark::DoNotOptimize(silent.outL.data());
            benchmark::ClobberMemory();
        }
        const double elapsed = threadNanoseconds() - start;
        state.SetIterationTime(elapsed * 1e-9);
        total += elapsed;
    }
    report(state, total, static_cast<double>(state.iterations()) * silentBlocks * block);
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
BENCHMARK(BM_TloomSilenceAfterSignal)->Arg(64)->Arg(512)->UseManualTime();

BENCHMARK_MAIN();
