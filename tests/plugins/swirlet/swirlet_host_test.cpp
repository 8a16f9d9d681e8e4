// swirlet loaded through its entry exactly as a host loads it.
#include "allocation_counter.h"
#include "plugin_host.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<PluginHost> loadSwirlet() {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/swirlet.so", error);
    EXPECT_TRUE(host) << error;
    return host;
}

TEST(SwirletRealTime, ProcessingAllocatesNothing) {
    auto host = loadSwirlet();
    host->start(48000.0f, 256);
    std::vector<float> inL(256, 0.25f), inR(256, -0.25f), outL(256), outR(256);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    allocation_counter::start();
    host->processReplacing(in, out, 256);
    host->process(in, out, 256);
    EXPECT_EQ(allocation_counter::stop(), 0u);
    // The counter itself sees allocations, or the zero above would prove nothing.
    allocation_counter::start();
    host->paramName(0);
    std::vector<float> probe(1000);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

} // namespace
