// Every request a host could send, with hostile arguments, to every deliverable: nothing may
// crash, and the effect must still produce finite audio afterwards.
#include "tests/plugins/deliverables/built_plugins.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <vector>

namespace {

void expectFiniteAudio(PluginHost& host, const std::string& context) {
    std::vector<float> inL(256), inR(256), outL(256), outR(256);
    for (size_t i = 0; i < 256; ++i) {
        inL[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
        inR[i] = -inL[i];
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int block = 0; block < 4; ++block) {
        host.processReplacing(in, out, 256);
        for (size_t i = 0; i < 256; ++i) {
            ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i])) << context;
        }
    }
}

TEST(DispatcherSweep, HostileRequestsLeaveAWorkingEffect) {
    const int32_t indices[] = {-1, 0, 15, 1000, INT32_MIN};
    const intptr_t values[] = {-1, 0, 1, 15, 16, 100000, INT32_MIN, intptr_t{1} << 40};
    const float opts[] = {0.0f, std::numeric_limits<float>::quiet_NaN(), -1e30f};
    for (const std::string& name : builtPlugins()) {
        std::string error;
        auto host = PluginHost::load(std::string(PLUGIN_DIR) + "/" + name + ".so", error);
        ASSERT_TRUE(host) << error;
        host->start(44100.0f, 256);
        alignas(16) char buffer[4096];
        for (int32_t opcode = 0; opcode <= 70; ++opcode) {
            if (opcode == effClose || opcode == effEditOpen)
                continue; // ends the effect / needs a window
            for (int32_t index : indices)
                for (intptr_t value : values)
                    for (float opt : opts)
                        for (bool withBuffer : {false, true}) {
                            std::memset(buffer, 0, sizeof buffer);
                            host->dispatch(opcode, index, value, withBuffer ? buffer : nullptr,
                                           opt);
                        }
            expectFiniteAudio(*host, name + " after opcode " + std::to_string(opcode));
        }
        // Back to an ordinary state: a valid rate and program, and audio runs as before.
        host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        host->dispatch(effSetProgram, 0, 0);
        expectFiniteAudio(*host, name + " at the end");
        EXPECT_EQ(host->close(), 1);
    }
}

} // namespace
