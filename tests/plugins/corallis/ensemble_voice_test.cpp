// One ensemble voice and its shared context: rate-dependent sizes, value mapping, the sweep
// triangle, the interpolated read, crossed feedback and the shared random generator.
#include "plugins/corallis/ensemble_voice.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A voice with lines for the context's length, sweeps restarted.
struct VoiceRig {
    EnsembleContext context;
    EnsembleVoice voice;

    explicit VoiceRig(float rate) {
        EXPECT_TRUE(context.setRate(rate));
        const auto length = static_cast<size_t>(context.lineLength);
        voice.installLines(std::make_unique<float[]>(length), std::make_unique<float[]>(length),
                           context.lineLength);
    }
    void configure(Side side, float delay, float depth, float speed) {
        voice.setDelay(side, delay, context);
        voice.setDepth(side, depth, context);
        voice.setSpeed(side, speed, context);
    }
    StereoSample run(float inLeft, float inRight) {
        return voice.processSample(inLeft, inRight, context.lineLength, context.random);
    }
};

TEST(EnsembleContext, SizesFollowTheRate) {
    EnsembleContext c;
    ASSERT_TRUE(c.setRate(44100.0f));
    EXPECT_EQ(c.span, 2205.0f);
    EXPECT_EQ(c.lineLength, 4410);
    EXPECT_EQ(c.speedScale, 441.0f);
    ASSERT_TRUE(c.setRate(48000.0f));
    EXPECT_EQ(c.lineLength, 4800);
    ASSERT_TRUE(c.setRate(22050.0f));
    EXPECT_EQ(c.span, 1102.5f);
    EXPECT_EQ(c.lineLength, 2205);
    ASSERT_TRUE(c.setRate(1410000.0f));
    EXPECT_EQ(c.lineLength, 141000);
    EXPECT_EQ(c.speedScale, 14100.0f);
}

TEST(EnsembleContext, LowRatesKeepLinesLongEnoughAndAbsurdRatesAreRefused) {
    EnsembleContext c;
    for (float rate : {1.0f, 5.0f, 9.0f, 10.0f, 19.0f}) {
        ASSERT_TRUE(c.setRate(rate)) << rate;
        EXPECT_EQ(c.lineLength, EnsembleContext::kMinLineLength) << rate;
    }
    ASSERT_TRUE(c.setRate(20.0f));
    EXPECT_EQ(c.lineLength, 2);
    ASSERT_TRUE(c.setRate(44100.0f));
    for (float rate : {0.0f, -44100.0f, 1.0e9f, 3.0e38f, INFINITY, NAN}) {
        EXPECT_FALSE(c.setRate(rate)) << rate;
        EXPECT_EQ(c.lineLength, 4410) << rate;
        EXPECT_EQ(c.span, 2205.0f) << rate;
    }
}

TEST(EnsembleRandom, FirstDrawsFromTheInitialState) {
    EnsembleRandom random;
    EXPECT_EQ(random.value(), 1000);
    const uint16_t expected[] = {27433, 35186, 65283, 44572};
    for (uint16_t state : expected) {
        EXPECT_EQ(random.next(), static_cast<float>(state) / 65536.0f);
        EXPECT_EQ(random.value(), state);
    }
}

TEST(SweptDelayLine, ValueMappingAt44100) {
    // trunc(2204 v) + 1 from 1 sample up to span.
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, 0.0f), 1);
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, 0.25f), 552);
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, 0.75f * 0.75f), 1240);
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, 1.0f), 2205);
    EXPECT_EQ(SweptDelayLine::samplesForValue(1102.5f, 1.0f), 1102);
    // Out-of-range values are clamped; NaN counts as 0.
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, 7.0f), 2205);
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, -3.0f), 1);
    EXPECT_EQ(SweptDelayLine::samplesForValue(2205.0f, NAN), 1);
    // A span below one sample still gives one sample.
    EXPECT_EQ(SweptDelayLine::samplesForValue(0.05f, 1.0f), 1);

    // trunc(441 / (v + 0.0001)): 0.04 (Speed1 0.2 squared) and ten times that.
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, 0.2f * 0.2f), 10997);
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, 0.2f * 0.2f * 10.0f), 1102);
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, 0.0f), 4410000);
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, 10.0f), 44);
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, NAN), 4410000);
    EXPECT_EQ(SweptDelayLine::periodForSpeed(441.0f, INFINITY), 44);
    // At 1 Hz the quotient falls below one sample; the sweep still steps every sample.
    EXPECT_EQ(SweptDelayLine::periodForSpeed(0.01f, 10.0f), 1);
}

// At 80 Hz: span 4, lines of 8 samples, speedScale 0.8. Delay and depth value 0 give one
// sample each; speed 0.3 gives trunc(0.8 / 0.3001) = 2 samples per step, inverse 0.5.
// Left impulse, no feedback into the left line, half the left output into the right line.
TEST(EnsembleVoice, HandTracedImpulseThroughBothSides) {
    VoiceRig rig(80.0f);
    ASSERT_EQ(rig.context.lineLength, 8);
    rig.configure(Side::Left, 0.0f, 0.0f, 0.3f);
    rig.configure(Side::Right, 0.0f, 0.0f, 0.3f);
    ASSERT_EQ(rig.voice.line(Side::Left).getStepPeriod(), 2);
    ASSERT_EQ(rig.voice.line(Side::Left).getInversePeriod(), 0.5f);
    rig.voice.setFeedback(Side::Left, 0.0f);
    rig.voice.setFeedback(Side::Right, 0.5f);
    rig.voice.reset(true, rig.context.lineLength);

    const float offset = 1.0e-24f;
    // Left: delay 1 rising; the impulse (stored as 1 + 1e-24 = 1) is read at full weight at
    // frame 2 after half weight at frame 1 (fraction 0.5), then the delay falls back to 1 and
    // the line holds only the alternating offsets.
    // Right: starts at delay 2 falling; it reads the offsets first, then the left output
    // scaled by 0.5: 0.25 at frame 2, halfway between 0.25 and 0.5 at frame 3, 0.5 at frame 4.
    const float expectLeft[] = {0.0f, 0.5f, 1.0f, 0.0f, -offset};
    const float expectRight[] = {0.0f, -offset * 0.5f, 0.25f, 0.375f, 0.5f};
    const uint16_t expectRandom[] = {1000, 27433, 27433, 35186, 35186};
    for (int n = 0; n < 5; ++n) {
        const StereoSample out = rig.run(n == 0 ? 1.0f : 0.0f, 0.0f);
        EXPECT_EQ(out.left, expectLeft[n]) << n;
        EXPECT_EQ(out.right, expectRight[n]) << n;
        // The right side reaches its bottom at frame 1, the left at frame 3.
        EXPECT_EQ(rig.context.random.value(), expectRandom[n]) << n;
    }
    EXPECT_EQ(rig.voice.getDenormalOffset(), -offset);
}

TEST(EnsembleVoice, ResetStartsTheSidesAtOppositeEndsAndSuspendKeepsTheSweep) {
    VoiceRig rig(44100.0f);
    rig.configure(Side::Left, 0.25f, 0.5625f, 0.4f);
    rig.configure(Side::Right, 0.15f, 0.3025f, 0.9f);
    rig.voice.reset(true, rig.context.lineLength);
    const SweptDelayLine& left = rig.voice.line(Side::Left);
    const SweptDelayLine& right = rig.voice.line(Side::Right);
    EXPECT_EQ(left.getSweepPosition(), 0);
    EXPECT_EQ(left.getDirection(), 1);
    EXPECT_EQ(left.getDelay(), 552);
    EXPECT_EQ(left.getDepthTarget(), 1240);
    EXPECT_EQ(left.getCountdown(), 1102);
    EXPECT_EQ(right.getSweepPosition(), right.getDepth());
    EXPECT_EQ(right.getDirection(), -1);
    EXPECT_EQ(right.getDelay(), right.getBaseDelay() + right.getDepth());

    for (int n = 0; n < 3000; ++n)
        rig.run(0.5f, -0.5f);
    const int32_t position = left.getSweepPosition();
    const int32_t writePosition = left.getWritePosition();
    EXPECT_GT(position, 0);
    rig.voice.reset(false, rig.context.lineLength);
    EXPECT_EQ(left.getSweepPosition(), position);
    EXPECT_EQ(left.getWritePosition(), writePosition);
    for (int i = 0; i < rig.context.lineLength; ++i) {
        ASSERT_EQ(left.lineData()[i], 0.0f);
        ASSERT_EQ(right.lineData()[i], 0.0f);
    }
}

// Depth 100 samples at 2000 Hz (span 100), one step per sample.
TEST(EnsembleVoice, NewDepthWaitsForTheNextBottom) {
    VoiceRig rig(2000.0f);
    rig.configure(Side::Left, 0.0f, 1.0f, 10.0f);
    rig.configure(Side::Right, 0.0f, 1.0f, 10.0f);
    ASSERT_EQ(rig.voice.line(Side::Left).getStepPeriod(), 1);
    rig.voice.reset(true, rig.context.lineLength);
    const SweptDelayLine& left = rig.voice.line(Side::Left);
    for (int n = 0; n < 10; ++n)
        rig.run(0.0f, 0.0f);
    EXPECT_EQ(left.getSweepPosition(), 10);
    rig.voice.setDepth(Side::Left, 0.0f, rig.context); // depth 1 from the next bottom on
    int32_t highest = 0;
    for (int n = 0; n < 200; ++n) {
        rig.run(0.0f, 0.0f);
        highest = std::max(highest, left.getSweepPosition());
    }
    // The rising sweep still went to the old top, then the triangles shrank to one sample.
    EXPECT_EQ(highest, 100);
    EXPECT_LE(left.getSweepPosition(), 1);
    EXPECT_EQ(left.getDepthTarget(), 1);
}

// Left depth 1 (a bottom every second step), right depth 100 falling from the top: both reach
// the bottom at frame 99, where the left side draws before the right one.
TEST(EnsembleVoice, DrawsAreTakenLeftFirstAndSetTheTriangleTop) {
    VoiceRig rig(2000.0f);
    rig.configure(Side::Left, 0.0f, 0.0f, 10.0f);
    rig.configure(Side::Right, 0.0f, 1.0f, 10.0f);
    rig.voice.setRandomAmount(1.0f);
    rig.voice.reset(true, rig.context.lineLength);
    for (int n = 0; n < 100; ++n)
        rig.run(0.0f, 0.0f);

    // 50 draws by the left side (frames 1, 3, ..., 99), then the right side's: the 51st.
    EnsembleRandom replay;
    float r = 0.0f;
    for (int i = 0; i < 51; ++i)
        r = replay.next();
    EXPECT_EQ(rig.context.random.value(), replay.value());
    EXPECT_EQ(rig.voice.line(Side::Right).getDepthTarget(),
              static_cast<int32_t>(100.0f * (1.0f - r * 1.0f * 0.9f)));
    EXPECT_EQ(rig.voice.line(Side::Right).getDirection(), 1);

    // With no random amount every triangle reaches the full depth.
    rig.voice.setRandomAmount(0.0f);
    for (int n = 0; n < 400; ++n)
        rig.run(0.0f, 0.0f);
    EXPECT_EQ(rig.voice.line(Side::Right).getDepthTarget(), 100);
}

// The processing loop relies on this prediction to keep the order of random draws.
TEST(SweepCursor, PredictsTheFrameOfTheNextDraw) {
    EnsembleRandom random;
    for (int32_t period = 1; period <= 4; ++period)
        for (int32_t depth = 1; depth <= 5; ++depth)
            for (int32_t start = 0; start < 40; start += 3) {
                SweepCursor c;
                c.stepPeriod = period;
                c.depth = depth;
                c.countdown = period;
                c.depthTarget = depth;
                if (start % 2) c.direction = -1, c.sweepPosition = depth;
                // Run into the middle of a triangle, then check several draws in a row.
                for (int32_t n = 0; n < start; ++n)
                    if (c.tick()) c.step(random, 1.0f);
                for (int draw = 0; draw < 4; ++draw) {
                    const int64_t predicted = c.framesUntilDraw();
                    int64_t frame = 0;
                    for (;; ++frame) {
                        const uint16_t before = random.value();
                        if (c.tick()) c.step(random, 1.0f);
                        if (random.value() != before) break;
                        ASSERT_LT(frame, 1000);
                    }
                    ASSERT_EQ(frame, predicted) << period << " " << depth << " " << start;
                }
            }
}

TEST(EnsembleVoice, NonFiniteInputNeverEntersTheLines) {
    VoiceRig rig(2000.0f);
    rig.configure(Side::Left, 0.1f, 0.1f, 1.0f);
    rig.configure(Side::Right, 0.2f, 0.1f, 1.0f);
    rig.voice.setFeedback(Side::Left, -1.0f);
    rig.voice.setFeedback(Side::Right, -1.0f);
    rig.voice.reset(true, rig.context.lineLength);
    rig.run(NAN, INFINITY);
    rig.run(-INFINITY, NAN);
    for (int n = 0; n < 1000; ++n) {
        const StereoSample out = rig.run(0.25f, -0.25f);
        ASSERT_TRUE(std::isfinite(out.left) && std::isfinite(out.right)) << n;
    }
    for (int i = 0; i < rig.context.lineLength; ++i) {
        ASSERT_TRUE(std::isfinite(rig.voice.line(Side::Left).lineData()[i]));
        ASSERT_TRUE(std::isfinite(rig.voice.line(Side::Right).lineData()[i]));
    }
}

} // namespace
