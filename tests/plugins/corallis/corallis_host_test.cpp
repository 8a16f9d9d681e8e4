// corallis loaded through its entry exactly as a host loads it: the record, every text of the
// default program, programs, modes, sample-rate changes, bad host input and real-time safety.
#include "tests/support/allocation_counter.h"
#include "tools/plughost/plugin_host.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int32_t kParams = 14;

std::unique_ptr<PluginHost> loadCorallis(float rate = 44100.0f) {
    std::string error;
    auto host = PluginHost::load(PLUGIN_DIR "/corallis.so", error);
    EXPECT_TRUE(host) << error;
    if (host) host->start(rate, 512);
    return host;
}

struct Block {
    std::vector<float> inL, inR, outL, outR;
    float* in[2];
    float* out[2];
    explicit Block(size_t frames, float fill = 0.0f)
        : inL(frames), inR(frames), outL(frames, fill),
          outR(frames, fill), in{inL.data(), inR.data()}, out{outL.data(), outR.data()} {
        for (size_t i = 0; i < frames; ++i) {
            inL[i] = 0.8f * std::sin(0.031f * static_cast<float>(i) + 0.5f);
            inR[i] = 0.6f * std::cos(0.017f * static_cast<float>(i)) - 0.1f;
        }
    }
    int32_t frames() const { return static_cast<int32_t>(inL.size()); }
};

// The lines are silent after start, a program change, a rate change and suspend; the serial
// chain's last voice reads nothing written before frame 296, so the output is the dry half.
void expectDryHalf(const Block& b, size_t frames) {
    for (size_t i = 0; i < frames; ++i) {
        ASSERT_EQ(b.outL[i], 0.5f * b.inL[i]) << i;
        ASSERT_EQ(b.outR[i], 0.5f * b.inR[i]) << i;
    }
}

TEST(CorallisHost, RecordDescribesAStereoEffectWithoutEditor) {
    auto host = loadCorallis();
    AEffect* e = host->effect();
    EXPECT_EQ(e->numPrograms, 16);
    EXPECT_EQ(e->numParams, kParams);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 28); // VU, mono, replacing; no editor yet
    EXPECT_EQ(e->uniqueID, fourCharCode('L', 'F', 'c', 'o'));
    EXPECT_EQ(host->dispatch(effGetVu), 0);
    EXPECT_EQ(host->dispatch(effEditOpen), 0);
    char text[256] = "untouched";
    EXPECT_EQ(host->dispatch(effGetEffectName, 0, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetVendorString, 0, 0, text), 0);
    EXPECT_EQ(host->dispatch(effGetProductString, 0, 0, text), 0);
    EXPECT_EQ(host->close(), 1);
}

TEST(CorallisHost, DefaultProgramTextsByteForByte) {
    auto host = loadCorallis();
    const char* names[kParams] = {" Delay1  ", " Depth1  ", " Speed1  ", "FeedBack1", " Delay2  ",
                                  " Depth2  ", " Speed2  ", "FeedBack2", " Dry Mix ", " Wet Mix ",
                                  "SerialMod", "Neg.Delay", "Rand. Amt", " SlowMod "};
    const char* labels[kParams] = {" ms", " ms", " ",  " %", " ms", " ms", " ",
                                   " %",  " %",  " %", " ",  " ",   " %",  " "};
    const char* displays[kParams] = {"12.50", "37.50",   "     20", "    -69", "7.50",
                                     "27.50", "     30", "    -50", "     50", "     50",
                                     "on",    "on",      "      0", "on"};
    const float defaults[kParams] = {0.25f, 0.75f, 0.2f, 0.15f, 0.15f, 0.55f, 0.3f,
                                     0.25f, 0.5f,  0.5f, 1.0f,  0.0f,  0.0f,  1.0f};
    for (int32_t i = 0; i < kParams; ++i) {
        EXPECT_EQ(host->paramName(i), names[i]) << i;
        EXPECT_EQ(host->paramLabel(i), labels[i]) << i;
        EXPECT_EQ(host->paramDisplay(i), displays[i]) << i;
        EXPECT_EQ(host->getParameter(i), defaults[i]) << i;
    }
    EXPECT_EQ(host->programName(), "Pellucid Ensemble");
}

TEST(CorallisHost, DisplaysFollowTheStoredValues) {
    auto host = loadCorallis();
    host->setParameter(0, 1.0f);
    EXPECT_EQ(host->paramDisplay(0), "50.00");
    host->setParameter(1, 0.333f); // linear in the stored value: 16.65
    EXPECT_EQ(host->paramDisplay(1), "16.65");
    host->setParameter(3, 1.0f);
    EXPECT_EQ(host->paramDisplay(3), "    100");
    host->setParameter(7, 0.0f);
    EXPECT_EQ(host->paramDisplay(7), "   -100");
    host->setParameter(12, 0.999f);
    EXPECT_EQ(host->paramDisplay(12), "     99");
    // Neg.Delay shows "on" only at exactly 0; the other switches show their flag.
    host->setParameter(11, 1.0f);
    EXPECT_EQ(host->paramDisplay(11), "off");
    host->setParameter(11, 0.5f);
    EXPECT_EQ(host->paramDisplay(11), "off");
    host->setParameter(10, 0.0f);
    EXPECT_EQ(host->paramDisplay(10), "off");
    host->setParameter(10, 0.01f);
    EXPECT_EQ(host->paramDisplay(10), "on");
    host->setParameter(13, 0.0f);
    EXPECT_EQ(host->paramDisplay(13), "off");
}

TEST(CorallisHost, DisplaysIgnoreTheLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    auto host = loadCorallis();
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 12.5); // the locale is really in force
    const std::string delay = host->paramDisplay(0);
    const std::string depth = host->paramDisplay(5);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_STREQ(probe, "12,50");
    EXPECT_EQ(delay, "12.50");
    EXPECT_EQ(depth, "27.50");
}

TEST(CorallisHost, SixteenProgramsKeepTheirOwnValuesAndNames) {
    auto host = loadCorallis();
    for (int p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(host->dispatch(effGetProgram), p);
        EXPECT_EQ(host->programName(), "Pellucid Ensemble") << p;
    }
    host->dispatch(effSetProgram, 0, 4);
    host->setParameter(8, 0.125f);
    char name[] = "A name much longer than twenty-three";
    host->dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host->programName(), "A name much longer than");
    host->dispatch(effSetProgram, 0, 5);
    EXPECT_EQ(host->getParameter(8), 0.5f);
    EXPECT_EQ(host->programName(), "Pellucid Ensemble");
    host->dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(host->getParameter(8), 0.125f);
    EXPECT_EQ(host->paramDisplay(8), "     12");
    // Numbers outside 0..15 are ignored.
    host->dispatch(effSetProgram, 0, -1);
    host->dispatch(effSetProgram, 0, 16);
    EXPECT_EQ(host->dispatch(effGetProgram), 4);
}

TEST(CorallisHost, FirstFramesAreTheDryHalfAndReplacingIgnoresGarbage) {
    auto clean = loadCorallis();
    auto dirty = loadCorallis();
    // The serial chain's wet signal arrives after the delays of all twelve voices.
    Block a(8192, 0.0f), b(8192, 1.0e30f);
    clean->processReplacing(a.in, a.out, a.frames());
    dirty->processReplacing(b.in, b.out, b.frames());
    expectDryHalf(a, 256);
    EXPECT_EQ(a.outL, b.outL);
    EXPECT_EQ(a.outR, b.outR);
    // The wet signal arrives later.
    bool wetArrived = false;
    for (size_t i = 256; i < 8192; ++i)
        wetArrived |= a.outL[i] != 0.5f * a.inL[i];
    EXPECT_TRUE(wetArrived);

    // process adds onto what is there.
    Block c(512, 0.25f), d(512, 0.0f);
    clean->process(c.in, c.out, c.frames());
    dirty->processReplacing(d.in, d.out, d.frames());
    for (size_t i = 0; i < 512; ++i) {
        ASSERT_EQ(c.outL[i], 0.25f + d.outL[i]) << i;
        ASSERT_EQ(c.outR[i], 0.25f + d.outR[i]) << i;
    }
}

TEST(CorallisHost, ProgramChangeRateChangeAndSuspendSilenceTheLines) {
    auto host = loadCorallis();
    Block warm(4096);
    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effSetProgram, 0, 2);
    Block afterProgram(300);
    host->processReplacing(afterProgram.in, afterProgram.out, afterProgram.frames());
    expectDryHalf(afterProgram, 296);

    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    Block afterRate(300);
    host->processReplacing(afterRate.in, afterRate.out, afterRate.frames());
    expectDryHalf(afterRate, 296);

    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    Block afterSuspend(300);
    host->processReplacing(afterSuspend.in, afterSuspend.out, afterSuspend.frames());
    expectDryHalf(afterSuspend, 296);
}

// With the dry gain 0 the output is the wet signal alone: Neg.Delay 1 negates it exactly,
// Neg.Delay 0.5 mutes it.
TEST(CorallisHost, NegDelayInvertsOrMutesTheWetSignal) {
    for (float serial : {1.0f, 0.0f}) {
        auto positive = loadCorallis(), negative = loadCorallis(), muted = loadCorallis();
        for (auto* host : {positive.get(), negative.get(), muted.get()}) {
            host->setParameter(8, 0.0f);
            host->setParameter(10, serial);
        }
        negative->setParameter(11, 1.0f);
        muted->setParameter(11, 0.5f);
        Block p(8192), n(8192), m(8192);
        positive->processReplacing(p.in, p.out, p.frames());
        negative->processReplacing(n.in, n.out, n.frames());
        muted->processReplacing(m.in, m.out, m.frames());
        float energy = 0.0f;
        for (size_t i = 0; i < 8192; ++i) {
            ASSERT_EQ(n.outL[i], -p.outL[i]) << i;
            ASSERT_EQ(n.outR[i], -p.outR[i]) << i;
            ASSERT_EQ(m.outL[i], 0.0f) << i;
            energy += p.outL[i] * p.outL[i];
        }
        EXPECT_GT(energy, 1.0f) << serial;
    }
}

TEST(CorallisHost, SerialAndParallelModesSoundDifferent) {
    auto serial = loadCorallis(), parallel = loadCorallis();
    parallel->setParameter(10, 0.0f);
    Block s(3000), p(3000);
    serial->processReplacing(s.in, s.out, s.frames());
    parallel->processReplacing(p.in, p.out, p.frames());
    EXPECT_NE(s.outL, p.outL);
    // Parallel mode's wet signal starts with the shortest left delay (voice 7, 263 samples).
    for (size_t i = 0; i < 262; ++i)
        ASSERT_EQ(p.outL[i], 0.5f * p.inL[i]) << i;
    EXPECT_NE(p.outL[263], 0.5f * p.inL[263]);
}

TEST(CorallisHost, BadParameterIndicesOnEveryEntry) {
    auto host = loadCorallis();
    for (int32_t index : {-1, kParams, 1000, INT32_MIN}) {
        host->setParameter(index, 0.7f);
        EXPECT_EQ(host->getParameter(index), 0.0f) << index;
        EXPECT_EQ(host->paramName(index), "") << index;
        EXPECT_EQ(host->paramDisplay(index), "") << index;
        EXPECT_EQ(host->paramLabel(index), " ") << index;
        char text[256] = "0.5";
        host->dispatch(effString2Parameter, index, 0, text);
        host->dispatch(effCanBeAutomated, index);
        char properties[512] = {};
        host->dispatch(effGetParameterProperties, index, 0, properties);
    }
    // Nothing valid moved.
    EXPECT_EQ(host->paramDisplay(0), "12.50");
    EXPECT_EQ(host->getParameter(13), 1.0f);
    // Non-finite and out-of-range values arrive clamped.
    host->setParameter(0, NAN);
    EXPECT_EQ(host->getParameter(0), 0.0f);
    host->setParameter(0, INFINITY);
    EXPECT_EQ(host->getParameter(0), 1.0f);
    host->setParameter(3, -5.0f);
    EXPECT_EQ(host->paramDisplay(3), "   -100");
}

TEST(CorallisHost, NullTextBuffersAndEmptyBlocks) {
    auto host = loadCorallis();
    for (int32_t opcode : {effGetParamName, effGetParamLabel, effGetParamDisplay, effGetProgramName,
                           effSetProgramName, effGetEffectName, effGetVendorString,
                           effGetProductString, effString2Parameter})
        EXPECT_EQ(host->dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    Block b(64, 7.0f);
    host->processReplacing(b.in, b.out, 0);
    host->processReplacing(b.in, b.out, -64);
    host->process(b.in, b.out, 0);
    host->process(b.in, b.out, INT32_MIN);
    for (size_t i = 0; i < 64; ++i)
        ASSERT_EQ(b.outL[i], 7.0f);
}

TEST(CorallisHost, ExtremeSampleRatesThroughTheDispatcher) {
    auto host = loadCorallis();
    for (float rate : {1.0f, 5.0f, 9.0f, 1410000.0f, 44100.0f}) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        for (int32_t i = 0; i < kParams; ++i)
            host->setParameter(i, i % 2 ? 1.0f : 0.0f);
        for (int round = 0; round < 4; ++round) {
            Block b(1024);
            host->processReplacing(b.in, b.out, b.frames());
            host->process(b.in, b.out, b.frames());
            for (size_t i = 0; i < 1024; ++i)
                ASSERT_TRUE(std::isfinite(b.outL[i]) && std::isfinite(b.outR[i])) << rate;
        }
        host->dispatch(effSetProgram, 0, 0);
    }
    // Rates the dispatcher does not forward, and one the effect refuses, change nothing.
    for (float rate : {0.0f, -48000.0f, NAN, INFINITY, 3.0e38f})
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    Block b(300);
    host->dispatch(effSetProgram, 0, 1);
    host->processReplacing(b.in, b.out, b.frames());
    expectDryHalf(b, 296);
}

TEST(CorallisHost, ProcessingAllocatesNothing) {
    auto host = loadCorallis(48000.0f);
    Block b(512);
    for (float serial : {1.0f, 0.0f}) {
        host->setParameter(10, serial);
        host->setParameter(2, 1.0f);
        host->setParameter(12, 1.0f);
        allocation_counter::start();
        for (int i = 0; i < 20; ++i) {
            host->processReplacing(b.in, b.out, b.frames());
            host->process(b.in, b.out, 77);
        }
        EXPECT_EQ(allocation_counter::stop(), 0u) << serial;
    }
    // The counter does see allocations: a rate change reallocates the lines.
    allocation_counter::start();
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

} // namespace
