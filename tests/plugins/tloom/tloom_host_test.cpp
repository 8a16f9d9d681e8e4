// tloom loaded through its entry exactly as a host loads it: identity, texts, programs,
// sample-rate changes, bad host input, the mended faults and real-time safety.
#include "tests/support/allocation_counter.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::unique_ptr<PluginHost> loadTloom() {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/tloom.so", error);
    EXPECT_TRUE(host) << error;
    return host;
}

// Reads a text opcode into a buffer pre-filled with a marker, checks that exactly the text
// and its terminating zero were written, and answers the text.
std::string exactText(PluginHost& host, int32_t opcode, int32_t index) {
    char buffer[128];
    std::memset(buffer, 0x7f, sizeof buffer);
    host.dispatch(opcode, index, 0, buffer, 0.0f);
    const void* zero = std::memchr(buffer, 0, sizeof buffer);
    if (!zero) return "<no terminator>";
    const size_t length = static_cast<const char*>(zero) - buffer;
    for (size_t i = length + 1; i < sizeof buffer; ++i)
        if (buffer[i] != 0x7f) return "<wrote past the terminator>";
    return std::string(buffer, length);
}

struct Stereo {
    explicit Stereo(int32_t n, float value = 0.0f)
        : inL(n, value), inR(n, value), outL(n), outR(n) {}
    float** in() { return inPtr; }
    float** out() { return outPtr; }
    bool allFinite() const {
        for (size_t i = 0; i < outL.size(); ++i)
            if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) return false;
        return true;
    }
    void sine(double step) {
        for (size_t i = 0; i < inL.size(); ++i) {
            inL[i] = 0.9f * static_cast<float>(std::sin(phase));
            inR[i] = 0.9f * static_cast<float>(std::cos(phase));
            phase += step;
        }
    }
    std::vector<float> inL, inR, outL, outR;
    float* inPtr[2] = {inL.data(), inR.data()};
    float* outPtr[2] = {outL.data(), outR.data()};
    double phase = 0.0;
};

const char* const kNames[15] = {
    "L Gap Speed", "L Gap Mod", "L Feedback", "R Gap Speed",    "R Gap Mod",
    "R Feedback",  "L Shape",   "R Shape",    "L Speed Adjust", "R Speed Adjust",
    "Cutoff",      "Rez",       "Low",        "Band",           "High"};
const char* const kDefaultDisplays[15] = {"     50", "     50", "    -49", "     35", "     45",
                                          "      9", "      0", "      0", "    100", "    100",
                                          "     50", "      0", "    100", "      0", "      0"};
const float kDefaultValues[15] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.0f, 0.0f,
                                  1.0f, 1.0f, 0.5f,  0.0f,  1.0f,  0.0f,  0.0f};

TEST(TloomIdentity, RecordAndStringsDescribeTheEffectWithoutAnEditor) {
    auto host = loadTloom();
    AEffect* e = host->effect();
    EXPECT_EQ(e->uniqueID, fourCharCode('L', 'F', 't', 'l'));
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->numPrograms, 16);
    EXPECT_EQ(e->numParams, 15);
    EXPECT_EQ(e->flags, effFlagsHasVu | effFlagsCanMono | effFlagsCanReplacing); // 28
    EXPECT_EQ(exactText(*host, effGetEffectName, 0), "Tessera Loom");
    EXPECT_EQ(exactText(*host, effGetProductString, 0), "Tessera Loom");
    EXPECT_EQ(exactText(*host, effGetVendorString, 0), "Lumen Forge");
    char name[64];
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, name), 1);
    EXPECT_EQ(host->dispatch(effGetVendorString, 0, 0, name), 1);
    EXPECT_EQ(host->dispatch(effGetProductString, 0, 0, name), 1);
    ERect* rect = nullptr;
    EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(host->dispatch(effGetVu), 0);
    EXPECT_EQ(host->close(), 1);
}

TEST(TloomTexts, DefaultProgramNamesLabelsAndDisplaysByteForByte) {
    auto host = loadTloom();
    for (int32_t i = 0; i < 15; ++i) {
        EXPECT_EQ(exactText(*host, effGetParamName, i), kNames[i]) << i;
        EXPECT_EQ(exactText(*host, effGetParamLabel, i), i <= 5 ? " %" : " ") << i;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, i), kDefaultDisplays[i]) << i;
        EXPECT_EQ(host->getParameter(i), kDefaultValues[i]) << i;
    }
}

TEST(TloomTexts, FeedbackShowsTheGainAndTheRestTheStoredValue) {
    auto host = loadTloom();
    const struct {
        float value;
        const char* feedback;
        const char* plain;
    } cases[] = {{0.0f, "    -99", "      0"},
                 {0.5f, "      0", "     50"},
                 {1.0f, "     99", "    100"},
                 {0.123f, "    -74", "     12"}};
    for (const auto& c : cases) {
        host->setParameter(2, c.value);
        host->setParameter(5, c.value);
        host->setParameter(0, c.value);
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 2), c.feedback) << c.value;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 5), c.feedback) << c.value;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, 0), c.plain) << c.value;
    }
}

TEST(TloomTexts, DisplaysDoNotDependOnTheLocale) {
    auto host = loadTloom();
    host->setParameter(10, 0.777f);
    const std::string before = exactText(*host, effGetParamDisplay, 10);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    std::vector<std::string> texts;
    for (int32_t i = 0; i < 15; ++i)
        texts.push_back(exactText(*host, effGetParamDisplay, i));
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(texts[10], before);
    EXPECT_EQ(texts[10], "     77");
    texts[10] = kDefaultDisplays[10];
    for (int32_t i = 0; i < 15; ++i)
        EXPECT_EQ(texts[i], kDefaultDisplays[i]) << i;
}

TEST(TloomPrograms, SixteenProgramsNamedDefaultEachKeepingItsOwnValues) {
    auto host = loadTloom();
    for (int32_t p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host->dispatch(effGetProgram), p);
        EXPECT_EQ(exactText(*host, effGetProgramName, 0), "Default") << p;
    }
    host->dispatch(effSetProgram, 0, 3);
    host->setParameter(12, 0.25f);
    char renamed[] = "Slow Weave";
    host->dispatch(effSetProgramName, 0, 0, renamed);
    host->dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(host->getParameter(12), 1.0f);
    EXPECT_EQ(exactText(*host, effGetParamDisplay, 12), "    100");
    host->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(host->getParameter(12), 0.25f);
    EXPECT_EQ(exactText(*host, effGetParamDisplay, 12), "     25");
    EXPECT_EQ(exactText(*host, effGetProgramName, 0), "Slow Weave");
    for (intptr_t bad : {intptr_t{-1}, intptr_t{16}, intptr_t{1} << 40}) {
        host->dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(host->dispatch(effGetProgram), 3) << bad;
    }
}

TEST(TloomHostInput, BadParameterIndicesOnEveryEntryAnswerEmptyAndChangeNothing) {
    auto host = loadTloom();
    for (int32_t index : {-1, 15, 1000, std::numeric_limits<int32_t>::min()}) {
        host->setParameter(index, 0.77f);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
        EXPECT_EQ(exactText(*host, effGetParamName, index), "") << index;
        EXPECT_EQ(exactText(*host, effGetParamLabel, index), "") << index;
        EXPECT_EQ(exactText(*host, effGetParamDisplay, index), "") << index;
        char text[64] = "x";
        host->dispatch(effString2Parameter, index, 0, text);
        host->dispatch(effCanBeAutomated, index);
        host->dispatch(effGetParameterProperties, index, 0, text);
    }
    for (int32_t i = 0; i < 15; ++i)
        EXPECT_EQ(host->getParameter(i), kDefaultValues[i]) << i;
}

TEST(TloomHostInput, NullTextBuffersAreRefused) {
    auto host = loadTloom();
    for (int32_t opcode :
         {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramName,
          effSetProgramName, effGetEffectName, effGetVendorString, effGetProductString})
        EXPECT_EQ(host->dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    EXPECT_EQ(exactText(*host, effGetProgramName, 0), "Default");
}

TEST(TloomHostInput, OutOfRangeValuesAreHeldToTheRange) {
    auto host = loadTloom();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    host->setParameter(6, 5.0f);
    EXPECT_EQ(host->getParameter(6), 1.0f);
    host->setParameter(2, nan);
    EXPECT_EQ(host->getParameter(2), 0.0f);
    EXPECT_EQ(exactText(*host, effGetParamDisplay, 2), "    -99");
    host->setParameter(5, -3.0f);
    EXPECT_EQ(exactText(*host, effGetParamDisplay, 5), "    -99");
}

TEST(TloomHostInput, EmptyAndNegativeBlocksLeaveTheOutputsAlone) {
    auto host = loadTloom();
    Stereo s(16, 0.5f);
    s.outL.assign(16, 2.0f);
    s.outR.assign(16, 2.0f);
    for (int32_t frames : {0, -1, -512, std::numeric_limits<int32_t>::min()}) {
        host->processReplacing(s.in(), s.out(), frames);
        host->process(s.in(), s.out(), frames);
    }
    EXPECT_EQ(s.outL, std::vector<float>(16, 2.0f));
    EXPECT_EQ(s.outR, std::vector<float>(16, 2.0f));
}

TEST(TloomSampleRate, ExtremeRatesThroughTheDispatcherProcessSafely) {
    for (float rate : {1.0f, 5.0f, 9.0f, 22050.0f, 1410000.0f}) {
        auto host = loadTloom();
        host->start(rate, 512);
        host->dispatch(effSetProgram, 0, 0); // coefficients at this rate
        host->setParameter(10, 1.0f);        // the highest corner
        Stereo s(512);
        for (int block = 0; block < 6; ++block) {
            s.sine(0.3);
            host->processReplacing(s.in(), s.out(), 512);
            ASSERT_TRUE(s.allFinite()) << rate;
            host->process(s.in(), s.out(), 512);
            ASSERT_TRUE(s.allFinite()) << rate;
        }
    }
}

TEST(TloomSampleRate, UnusableRatesChangeNothing) {
    auto reference = loadTloom();
    auto host = loadTloom();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float rate : {0.0f, -48000.0f, nan, inf, -inf}) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, rate);
    }
    Stereo a(6000), b(6000);
    a.sine(0.05);
    b.sine(0.05);
    reference->processReplacing(a.in(), a.out(), 6000);
    host->processReplacing(b.in(), b.out(), 6000);
    EXPECT_EQ(a.outL, b.outL);
    EXPECT_EQ(a.outR, b.outR);
}

TEST(TloomAudio, SilentInputGivesExactlySilentOutput) {
    auto host = loadTloom();
    host->start(44100.0f, 512);
    Stereo s(512);
    for (int block = 0; block < 30; ++block) {
        s.outL.assign(512, 1.0f);
        host->processReplacing(s.in(), s.out(), 512);
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(s.outL[i], 0.0f);
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(s.outR[i], 0.0f);
    }
}

TEST(TloomAudio, ProcessAddsExactlyWhatProcessReplacingWrites) {
    auto replacing = loadTloom();
    auto adding = loadTloom();
    Stereo r(9000), a(9000);
    r.sine(0.02);
    a.sine(0.02);
    a.outL.assign(9000, 0.0f);
    a.outR.assign(9000, 0.0f);
    replacing->processReplacing(r.in(), r.out(), 9000);
    adding->process(a.in(), a.out(), 9000);
    EXPECT_EQ(r.outL, a.outL);
    EXPECT_EQ(r.outR, a.outR);
    float peak = 0.0f;
    for (float x : r.outL)
        peak = std::max(peak, std::fabs(x));
    EXPECT_GT(peak, 0.01f) << "the lines reach the output within 9000 frames";
}

TEST(TloomAudio, InPlaceProcessingGivesTheSameSamples) {
    auto separate = loadTloom();
    auto inPlace = loadTloom();
    Stereo s(9000);
    s.sine(0.02);
    std::vector<float> left = s.inL, right = s.inR;
    float* shared[2] = {left.data(), right.data()};
    separate->processReplacing(s.in(), s.out(), 9000);
    inPlace->processReplacing(shared, shared, 9000);
    EXPECT_EQ(left, s.outL);
    EXPECT_EQ(right, s.outR);
}

TEST(TloomFaults, NonFiniteInputNeverReachesTheHostAndOrdinaryAudioComesBackInOneBlock) {
    auto host = loadTloom();
    host->start(8000.0f, 256);
    host->dispatch(effSetProgram, 0, 0);
    Stereo s(256);
    for (int block = 0; block < 10; ++block) {
        s.sine(0.05);
        if (block == 4) {
            s.inL[0] = std::numeric_limits<float>::quiet_NaN();
            s.inR[100] = std::numeric_limits<float>::infinity();
            s.inL[200] = -std::numeric_limits<float>::infinity();
        }
        host->processReplacing(s.in(), s.out(), 256);
        ASSERT_TRUE(s.allFinite()) << block;
        if (block == 5) {
            for (int i = 0; i < 256; ++i)
                ASSERT_LT(std::fabs(s.outL[i]) + std::fabs(s.outR[i]), 20.0f) << i;
        }
    }
}

TEST(TloomRealTime, ProcessingAndParameterChangesAllocateNothing) {
    auto host = loadTloom();
    host->start(48000.0f, 512);
    Stereo s(512, 0.3f);
    allocation_counter::start();
    host->processReplacing(s.in(), s.out(), 512);
    host->process(s.in(), s.out(), 512);
    host->setParameter(0, 0.9f);
    host->setParameter(10, 0.2f);
    host->dispatch(effSetProgram, 0, 2);
    host->processReplacing(s.in(), s.out(), 37);
    EXPECT_EQ(allocation_counter::stop(), 0u);
    // The counter does see allocations, or the zero above would prove nothing.
    allocation_counter::start();
    host->paramName(0);
    std::vector<float> probe(1000);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

} // namespace
