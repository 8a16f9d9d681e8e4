// grimfold.so loaded through its entry exactly as a host loads it: its identity, texts and
// programs, and what only grimfold does with the rate and suspend. The rules every deliverable
// follows are checked once for all in tests/plugins/deliverables.
#include "tests/support/plugin_loader.h"
#include "tests/support/stereo_buffer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr int32_t kOversample = 10;

std::unique_ptr<PluginHost> loadGrimfold() {
    auto host = loadPlugin("grimfold", 44100.0f, 256);
    EXPECT_TRUE(host);
    return host;
}

TEST(GrimfoldHost, RecordNamesAndDefaultTexts) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    const AEffect* record = host->effect();
    EXPECT_EQ(record->numParams, 11);
    EXPECT_EQ(record->flags, kDeliverableFlags);
    EXPECT_EQ(record->uniqueID, fourCharCode('L', 'F', 'g', 'f'));
    const char* names[] = {"Pre-Gain", "Post-Gain", "WS1", "WS2", "WS3",       "WS4",
                           "WS5",      "WS6",       "WS7", "WS8", "Oversample"};
    const char* displays[] = {"0.00",  "0.00",  "25.00", "35.00", "45.00", "55.00",
                              "20.00", "60.00", "30.00", "40.00", "OFF"};
    for (int32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(exactText(*host, effGetParamName, i), names[i]);
        EXPECT_EQ(exactText(*host, effGetParamLabel, i), i < 2 ? "dB" : i < 10 ? " %" : " ");
        EXPECT_EQ(exactText(*host, effGetParamDisplay, i), displays[i]);
    }
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(exactText(*host, effGetProgramName), "Grim Fold");
    }
    char buffer[256] = "untouched";
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effGetVendorString, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effGetProductString, 0, 0, buffer), 0);
    EXPECT_EQ(host->dispatch(effCanDo, 0, 0, const_cast<char*>("2in2out")), 0);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
}

// No coefficient depends on the rate: every rate the host may send gives the same samples.
TEST(GrimfoldHost, SampleRatesDoNotChangeTheSound) {
    std::vector<float> expected;
    for (float rate : {44100.0f, 1.0f, 5.0f, 9.0f, 1.41e6f, 0.0f, -48000.0f, NAN, INFINITY}) {
        SCOPED_TRACE(rate);
        auto host = loadGrimfold();
        ASSERT_TRUE(host);
        host->setParameter(kOversample, 1.0f);
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetBlockSize, 0, 64);
        StereoBuffer block(64);
        block.sine(0.4f, 0.05);
        host->processReplacing(block.in, block.out, 64);
        if (expected.empty()) expected = block.outL;
        EXPECT_EQ(block.outL, expected);
    }
}

TEST(GrimfoldHost, SuspendClearsTheFilterAndLoudInputStaysFinite) {
    auto host = loadGrimfold();
    ASSERT_TRUE(host);
    host->setParameter(kOversample, 1.0f);
    StereoBuffer first(64), again(64);
    first.sine(0.4f, 0.05);
    again.sine(0.4f, 0.05);
    host->processReplacing(first.in, first.out, 64);
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    host->processReplacing(again.in, again.out, 64);
    EXPECT_EQ(again.outL, first.outL);

    host->setParameter(0, 1.0f); // full-scale input at the top pre-gain overflows the curves
    for (float oversample : {1.0f, 0.0f}) {
        host->setParameter(kOversample, oversample);
        StereoBuffer loud(256);
        loud.sine(1.0f, 0.05);
        host->processReplacing(loud.in, loud.out, 256);
        host->process(loud.in, loud.out, 256);
        EXPECT_TRUE(loud.outputFinite()) << oversample;
    }
}

} // namespace
