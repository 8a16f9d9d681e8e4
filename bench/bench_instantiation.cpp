// What a host waits for when it creates an effect: the library's entry called with the host
// callback until the effect record comes back (the library is loaded once, before timing; each
// effect is closed outside the timed part).
#include "frame/aeffect.h"

#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace {

using EntryProc = AEffect* (*)(audioMasterCallback);

intptr_t answerHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

EntryProc loadEntry(const char* name) {
    const std::string path = std::string(PLUGIN_DIR) + "/" + name + ".so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) std::abort();
    auto entry = reinterpret_cast<EntryProc>(dlsym(library, "VSTPluginMain"));
    if (!entry) std::abort();
    return entry; // the library stays loaded for the whole run
}

void BM_Instantiate(benchmark::State& state, const char* name) {
    const EntryProc entry = loadEntry(name);
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        AEffect* effect = entry(answerHost);
        const auto end = std::chrono::steady_clock::now();
        if (!effect) {
            state.SkipWithError("the entry returned no effect");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_Instantiate, tloom, "tloom")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Instantiate, swirlet, "swirlet")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Instantiate, grimfold, "grimfold")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Instantiate, corallis, "corallis")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
