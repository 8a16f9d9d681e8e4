// corallis loaded through its entry exactly as a host loads it: the record, every text of the
// default program, programs, and what only corallis does: the dry half before the wet signal
// arrives, lines silenced by program, rate and suspend, Neg.Delay and the two voice chainings.
// The rules every deliverable follows are checked once for all in tests/plugins/deliverables.
#include "tests/support/plugin_loader.h"
#include "tests/support/stereo_buffer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int32_t kParams = 14;

std::unique_ptr<PluginHost> loadCorallis(float rate = 44100.0f) {
    auto host = loadPlugin("corallis", rate, 512);
    EXPECT_TRUE(host);
    return host;
}

// A block whose input starts away from zero on both sides, so the first delayed sample of the
// wet signal differs from the dry one.
StereoBuffer block(size_t frames, float outputFill = 0.0f) {
    StereoBuffer b(frames, 0.0f, outputFill);
    for (size_t i = 0; i < frames; ++i) {
        b.inL[i] = 0.8f * std::sin(0.031f * static_cast<float>(i) + 0.5f);
        b.inR[i] = 0.6f * std::cos(0.017f * static_cast<float>(i)) - 0.1f;
    }
    return b;
}

// The lines are silent after start, a program change, a rate change and suspend; the serial
// chain's last voice reads nothing written before frame 296, so the output is the dry half.
void expectDryHalf(const StereoBuffer& b, size_t frames) {
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
    EXPECT_EQ(e->flags, kDeliverableFlags);
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

TEST(CorallisHost, SixteenProgramsNamedPellucidEnsemble) {
    auto host = loadCorallis();
    for (int p = 0; p < 16; ++p) {
        host->dispatch(effSetProgram, 0, p);
        EXPECT_EQ(exactText(*host, effGetProgramName), "Pellucid Ensemble") << p;
    }
}

TEST(CorallisHost, FirstFramesAreTheDryHalfAndReplacingIgnoresGarbage) {
    auto clean = loadCorallis();
    auto dirty = loadCorallis();
    // The serial chain's wet signal arrives after the delays of all twelve voices.
    StereoBuffer a = block(8192, 0.0f), b = block(8192, 1.0e30f);
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
}

TEST(CorallisHost, ProgramChangeRateChangeAndSuspendSilenceTheLines) {
    auto host = loadCorallis();
    StereoBuffer warm = block(4096);
    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effSetProgram, 0, 2);
    StereoBuffer afterProgram = block(300);
    host->processReplacing(afterProgram.in, afterProgram.out, afterProgram.frames());
    expectDryHalf(afterProgram, 296);

    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    StereoBuffer afterRate = block(300);
    host->processReplacing(afterRate.in, afterRate.out, afterRate.frames());
    expectDryHalf(afterRate, 296);

    host->processReplacing(warm.in, warm.out, warm.frames());
    host->dispatch(effMainsChanged, 0, 0);
    host->dispatch(effMainsChanged, 0, 1);
    StereoBuffer afterSuspend = block(300);
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
        StereoBuffer p = block(8192), n = block(8192), m = block(8192);
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
    StereoBuffer s = block(3000), p = block(3000);
    serial->processReplacing(s.in, s.out, s.frames());
    parallel->processReplacing(p.in, p.out, p.frames());
    EXPECT_NE(s.outL, p.outL);
    // Parallel mode's wet signal starts with the shortest left delay (voice 7, 263 samples).
    for (size_t i = 0; i < 262; ++i)
        ASSERT_EQ(p.outL[i], 0.5f * p.inL[i]) << i;
    EXPECT_NE(p.outL[263], 0.5f * p.inL[263]);
}

// Its label table answers a blank label for any index, also one it does not have.
TEST(CorallisHost, LabelOfAMissingParameterIsBlank) {
    auto host = loadCorallis();
    for (int32_t index : {-1, kParams, 1000, INT32_MIN})
        EXPECT_EQ(exactText(*host, effGetParamLabel, index), " ") << index;
}

} // namespace
