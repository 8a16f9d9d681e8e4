// grimfold.so loaded through its entry exactly as a host loads it.
#include "tests/support/allocation_counter.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

std::unique_ptr<PluginHost> loadGrimfold() {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/grimfold.so", error);
    EXPECT_TRUE(host) << error;
    if (host) host->start(44100.0f, 256);
    return host;
}

struct Stereo {
    explicit Stereo(int32_t frames, float amplitude = 0.4f, float fill = 0.0f)
        : inL(frames), inR(frames), outL(frames, fill), outR(frames, fill) {
        for (int32_t i = 0; i < frames; ++i) {
            inL[i] = amplitude * std::sin(0.05f * i);
            inR[i] = -amplitude * std::sin(0.11f * i);
        }
    }
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
};

TEST(GrimfoldHost, RecordNamesAndDefaultTexts) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    const AEffect* record = host->effect();
    EXPECT_EQ(record->numParams, 11);
    EXPECT_EQ(record->numPrograms, 16);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 28); // VU, mono, replacing; no editor yet
    EXPECT_EQ(record->uniqueID, fourCharCode('L', 'F', 'g', 'f'));
    const char* names[] = {"Pre-Gain", "Post-Gain", "WS1", "WS2", "WS3",       "WS4",
                           "WS5",      "WS6",       "WS7", "WS8", "Oversample"};
    const char* displays[] = {"0.00",  "0.00",  "25.00", "35.00", "45.00", "55.00",
                              "20.00", "60.00", "30.00", "40.00", "OFF"};
    for (int32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(host->paramName(i), names[i]);
        EXPECT_EQ(host->paramLabel(i), i < 2 ? "dB" : i < 10 ? " %" : " ");
        EXPECT_EQ(host->paramDisplay(i), displays[i]);
    }
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host->programName(), "Grim Fold");
    }
    char buffer[256] = "untouched";
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effGetVendorString, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effGetProductString, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effCanDo, 0, 0, const_cast<char*>("2in2out")), 0);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
}

TEST(GrimfoldHost, BadHostInputIsHarmless) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    for (int32_t index : {-1, 11, 1000, INT32_MIN}) {
        host->setParameter(index, 1.0f);
        EXPECT_EQ(host->getParameter(index), 0.0f);
        EXPECT_EQ(host->paramName(index), "");
        EXPECT_EQ(host->paramLabel(index), "");
        EXPECT_EQ(host->paramDisplay(index), "");
        char buffer[256];
        host->dispatch(effString2Parameter, index, 0, buffer);
        host->dispatch(effCanBeAutomated, index);
        host->dispatch(effGetParameterProperties, index, 0, buffer);
    }
    for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramName,
                           effSetProgramName})
        EXPECT_EQ(host->dispatch(opcode, 0, 0, nullptr), 0);
    host->dispatch(effSetProgram, 0, 3);
    host->dispatch(effSetProgram, 0, -1);
    host->dispatch(effSetProgram, 0, 16);
    EXPECT_EQ(host->dispatch(effGetProgram), 3);
    host->setParameter(0, NAN);
    EXPECT_EQ(host->getParameter(0), 0.0f);
    EXPECT_EQ(host->paramDisplay(0), "-6.02");

    Stereo block(16, 0.4f, 5.0f);
    for (int32_t frames : {0, -1, INT32_MIN}) {
        host->process(block.in, block.out, frames);
        host->processReplacing(block.in, block.out, frames);
    }
    EXPECT_EQ(block.outL, std::vector<float>(16, 5.0f));
    EXPECT_EQ(block.outR, std::vector<float>(16, 5.0f));
}

// No coefficient depends on the rate: every rate the host may send gives the same samples.
TEST(GrimfoldHost, SampleRatesDoNotChangeTheSound) {
    std::vector<float> expected;
    for (float rate : {44100.0f, 1.0f, 5.0f, 9.0f, 1.41e6f, 0.0f, -48000.0f, NAN, INFINITY}) {
        SCOPED_TRACE(rate);
        auto host = loadGrimfold();
        ASSERT_TRUE(host);
        host->setParameter(10, 1.0f);
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetBlockSize, 0, 64);
        Stereo block(64);
        host->processReplacing(block.in, block.out, 64);
        if (expected.empty()) expected = block.outL;
        EXPECT_EQ(block.outL, expected);
    }
}

TEST(GrimfoldHost, SuspendClearsTheFilterAndLoudInputStaysFinite) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    host->setParameter(10, 1.0f);
    Stereo first(64), again(64);
    host->processReplacing(first.in, first.out, 64);
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    host->processReplacing(again.in, again.out, 64);
    EXPECT_EQ(again.outL, first.outL);

    host->setParameter(0, 1.0f); // full-scale input at the top pre-gain overflows the curves
    for (float oversample : {1.0f, 0.0f}) {
        host->setParameter(10, oversample);
        Stereo loud(256, 1.0f);
        host->processReplacing(loud.in, loud.out, 256);
        host->process(loud.in, loud.out, 256);
        for (int32_t i = 0; i < 256; ++i)
            ASSERT_TRUE(std::isfinite(loud.outL[i]) && std::isfinite(loud.outR[i]));
    }
}

TEST(GrimfoldRealTime, ProcessingAllocatesNothing) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    Stereo block(256);
    allocation_counter::start();
    for (float oversample : {0.0f, 1.0f}) {
        host->setParameter(10, oversample);
        host->processReplacing(block.in, block.out, 256);
        host->process(block.in, block.out, 255);
    }
    EXPECT_EQ(allocation_counter::stop(), 0u);
    // The counter itself sees allocations, or the zero above would prove nothing.
    allocation_counter::start();
    host->paramName(0);
    std::vector<float> probe(1000);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

} // namespace
