// The building blocks of tloom: the gap line's fractional read and wrapping, the oscillator's
// rotation and renormalisation, and the filter's recovery from overflow.
#include "plugins/tloom/gap_line.h"
#include "plugins/tloom/quadrature_oscillator.h"
#include "plugins/tloom/tloom_filter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

// A line of `length` samples holding 1, 2, 3, ... with the write position at `writeAt`.
GapLine rampLine(int32_t length, int32_t writeAt) {
    GapLine line;
    line.adopt(GapLine::allocateSamples(length), length);
    for (int32_t i = 0; i < length; ++i)
        line.write(static_cast<float>(i + 1));
    for (int32_t i = 0; i < writeAt; ++i)
        line.write(static_cast<float>(i + 1));
    return line;
}

TEST(GapLineRead, InterpolatesLinearlyBetweenNeighbours) {
    GapLine line = rampLine(8, 0);
    EXPECT_EQ(line.read(2.0f), 3.0f);
    EXPECT_EQ(line.read(2.25f), 3.25f);
    EXPECT_EQ(line.read(6.5f), 7.5f);
}

TEST(GapLineRead, WrapsNegativePositionsAndTheLastNeighbourOnce) {
    GapLine line = rampLine(8, 0);
    EXPECT_EQ(line.read(-1.0f), 8.0f);          // i = -1 -> 7
    EXPECT_EQ(line.read(-0.5f), 8.0f - 3.5f);   // between s[7] = 8 and s[0] = 1
    EXPECT_EQ(line.read(-7.75f), 1.0f + 0.25f); // floor -8 -> 0, frac 0.25
    EXPECT_EQ(line.read(7.5f), 4.5f);           // j = 8 wraps to 0
    EXPECT_EQ(line.read(8.0f), 1.0f);           // i = 8 wraps to 0
}

TEST(GapLineRead, StandingModulatorReadsNinetyNinePercentBehindTheWritePosition) {
    // An oscillator at (1, 0): position = writeIndex - length x (2 x 0.495).
    GapLine line = rampLine(100, 30);
    ASSERT_EQ(line.getWriteIndex(), 30);
    const float position = 30.0f - 100.0f * ((1.0f + 1.0f) * 0.495f);
    EXPECT_EQ(line.read(position), 32.0f); // 99 behind 30 is 31 (holding 32)
}

TEST(GapLineRead, RunawayPositionsStayInsideTheLine) {
    GapLine line = rampLine(16, 3);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float p : {nan, inf, -inf, 1e30f, -1e30f, 17.5f, -40.0f}) {
        const float value = line.read(p);
        EXPECT_TRUE(value >= 1.0f && value <= 16.0f) << p << " gave " << value;
    }
}

TEST(GapLineLength, TenthOfTheRateAtLeastOneSampleAndCapped) {
    EXPECT_EQ(GapLine::lengthForRate(44100.0f), 4410);
    EXPECT_EQ(GapLine::lengthForRate(48000.0f), 4800);
    EXPECT_EQ(GapLine::lengthForRate(1410000.0f), 141000);
    EXPECT_EQ(GapLine::lengthForRate(25.0f), 2);
    for (float low : {9.0f, 5.0f, 1.0f, 1e-30f, 0.0f, -3.0f, std::nanf("")})
        EXPECT_EQ(GapLine::lengthForRate(low), 1) << low;
    EXPECT_EQ(GapLine::lengthForRate(1e30f), GapLine::kMaxLength);
    EXPECT_EQ(GapLine::lengthForRate(std::numeric_limits<float>::infinity()), GapLine::kMaxLength);
}

TEST(GapLineLength, SingleSampleLineReadsItsOnlySample) {
    GapLine line;
    line.adopt(GapLine::allocateSamples(1), 1);
    line.write(0.75f);
    for (float p : {0.0f, -0.3f, -0.99f, 0.5f})
        EXPECT_EQ(line.read(p), 0.75f) << p;
}

TEST(GapLineClear, SilencesAndRestartsAtZero) {
    GapLine line = rampLine(5, 2);
    line.clear();
    EXPECT_EQ(line.getWriteIndex(), 0);
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(line.data()[i], 0.0f);
}

TEST(QuadratureOscillatorTest, RotationFollowsTheAngle) {
    QuadratureOscillator osc;
    osc.setStepAngle(0.1);
    for (int i = 0; i < 30; ++i)
        osc.advance();
    EXPECT_NEAR(osc.oscCos, std::cos(3.0), 1e-5);
    EXPECT_NEAR(osc.oscSin, std::sin(3.0), 1e-5);
}

TEST(QuadratureOscillatorTest, NonFiniteAngleStandsStill) {
    QuadratureOscillator osc;
    osc.setStepAngle(std::numeric_limits<double>::infinity());
    EXPECT_EQ(osc.stepCos, 1.0f);
    EXPECT_EQ(osc.stepSin, 0.0f);
}

TEST(QuadratureOscillatorTest, RenormalisationPullsDriftBackWithOneNewtonStep) {
    QuadratureOscillator osc;
    osc.oscCos = 0.6f * 1.001f;
    osc.oscSin = 0.8f * 1.001f;
    EXPECT_TRUE(osc.renormalise());
    const float squared = osc.oscCos * osc.oscCos + osc.oscSin * osc.oscSin;
    EXPECT_NEAR(squared, 1.0f, 1e-5f);
    // Exactly the first-order step k = 1.5 - 0.5 (c^2 + s^2).
    QuadratureOscillator plain;
    plain.oscCos = 0.999f;
    plain.oscSin = 0.0f;
    const float k = 1.5f - 0.5f * (0.999f * 0.999f + 0.0f * 0.0f);
    plain.renormalise();
    EXPECT_EQ(plain.oscCos, 0.999f * k);
}

TEST(QuadratureOscillatorTest, RunawayOrNonFinitePointIsPutBackOnTheCircle) {
    QuadratureOscillator far;
    far.oscCos = 3.0f;
    far.oscSin = 4.0f;
    EXPECT_FALSE(far.renormalise());
    EXPECT_NEAR(far.oscCos, 0.6f, 1e-6f);
    EXPECT_NEAR(far.oscSin, 0.8f, 1e-6f);
    QuadratureOscillator lost;
    lost.oscCos = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(lost.renormalise());
    EXPECT_EQ(lost.oscCos, 1.0f);
    EXPECT_EQ(lost.oscSin, 0.0f);
}

TEST(TloomFilterTest, StepOrderUsesTheNewLowForHigh) {
    TloomFilter f;
    f.cutoffCoeff = 0.5f;
    f.damping = 0.25f;
    f.band = 2.0f;
    f.low = 1.0f;
    f.step(3.0f);
    EXPECT_EQ(f.low, 2.0f);                // 1 + 0.5 x 2
    EXPECT_EQ(f.high, 3.0f - 0.5f - 2.0f); // x - 0.25 x 2 - new low
    EXPECT_EQ(f.band, 2.0f + 0.25f);       // 2 + 0.5 x high
    EXPECT_EQ(f.mix(1.0f, 0.0f, 0.0f), 2.0f);
    EXPECT_EQ(f.mix(0.5f, 2.0f, 4.0f), 1.0f + 4.5f + 2.0f);
}

TEST(TloomFilterTest, OverflowStartsAgainFromSilence) {
    for (float bad : {std::numeric_limits<float>::infinity(), -FLT_MAX,
                      std::numeric_limits<float>::quiet_NaN()}) {
        TloomFilter f;
        f.cutoffCoeff = 1.9f;
        f.damping = 0.65f;
        f.band = FLT_MAX;
        f.step(bad);
        EXPECT_EQ(f.low, 0.0f);
        EXPECT_EQ(f.band, 0.0f);
        EXPECT_EQ(f.high, 0.0f);
        f.step(1.0f);
        EXPECT_EQ(f.high, 1.0f);
    }
}

} // namespace
