// Running out of memory: the constructor reports it through `failed` (so the entry refuses the
// effect), and a sample-rate change that cannot get its lines leaves the effect as it was.
#include "frame/host_entry.h"
#include "plugins/tloom/tloom_effect.h"
#include "tests/plugins/tloom/failing_allocator.h"
#include "tests/plugins/tloom/tloom_probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Probe = TloomEffectProbe;
// Larger than the programs (16 x 84 bytes) and the effect object, smaller than one line of
// 4410 samples.
constexpr size_t kLineSized = 10000;

void run(TloomEffect& effect, std::vector<float>& outL, std::vector<float>& outR) {
    std::vector<float> inL(outL.size()), inR(outR.size());
    for (size_t i = 0; i < inL.size(); ++i) {
        inL[i] = static_cast<float>(std::sin(0.03 * static_cast<double>(i)));
        inR[i] = -inL[i];
    }
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    effect.processReplacing(in, out, static_cast<int32_t>(inL.size()));
}

TEST(TloomOutOfMemory, SampleRateChangeWithoutLinesKeepsTheOldRateAndLines) {
    for (int spared : {0, 1}) { // the first line fails, or only the second
        TloomEffect effect(nullptr);
        TloomEffect twin(nullptr);
        std::vector<float> outL(5000), outR(5000), twinL(5000), twinR(5000);
        run(effect, outL, outR);
        run(twin, twinL, twinR);
        const float inverse = Probe::invSampleRate(effect);
        const int32_t writeIndex = Probe::lineLeft(effect).getWriteIndex();

        failing_allocator::arm(kLineSized, spared);
        effect.setSampleRate(48000.0f);
        EXPECT_EQ(failing_allocator::disarm(), 1);

        EXPECT_EQ(effect.getSampleRate(), 44100.0f) << "the rate in force is still reported";
        EXPECT_EQ(Probe::invSampleRate(effect), inverse);
        EXPECT_EQ(Probe::lineLeft(effect).getLength(), 4410);
        EXPECT_EQ(Probe::lineRight(effect).getLength(), 4410);
        EXPECT_EQ(Probe::lineLeft(effect).getWriteIndex(), writeIndex);
        // It goes on exactly as if the change had never been asked for.
        run(effect, outL, outR);
        run(twin, twinL, twinR);
        EXPECT_EQ(outL, twinL);
        EXPECT_EQ(outR, twinR);
        // Memory back: the change works.
        effect.setSampleRate(48000.0f);
        EXPECT_EQ(Probe::lineLeft(effect).getLength(), 4800);
    }
}

TEST(TloomOutOfMemory, ConstructorSetsFailedWhenLinesOrProgramsCannotBeAllocated) {
    for (size_t threshold : {kLineSized, size_t{1000}}) {
        failing_allocator::arm(threshold);
        TloomEffect effect(nullptr);
        EXPECT_GT(failing_allocator::disarm(), 0);
        EXPECT_TRUE(effect.failed) << threshold;
        // Even so it answers every call harmlessly.
        std::vector<float> outL(64, 1.0f), outR(64, 1.0f);
        run(effect, outL, outR);
        EXPECT_EQ(outL, std::vector<float>(64, 0.0f));
        effect.setParameter(0, 0.3f);
        effect.setProgram(2);
        char text[32];
        effect.getParamDisplay(0, text);
        effect.getProgramName(text);
        effect.setSampleRate(48000.0f);
    }
}

intptr_t versionOnlyHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(TloomOutOfMemory, EntryRefusesAnEffectWithoutLines) {
    failing_allocator::arm(kLineSized);
    AEffect* record = runHostEntry<TloomEffect>(versionOnlyHost, nullptr);
    failing_allocator::disarm();
    EXPECT_EQ(record, nullptr);
    AEffect* working = runHostEntry<TloomEffect>(versionOnlyHost, nullptr);
    ASSERT_NE(working, nullptr);
    working->dispatcher(working, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace
