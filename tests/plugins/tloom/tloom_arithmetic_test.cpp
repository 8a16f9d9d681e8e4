// TloomEffect's audio arithmetic: bit-exact agreement with the plain per-sample model,
// hand-derived samples, and the mapping of parameters to steps, gains and coefficients.
#include "plugins/tloom/tloom_effect.h"
#include "tests/plugins/tloom/tloom_probe.h"
#include "tests/plugins/tloom/tloom_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Probe = TloomEffectProbe;

uint32_t bitsOf(float x) {
    uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

// A deterministic stereo test signal: two detuned sines with a little pseudo-random noise.
struct Signal {
    uint32_t state = 12345;
    int64_t frame = 0;
    void next(float& left, float& right) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 16777216.0f - 0.5f;
        const double t = static_cast<double>(frame++);
        left = static_cast<float>(0.7 * std::sin(t * 0.031)) + 0.1f * noise;
        right = static_cast<float>(0.6 * std::sin(t * 0.0173 + 1.0)) - 0.1f * noise;
    }
};

// Runs effect and model side by side over `frames`, cut into blocks from `blocks` (cycled),
// and answers the first frame whose output bits differ, or -1.
int64_t firstMismatch(TloomEffect& effect, ReferenceTloom& model, int64_t frames,
                      const std::vector<int32_t>& blocks, bool accumulate) {
    Signal signal;
    int64_t done = 0;
    size_t next = 0;
    while (done < frames) {
        const int32_t n =
            static_cast<int32_t>(std::min<int64_t>(blocks[next++ % blocks.size()], frames - done));
        std::vector<float> inL(n), inR(n), outL(n), outR(n);
        for (int32_t i = 0; i < n; ++i)
            signal.next(inL[i], inR[i]);
        for (int32_t i = 0; i < n; ++i) {
            outL[i] = accumulate ? 0.25f * inR[i] : -7.0f;
            outR[i] = accumulate ? -0.5f * inL[i] : -7.0f;
        }
        const std::vector<float> beforeL = outL, beforeR = outR;
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        if (accumulate)
            effect.process(in, out, n);
        else
            effect.processReplacing(in, out, n);
        for (int32_t i = 0; i < n; ++i) {
            float l, r;
            model.frame(inL[i], inR[i], l, r);
            if (accumulate) {
                l = beforeL[i] + l;
                r = beforeR[i] + r;
            }
            if (bitsOf(l) != bitsOf(outL[i]) || bitsOf(r) != bitsOf(outR[i])) return done + i;
        }
        model.endBlock();
        done += n;
    }
    return -1;
}

void setBoth(TloomEffect& effect, ReferenceTloom& model, int32_t index, float value) {
    effect.setParameter(index, value);
    model.setParameter(index, value);
}

void changeRate(TloomEffect& effect, ReferenceTloom& model, float rate) {
    effect.setSampleRate(rate);
    model.setSampleRate(rate);
    // Re-apply the program so every coefficient is computed at the new rate.
    for (int32_t i = 0; i < TloomEffect::kNumParams; ++i) {
        const float v = effect.getParameter(i);
        setBoth(effect, model, i, v);
    }
}

TEST(TloomExactness, DefaultProgramMatchesPlainArithmeticOverManyBlocks) {
    TloomEffect effect(nullptr);
    ReferenceTloom model;
    // 12000 frames: the lines are read about 4366 samples behind the write position, so this
    // covers the oscillator signal arriving at the output and wrapping round the lines twice.
    EXPECT_EQ(firstMismatch(effect, model, 12000, {512}, false), -1);
}

TEST(TloomExactness, VariedSettingsRatesAndBlockSizesMatchPlainArithmetic) {
    struct Setting {
        float rate;
        float values[15];
    };
    // The rates are low so that the short lines wrap often; each cutoff keeps its corner below
    // a quarter of the rate, where the filter is stable.
    const Setting settings[] = {
        {2000.0f,
         {0.9f, 1.0f, 0.0f, 0.2f, 0.05f, 1.0f, 0.15f, 0.45f, 0.3f, 0.8f, 0.0f, 0.7f, 0.3f, 0.6f,
          0.2f}},
        {4000.0f,
         {0.1f, 0.6f, 1.0f, 0.7f, 0.9f, 0.0f, 0.25f, 0.35f, 1.0f, 0.01f, 0.3f, 1.0f, 0.0f, 1.0f,
          0.5f}},
        {8000.0f,
         {1.0f, 0.0f, 0.5f, 1.0f, 0.3f, 0.45f, 0.0f, 0.1f, 0.5f, 0.5f, 0.55f, 0.35f, 1.0f, 1.0f,
          1.0f}},
        {48000.0f,
         {0.33f, 0.77f, 0.61f, 0.12f, 0.88f, 0.2f, 0.31f, 0.0f, 0.66f, 0.9f, 0.9f, 0.95f, 0.4f,
          0.8f, 0.1f}},
    };
    const std::vector<int32_t> blocks = {1, 7, 64, 333, 2};
    for (bool accumulate : {false, true}) {
        for (const Setting& s : settings) {
            TloomEffect effect(nullptr);
            ReferenceTloom model;
            changeRate(effect, model, s.rate);
            for (int32_t i = 0; i < 15; ++i)
                setBoth(effect, model, i, s.values[i]);
            const int64_t frames = s.rate >= 40000.0f ? 9000 : 1500;
            EXPECT_EQ(firstMismatch(effect, model, frames, blocks, accumulate), -1)
                << "rate " << s.rate << (accumulate ? " accumulating" : " replacing");
            // Change parameters between blocks and run on from the same state.
            setBoth(effect, model, 6, 0.42f);
            setBoth(effect, model, 10, 0.2f);
            setBoth(effect, model, 2, 0.9f);
            EXPECT_EQ(firstMismatch(effect, model, 700, {100, 3}, accumulate), -1)
                << "after a change at rate " << s.rate;
        }
    }
}

TEST(TloomExactness, ProgramChangeKeepsPhasesAndRecomputesFromTheOldSpeedAdjustFirst) {
    TloomEffect effect(nullptr);
    ReferenceTloom model;
    changeRate(effect, model, 6000.0f);
    setBoth(effect, model, TloomEffect::kLeftSpeedAdjust, 0.2f);
    setBoth(effect, model, TloomEffect::kRightSpeedAdjust, 0.6f);
    ASSERT_EQ(firstMismatch(effect, model, 400, {128}, false), -1);
    const float phase = Probe::gapSpeedLeft(effect).oscCos;
    effect.setProgram(5);
    // The model applies program 5 (all defaults) the same way: index by index.
    const ReferenceTloom defaults;
    for (int32_t i = 0; i < 15; ++i)
        model.setParameter(i, defaults.values[i]);
    EXPECT_EQ(Probe::gapSpeedLeft(effect).oscCos, phase) << "phases survive a program change";
    EXPECT_EQ(firstMismatch(effect, model, 600, {128}, false), -1);
}

// The first sample that reaches the output, worked out by hand at 100 Hz, where the lines are
// 10 samples long and the read sits 9.9 samples behind the write: frames 0 to 8 read only
// samples nobody has written yet; frame 9 reads s[9] (still 0) and s[0] (the first oscillator
// value, written at frame 0) with the fraction p + 1.
TEST(TloomHandDerived, FirstOscillatorValueReachesTheOutputAtFrameNine) {
    TloomEffect effect(nullptr);
    effect.setSampleRate(100.0f);
    effect.setProgram(0);
    effect.setParameter(TloomEffect::kLeftGapMod, 0.0f);
    effect.setParameter(TloomEffect::kLow, 0.0f);
    effect.setParameter(TloomEffect::kHigh, 1.0f); // output = high = x with an empty filter
    ASSERT_EQ(Probe::lineLeft(effect).getLength(), 10);

    // Gap-mod angle (0.1 x 0 + 0.0001) x 0.01 x 692.72...; ten rotations from (1, 0).
    const double omega =
        static_cast<double>(0.0001f) * static_cast<double>(0.01f) * 692.7212158218026;
    const float stepCos = static_cast<float>(std::cos(omega));
    const float stepSin = static_cast<float>(std::sin(omega));
    float c = 1.0f, s = 0.0f;
    for (int k = 0; k < 10; ++k) {
        const float nc = stepCos * c - stepSin * s;
        s = stepCos * s + stepSin * c;
        c = nc;
    }
    const float position = 9.0f - 10.0f * ((c + 1.0f) * 0.495f);
    ASSERT_GT(position, -1.0f);
    ASSERT_LT(position, 0.0f);
    const float frac = position + 1.0f;
    // s[0]: the gap-speed oscillator's cosine after one rotation (shape 0, nothing fed back).
    const float firstValue = Probe::gapSpeedLeft(effect).stepCos;

    std::vector<float> inL(10, 0.5f), inR(10, 0.5f), outL(10, 9.0f), outR(10, 9.0f);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    effect.processReplacing(in, out, 10);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(outL[k], 0.0f) << "frame " << k;
    const float gL = 0.0f + (firstValue - 0.0f) * frac;
    EXPECT_EQ(bitsOf(outL[9]), bitsOf(gL * 0.5f));
}

TEST(TloomHandDerived, SilentInputGivesSilentOutputWhatTheLinesCarry) {
    TloomEffect effect(nullptr);
    std::vector<float> silence(512, 0.0f), outL(512, 1.0f), outR(512, 1.0f);
    float* in[2] = {silence.data(), silence.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int block = 0; block < 20; ++block) {
        effect.processReplacing(in, out, 512);
        for (int i = 0; i < 512; ++i) {
            ASSERT_EQ(outL[i], 0.0f);
            ASSERT_EQ(outR[i], 0.0f);
        }
    }
    // The lines do carry the oscillator signal all the while.
    const GapLine& line = Probe::lineLeft(effect);
    float peak = 0.0f;
    for (int32_t i = 0; i < line.getLength(); ++i)
        peak = std::max(peak, std::fabs(line.data()[i]));
    EXPECT_GT(peak, 0.5f);
}

TEST(TloomHandDerived, ZeroMixGainsSilenceReplacingAndLeaveAccumulatingUntouched) {
    TloomEffect effect(nullptr);
    effect.setSampleRate(2000.0f);
    effect.setProgram(0);
    effect.setParameter(TloomEffect::kLow, 0.0f);
    Signal signal;
    std::vector<float> inL(256), inR(256), outL(256), outR(256);
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    for (int block = 0; block < 8; ++block) {
        for (int i = 0; i < 256; ++i)
            signal.next(inL[i], inR[i]);
        effect.processReplacing(in, out, 256);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(outL[i], 0.0f) << block << " " << i;
        for (int i = 0; i < 256; ++i)
            outL[i] = outR[i] = 0.125f * static_cast<float>(i);
        effect.process(in, out, 256);
        for (int i = 0; i < 256; ++i) {
            ASSERT_EQ(outL[i], 0.125f * static_cast<float>(i));
            ASSERT_EQ(outR[i], 0.125f * static_cast<float>(i));
        }
    }
}

TEST(TloomParameters, FeedbackSpansMinusToPlusPointNineNineAndIsExactlyZeroInTheMiddle) {
    TloomEffect effect(nullptr);
    effect.setParameter(TloomEffect::kLeftFeedback, 0.5f);
    effect.setParameter(TloomEffect::kRightFeedback, 0.0f);
    EXPECT_EQ(bitsOf(Probe::feedbackLeft(effect)), bitsOf(0.0f));
    EXPECT_EQ(Probe::feedbackRight(effect), -0.99f);
    effect.setParameter(TloomEffect::kRightFeedback, 1.0f);
    EXPECT_EQ(Probe::feedbackRight(effect), 0.99f);
}

TEST(TloomParameters, ShapeIsTheIntegerPartOfTenTimesTheValueAtMostFour) {
    TloomEffect effect(nullptr);
    const struct {
        float value;
        int32_t shape;
    } cases[] = {{0.0f, 0}, {0.099f, 0}, {0.1f, 1}, {0.199f, 1}, {0.2f, 2},
                 {0.3f, 3}, {0.399f, 3}, {0.4f, 4}, {0.55f, 4},  {1.0f, 4}};
    for (const auto& c : cases) {
        effect.setParameter(TloomEffect::kLeftShape, c.value);
        effect.setParameter(TloomEffect::kRightShape, c.value);
        EXPECT_EQ(Probe::shapeLeft(effect), c.shape) << c.value;
        EXPECT_EQ(Probe::shapeRight(effect), c.shape) << c.value;
        for (int32_t k = 0; k < TloomEffect::kNumShapes; ++k) {
            EXPECT_EQ(Probe::weightsLeft(effect)[k], k == c.shape ? 1.0f : 0.0f);
            EXPECT_EQ(Probe::weightsRight(effect)[k], k == c.shape ? 1.0f : 0.0f);
        }
    }
}

// Frequencies in hertz recovered from the steps: the constants must give the stated ranges.
TEST(TloomParameters, StepsAndCutoffGiveTheStatedFrequencies) {
    TloomEffect effect(nullptr);
    const double rate = 44100.0;
    const double pi = 3.141592653589793;
    auto hertz = [&](const QuadratureOscillator& o) {
        return std::atan2(static_cast<double>(o.stepSin), static_cast<double>(o.stepCos)) * rate /
               (2.0 * pi);
    };
    effect.setParameter(TloomEffect::kLeftGapSpeed, 1.0f);
    EXPECT_NEAR(hertz(Probe::gapSpeedLeft(effect)), 3308.6, 0.2); // (0.3 + 0.0001) x 11025
    effect.setParameter(TloomEffect::kLeftGapSpeed, 0.0f);
    EXPECT_NEAR(hertz(Probe::gapSpeedLeft(effect)), 1.1025, 0.01);
    effect.setParameter(TloomEffect::kRightGapMod, 1.0f);
    EXPECT_NEAR(hertz(Probe::gapModRight(effect)), 11.04, 0.01);
    effect.setParameter(TloomEffect::kRightGapMod, 0.0f);
    EXPECT_NEAR(hertz(Probe::gapModRight(effect)), 0.011, 0.001);

    // Cutoff: 2 sin(pi f / rate) with f from 220.5 Hz to 10804.5 Hz.
    auto corner = [&](float coeff) { return std::asin(coeff / 2.0) * rate / pi; };
    effect.setParameter(TloomEffect::kCutoff, 0.0f);
    EXPECT_NEAR(corner(Probe::filterLeft(effect).cutoffCoeff), 220.5, 0.01);
    effect.setParameter(TloomEffect::kCutoff, 1.0f);
    EXPECT_NEAR(corner(Probe::filterRight(effect).cutoffCoeff), 10804.5, 0.05);

    effect.setParameter(TloomEffect::kRez, 0.0f);
    EXPECT_EQ(Probe::filterLeft(effect).damping, 0.65f);
    effect.setParameter(TloomEffect::kRez, 1.0f);
    EXPECT_EQ(Probe::filterRight(effect).damping, 0.15f);
}

// v = 0.183: v^4 = 0.0011215132 (float), 0.48 x that + 0.01 = 0.0105383266, and at 44100 Hz
// 2 sin(3.1415926 x 0.0105383266 x 22050 / 44100) rounds to 0x3d0799c1. Multiplying 0.48 in
// first, (((0.48 v) v) v) v + 0.01 = 0.0105383256, would give 0x3d0799c0.
TEST(TloomParameters, CutoffTakesTheFourthPowerBeforeTheProduct) {
    TloomEffect effect(nullptr);
    effect.setParameter(TloomEffect::kCutoff, 0.183f);
    EXPECT_EQ(bitsOf(Probe::filterLeft(effect).cutoffCoeff), 0x3d0799c1u);
    EXPECT_EQ(bitsOf(Probe::filterRight(effect).cutoffCoeff), 0x3d0799c1u);
}

// 100 x the stored value in single precision, truncated: the defaults 0.35 and 0.45 (stored
// just below) read 35 and 45, the left feedback (-0.495) reads -49.
TEST(TloomParameters, PercentTextsFormTheProductInSinglePrecision) {
    TloomEffect effect(nullptr);
    const struct {
        int32_t index;
        const char* text;
    } cases[] = {{TloomEffect::kRightGapSpeed, "     35"},
                 {TloomEffect::kRightGapMod, "     45"},
                 {TloomEffect::kLeftFeedback, "    -49"},
                 {TloomEffect::kRightFeedback, "      9"}};
    for (const auto& c : cases) {
        char text[16];
        effect.getParamDisplay(c.index, text);
        EXPECT_STREQ(text, c.text) << c.index;
    }
}

TEST(TloomParameters, SpeedAdjustScalesTheGapSpeedStoredForItsSide) {
    TloomEffect effect(nullptr);
    effect.setParameter(TloomEffect::kLeftGapSpeed, 1.0f);
    const float fullSin = Probe::gapSpeedLeft(effect).stepSin;
    effect.setParameter(TloomEffect::kLeftSpeedAdjust, 0.0f);
    EXPECT_EQ(Probe::speedAdjustLeft(effect), static_cast<float>(0.001));
    // The step is recomputed from the stored gap speed: a thousandth of the angle.
    EXPECT_NEAR(Probe::gapSpeedLeft(effect).stepSin / std::asin(fullSin) * 1000.0, 1.0, 1e-3);
    // The right side is untouched and, after construction, at full speed.
    EXPECT_EQ(Probe::speedAdjustRight(effect), 1.0f);
}

TEST(TloomParameters, GainsFollowTheirValues) {
    TloomEffect effect(nullptr);
    effect.setParameter(TloomEffect::kLow, 0.3f);
    effect.setParameter(TloomEffect::kBand, 0.6f);
    effect.setParameter(TloomEffect::kHigh, 0.9f);
    EXPECT_EQ(Probe::lowGain(effect), 0.3f);
    EXPECT_EQ(Probe::bandGain(effect), 0.6f);
    EXPECT_EQ(Probe::highGain(effect), 0.9f);
}

// A rate change resizes and clears the lines, keeps the phases, and retunes the oscillators
// and the filter corner: a fresh effect set to 48000 Hz sounds exactly like a twin that was
// also sent every parameter again (as some hosts do, and others do not).
TEST(TloomSampleRate, ChangeResizesClearsAndRetunesToTheCurrentProgram) {
    TloomEffect effect(nullptr), resent(nullptr);
    EXPECT_EQ(Probe::lineLeft(effect).getLength(), 4410);
    std::vector<float> in(700, 0.5f), outL(700), outR(700), twinL(700), twinR(700);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {outL.data(), outR.data()};
    float* twinOuts[2] = {twinL.data(), twinR.data()};
    effect.processReplacing(ins, outs, 700);
    resent.processReplacing(ins, twinOuts, 700);
    const QuadratureOscillator before = Probe::gapSpeedLeft(effect);

    for (TloomEffect* each : {&effect, &resent})
        each->setSampleRate(48000.0f);
    for (int32_t i = 0; i < TloomEffect::kNumParams; ++i)
        resent.setParameter(i, resent.getParameter(i));
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(Probe::invSampleRate(effect), 1.0f / 48000.0f);
    for (const GapLine* line : {&Probe::lineLeft(effect), &Probe::lineRight(effect)}) {
        EXPECT_EQ(line->getLength(), 4800);
        EXPECT_EQ(line->getWriteIndex(), 0);
        for (int32_t i = 0; i < line->getLength(); ++i)
            ASSERT_EQ(line->data()[i], 0.0f);
    }
    EXPECT_EQ(Probe::gapSpeedLeft(effect).oscCos, before.oscCos) << "phases are kept";
    for (int block = 0; block < 20; ++block) {
        for (size_t i = 0; i < in.size(); ++i)
            in[i] = static_cast<float>(std::sin(0.01 * static_cast<double>(block * 700 + i)));
        effect.processReplacing(ins, outs, 700);
        resent.processReplacing(ins, twinOuts, 700);
        ASSERT_EQ(outL, twinL) << block;
        ASSERT_EQ(outR, twinR) << block;
    }
}

} // namespace
