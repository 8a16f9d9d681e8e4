// Shared pieces of the processing benchmarks: loading a built plug-in, a looping input signal,
// and the per-frame counters every benchmark reports. Every figure is the benchmark's own CPU
// time of the processing calls.
#pragma once

#include "tests/support/plugin_loader.h"
#include "tests/support/stereo_buffer.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

constexpr double kBenchRate = 48000.0;

inline std::unique_ptr<PluginHost> loadBenchPlugin(const char* name, int32_t block) {
    auto host = loadPlugin(name, static_cast<float>(kBenchRate), block);
    if (!host) std::abort();
    return host;
}

// Stereo blocks for a benchmark: input that is music-like (two sines and a little noise) or
// silent, and outputs to overwrite.
struct BenchBuffers : StereoBuffer {
    explicit BenchBuffers(size_t frames, bool silent = false) : StereoBuffer(frames) {
        uint32_t noise = 1;
        for (size_t i = 0; i < frames && !silent; ++i) {
            noise = noise * 1664525u + 1013904223u;
            const float white = static_cast<float>(noise >> 9) / 4194304.0f - 1.0f;
            const double t = static_cast<double>(i) / kBenchRate;
            inL[i] = static_cast<float>(0.4 * std::sin(2 * M_PI * 220 * t)) + 0.05f * white;
            inR[i] = static_cast<float>(0.4 * std::sin(2 * M_PI * 331 * t)) - 0.05f * white;
        }
    }
};

// ns per stereo frame and the realtime factor at 48 kHz, from the benchmark's own timing.
inline void reportPerFrame(benchmark::State& state, int64_t framesPerIteration) {
    const double frames = static_cast<double>(state.iterations() * framesPerIteration);
    state.counters["ns_per_frame"] = benchmark::Counter(
        frames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] =
        benchmark::Counter(frames / kBenchRate, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(static_cast<int64_t>(frames));
}

// The timed loop of every processing benchmark: the same block processed over and over,
// replacing (or accumulating into) the outputs.
inline void timeBlocks(benchmark::State& state, PluginHost& host, BenchBuffers& buffers,
                       int32_t block, bool accumulate = false) {
    for (auto _ : state) {
        if (accumulate)
            host.process(buffers.in, buffers.out, block);
        else
            host.processReplacing(buffers.in, buffers.out, block);
        benchmark::DoNotOptimize(buffers.outL.data());
        benchmark::ClobberMemory();
    }
    reportPerFrame(state, block);
}

// Feeds `blocks` blocks of the signal at `gain` times its level: loud input before a timed
// silence, so the effect's memories decay through the denormal range while it is measured.
inline void feedLoudSignal(PluginHost& host, int32_t block, float gain, int32_t blocks) {
    BenchBuffers loud(static_cast<size_t>(block));
    for (size_t i = 0; i < loud.inL.size(); ++i) {
        loud.inL[i] *= gain;
        loud.inR[i] *= gain;
    }
    for (int32_t i = 0; i < blocks; ++i)
        host.processReplacing(loud.in, loud.out, block);
}
