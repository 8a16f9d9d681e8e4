// swirlet loaded through its entry exactly as a host loads it: identity, texts, programs, bad
// host input and the real-time rule.
#include "tests/support/allocation_counter.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

std::unique_ptr<PluginHost> loadSwirlet() {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/swirlet.so", error);
    EXPECT_TRUE(host) << error;
    return host;
}

struct StereoBlock {
    explicit StereoBlock(size_t frames, float value = 0.0f)
        : inL(frames, value), inR(frames, value), outL(frames), outR(frames) {}
    std::vector<float> inL, inR, outL, outR;
    float* in[2];
    float* out[2];
    float** inputs() { return in[0] = inL.data(), in[1] = inR.data(), in; }
    float** outputs() { return out[0] = outL.data(), out[1] = outR.data(), out; }
};

TEST(SwirletIdentity, RecordAsAHostSeesIt) {
    auto host = loadSwirlet();
    const AEffect* record = host->effect();
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->uniqueID, fourCharCode('L', 'F', 's', 'w'));
    EXPECT_EQ(record->numPrograms, 16);
    EXPECT_EQ(record->numParams, 7);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    // Editor, VU, mono and replacing.
    EXPECT_EQ(record->flags, 29);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
    EXPECT_EQ(host->effectName(), "");
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, nullptr), 0);
}

TEST(SwirletTexts, DefaultProgramByteForByte) {
    auto host = loadSwirlet();
    const char* names[] = {"Depth L", "Rate L",     "Feedback L", "Depth R",
                           "Rate R",  "Feedback R", "Cross"};
    const char* displays[] = {"50.00", "50.00", "25.00", "50.00", "50.00", "25.00", "0.00"};
    for (int32_t i = 0; i < 7; ++i) {
        EXPECT_EQ(host->paramName(i), names[i]);
        EXPECT_EQ(host->paramLabel(i), " %");
        EXPECT_EQ(host->paramDisplay(i), displays[i]);
    }
    host->setParameter(6, 0.0f);
    EXPECT_EQ(host->paramDisplay(6), "-100.00");
    host->setParameter(6, 1.0f);
    EXPECT_EQ(host->paramDisplay(6), "100.00");
    host->setParameter(1, 0.123f);
    EXPECT_EQ(host->paramDisplay(1), "12.30");
}

TEST(SwirletTexts, PointNotCommaUnderTheHostsLocale) {
    auto host = loadSwirlet();
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    host->setParameter(2, 0.5f);
    const std::string display = host->paramDisplay(2);
    const std::string localeAfter = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(display, "50.00");
    EXPECT_EQ(localeAfter.find("de_DE"), 0u); // the plug-in left the host's locale alone
}

TEST(SwirletPrograms, NamesAndValuesPerProgram) {
    auto host = loadSwirlet();
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host->programName(), "Swirlet");
    }
    host->dispatch(effSetProgram, 0, 2);
    host->setParameter(0, 0.9f);
    char longName[] = "A thirty character long name!!";
    host->dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(host->programName(), "A thirty character long");
    host->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(host->getParameter(0), 0.5f);
    EXPECT_EQ(host->programName(), "Swirlet");
    host->dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(host->getParameter(0), 0.9f);
    EXPECT_EQ(host->dispatch(effGetProgram), 2);
}

TEST(SwirletBadInput, ParameterIndicesOutsideTheRange) {
    auto host = loadSwirlet();
    for (int32_t bad : {-1, 7, 1000, INT32_MIN, INT32_MAX}) {
        host->setParameter(bad, 0.3f);
        EXPECT_EQ(host->getParameter(bad), 0.0f) << bad;
        EXPECT_EQ(host->paramName(bad), "") << bad;
        EXPECT_EQ(host->paramLabel(bad), "") << bad;
        EXPECT_EQ(host->paramDisplay(bad), "") << bad;
        EXPECT_EQ(host->dispatch(effCanBeAutomated, bad), 1) << bad;
    }
    for (int32_t i = 0; i < 7; ++i)
        EXPECT_NE(host->getParameter(i), 0.3f);
}

TEST(SwirletBadInput, ValuesNullPointersProgramsAndFrameCounts) {
    auto host = loadSwirlet();
    host->start(44100.0f, 64);
    host->setParameter(2, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(host->getParameter(2), 0.0f);
    host->setParameter(2, std::numeric_limits<float>::infinity());
    EXPECT_EQ(host->getParameter(2), 1.0f);
    host->setParameter(3, -7.0f);
    EXPECT_EQ(host->getParameter(3), 0.0f);
    EXPECT_EQ(host->paramDisplay(2), "100.00");

    for (int32_t opcode : std::initializer_list<int32_t>{
             effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
             effGetParamName, effGetEffectName, effGetVendorString, effGetProductString, effCanDo,
             effString2Parameter, effGetProgramNameIndexed, effEditGetRect})
        EXPECT_EQ(host->dispatch(opcode, 0, 0, nullptr), 0) << opcode;

    host->dispatch(effSetProgram, 0, 4);
    host->dispatch(effSetProgram, 0, -1);
    host->dispatch(effSetProgram, 0, 16);
    EXPECT_EQ(host->dispatch(effGetProgram), 4);

    StereoBlock block(8, 0.5f);
    block.outL.assign(8, 3.0f);
    host->processReplacing(block.inputs(), block.outputs(), 0);
    host->processReplacing(block.inputs(), block.outputs(), -64);
    host->process(block.inputs(), block.outputs(), INT32_MIN);
    host->processReplacing(nullptr, block.outputs(), 8);
    EXPECT_EQ(block.outL[0], 3.0f);
}

TEST(SwirletBadInput, SampleRatesAHostShouldNotSend) {
    auto host = loadSwirlet();
    for (float rate : {0.0f, -48000.0f, 1.0f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN(), 1411200.0f}) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetBlockSizeAndSampleRate, 0, 64, nullptr, rate);
        StereoBlock block(64, 0.5f);
        host->processReplacing(block.inputs(), block.outputs(), 64);
        for (size_t i = 0; i < 64; ++i) {
            ASSERT_TRUE(std::isfinite(block.outL[i])) << rate;
            ASSERT_TRUE(std::isfinite(block.outR[i])) << rate;
        }
    }
}

TEST(SwirletLifecycle, CloseIsTheLastWord) {
    auto host = loadSwirlet();
    EXPECT_EQ(host->close(), 1);
    EXPECT_FALSE(host->isOpen());
}

TEST(SwirletRealTime, ProcessingAllocatesNothing) {
    auto host = loadSwirlet();
    host->start(48000.0f, 256);
    StereoBlock block(256, 0.25f);
    allocation_counter::start();
    host->processReplacing(block.inputs(), block.outputs(), 256);
    host->process(block.inputs(), block.outputs(), 256);
    host->processReplacing(block.inputs(), block.outputs(), 17);
    EXPECT_EQ(allocation_counter::stop(), 0u);
    // The counter sees allocations made in this process, or the zero above would prove nothing.
    allocation_counter::start();
    std::vector<float> probe(1000);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

} // namespace
