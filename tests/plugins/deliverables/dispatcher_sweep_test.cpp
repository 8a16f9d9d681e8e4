// Every request a host could send, with hostile arguments: nothing may crash, and the effect
// must still produce finite audio afterwards.
#include "tests/plugins/deliverables/each_plugin.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using DispatcherSweep = EachPlugin;

void expectFiniteAudio(PluginHost& host, const std::string& context) {
    StereoBuffer block(256);
    for (int i = 0; i < 4; ++i) {
        block.sine(0.5f, 0.05);
        host.processReplacing(block.in, block.out, 256);
        ASSERT_TRUE(block.outputFinite()) << context;
    }
}

TEST_P(DispatcherSweep, HostileRequestsLeaveAWorkingEffect) {
    const int32_t indices[] = {-1, 0, 15, 1000, INT32_MIN};
    const intptr_t values[] = {-1, 0, 1, 15, 16, 100000, INT32_MIN, INTPTR_MAX};
    const float opts[] = {0.0f, std::numeric_limits<float>::quiet_NaN(), -1e30f};
    auto host = load(44100.0f, 256);
    ASSERT_TRUE(host);
    alignas(16) char buffer[4096];
    for (int32_t opcode = 0; opcode <= 70; ++opcode) {
        if (opcode == effClose || opcode == effEditOpen)
            continue; // ends the effect / needs a window
        for (int32_t index : indices)
            for (intptr_t value : values)
                for (float opt : opts)
                    for (bool withBuffer : {false, true}) {
                        std::memset(buffer, 0, sizeof buffer);
                        host->dispatch(opcode, index, value, withBuffer ? buffer : nullptr, opt);
                    }
        expectFiniteAudio(*host, "after opcode " + std::to_string(opcode));
    }
    // Back to an ordinary state: a valid rate and program, and audio runs as before.
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host->dispatch(effSetProgram, 0, 0);
    expectFiniteAudio(*host, "at the end");
    EXPECT_EQ(host->close(), 1);
}

INSTANTIATE_FOR_EACH_PLUGIN(DispatcherSweep);

} // namespace
