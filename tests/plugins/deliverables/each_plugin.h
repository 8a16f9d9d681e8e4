// EachPlugin: the fixture of the tests that every deliverable must pass, run once for each
// plug-in this build produced (the test's parameter is the plug-in's name).
#pragma once

#include "tests/support/plugin_loader.h"
#include "tests/support/stereo_buffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

class EachPlugin : public ::testing::TestWithParam<std::string> {
  protected:
    // A fresh instance of the plug-in under test, started at this rate and block size (not
    // started when the rate is 0).
    std::unique_ptr<PluginHost> load(float sampleRate = 44100.0f, int32_t blockSize = 512) {
        auto host = loadPlugin(GetParam(), sampleRate, blockSize);
        EXPECT_TRUE(host) << GetParam() << " does not load";
        return host;
    }

    // Every parameter's value (its bits, which no locale formats) and display text, to tell
    // whether anything moved.
    static std::vector<std::string> snapshot(PluginHost& host) {
        std::vector<std::string> state;
        for (int32_t i = 0; i < host.effect()->numParams; ++i) {
            const float value = host.getParameter(i);
            uint32_t bits = 0;
            std::memcpy(&bits, &value, sizeof bits);
            state.push_back(std::to_string(bits));
            state.push_back(host.paramDisplay(i));
        }
        return state;
    }

    static void setEveryParameter(PluginHost& host, float value) {
        for (int32_t i = 0; i < host.effect()->numParams; ++i)
            host.setParameter(i, value);
    }
};

#define INSTANTIATE_FOR_EACH_PLUGIN(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Built, Suite, ::testing::ValuesIn(builtPlugins()),                                         \
        [](const ::testing::TestParamInfo<std::string>& info) { return info.param; })
