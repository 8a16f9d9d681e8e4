// The phaser's arithmetic: exact first frames, the dry path, the silent-input bound, program and
// sample-rate changes and the oscillator's long-run amplitude.
#include "plugins/swirlet/swirlet_effect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Block {
    explicit Block(size_t frames, float left = 0.0f, float right = 0.0f)
        : inL(frames, left), inR(frames, right), outL(frames, 0.0f), outR(frames, 0.0f) {}
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {nullptr, nullptr};
    float* out[2] = {nullptr, nullptr};
    float** inputs() {
        in[0] = inL.data();
        in[1] = inR.data();
        return in;
    }
    float** outputs() {
        out[0] = outL.data();
        out[1] = outR.data();
        return out;
    }
    int32_t frames() const { return static_cast<int32_t>(inL.size()); }
};

void replace(SwirletEffect& effect, Block& block) {
    effect.processReplacing(block.inputs(), block.outputs(), block.frames());
}

// A coefficient as the effect derives it for a fresh oscillator after one step.
float firstCoefficient(float stepComponent) {
    return -0.5f - 0.4f * std::fabs(stepComponent);
}

TEST(SwirletArithmetic, FirstFrameAfterResetIsTheSixfoldCoefficient) {
    SwirletEffect effect(nullptr);
    effect.setParameter(SwirletEffect::kDepthL, 1.0f);
    effect.setParameter(SwirletEffect::kDepthR, 1.0f);
    Block block(1, 1.0f, 1.0f);
    replace(effect, block);
    // Left: x = 1 (the 1e-24 offset vanishes next to 1); each stage gives a * x from empty memory.
    const float aL = firstCoefficient(effect.channel(0).stepCos);
    float y = 1.0f;
    for (int i = 0; i < 6; ++i)
        y = aL * y;
    EXPECT_EQ(block.outL[0], 0.5f * (1.0f + y));
    // Right follows the sine component, which is tiny after one step: a is just below -0.5.
    const float sinAfterOneStep = effect.channel(1).stepSin;
    const float aR = firstCoefficient(sinAfterOneStep);
    float yR = 1.0f;
    for (int i = 0; i < 6; ++i)
        yR = aR * yR;
    EXPECT_EQ(block.outR[0], 0.5f * (1.0f + yR));
    EXPECT_LT(aL, -0.899f);
    EXPECT_GT(aR, -0.5001f);
}

TEST(SwirletArithmetic, SecondFrameFollowsTheStageRecursion) {
    SwirletEffect effect(nullptr);
    effect.setParameter(SwirletEffect::kDepthL, 1.0f);
    effect.setParameter(SwirletEffect::kFeedbackL, 0.0f);
    Block block(2, 0.0f, 0.0f);
    block.inL[0] = 1.0f;
    replace(effect, block);
    const PhaserChannel& left = effect.channel(0);
    const float c1 = left.stepCos;
    const float s1 = left.stepSin;
    const float c2 = c1 * left.stepCos - s1 * left.stepSin;
    const float a1 = firstCoefficient(c1);
    const float a2 = -0.5f - 0.4f * std::fabs(c2);
    // Frame 1 memories: in_k = a1^(k-1), out_k = a1^k. Frame 2 input: the offset alone.
    float previousIn[6], previousOut[6];
    float v = 1.0f;
    for (int k = 0; k < 6; ++k) {
        previousIn[k] = v;
        v = a1 * v;
        previousOut[k] = v;
    }
    float x = 1e-24f;
    for (int k = 0; k < 6; ++k)
        x = a2 * (x - previousOut[k]) + previousIn[k];
    EXPECT_EQ(block.outL[1], 0.5f * (0.0f + 1.0f * x));
}

TEST(SwirletArithmetic, DepthZeroGivesExactlyHalfTheInput) {
    SwirletEffect effect(nullptr);
    effect.setParameter(SwirletEffect::kDepthL, 0.0f);
    effect.setParameter(SwirletEffect::kDepthR, 0.0f);
    effect.setParameter(SwirletEffect::kFeedbackL, 1.0f);
    effect.setParameter(SwirletEffect::kCross, 0.0f);
    Block block(4096);
    for (size_t i = 0; i < 4096; ++i) {
        block.inL[i] = std::sin(0.01f * static_cast<float>(i)) * 0.9f;
        block.inR[i] = std::cos(0.037f * static_cast<float>(i)) * 0.7f;
    }
    replace(effect, block);
    for (size_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(block.outL[i], 0.5f * block.inL[i]) << i;
        ASSERT_EQ(block.outR[i], 0.5f * block.inR[i]) << i;
    }
}

TEST(SwirletArithmetic, SilentInputStaysBelowTheOffsetBound) {
    SwirletEffect effect(nullptr);
    for (int32_t i = 0; i < SwirletEffect::kNumParams; ++i)
        effect.setParameter(i, 1.0f);
    Block block(48000);
    replace(effect, block);
    for (size_t i = 0; i < 48000; ++i) {
        ASSERT_LT(std::fabs(block.outL[i]), 1e-23f) << i;
        ASSERT_LT(std::fabs(block.outR[i]), 1e-23f) << i;
    }
    EXPECT_NE(block.outL.back(), 0.0f); // the offset really runs through the chain
}

TEST(SwirletArithmetic, CrossAtHalfKeepsTheSidesIndependent) {
    SwirletEffect effect(nullptr);
    EXPECT_EQ(effect.crossGain(), 0.0f);
    effect.setParameter(SwirletEffect::kDepthL, 1.0f);
    Block block(2048, 0.0f, 0.8f);
    replace(effect, block);
    for (float sample : block.outL)
        ASSERT_LT(std::fabs(sample), 1e-23f);
    effect.setParameter(SwirletEffect::kCross, 0.0f);
    EXPECT_FLOAT_EQ(effect.crossGain(), 0.9f);
    effect.setParameter(SwirletEffect::kCross, 1.0f);
    EXPECT_FLOAT_EQ(effect.crossGain(), -0.9f);
}

TEST(SwirletParameters, InternalValuesAtTheEnds) {
    SwirletEffect effect(nullptr);
    effect.setParameter(SwirletEffect::kFeedbackL, 1.0f);
    EXPECT_EQ(effect.channel(0).feedback, 0.8f);
    effect.setParameter(SwirletEffect::kRateL, 0.0f);
    effect.setParameter(SwirletEffect::kRateR, 1.0f);
    const double slow = 2.0 * M_PI * 0.05 / 44100.0;
    const double fast = 2.0 * M_PI * 0.5 / 44100.0;
    EXPECT_NEAR(std::asin(static_cast<double>(effect.channel(0).stepSin)), slow, 1e-9);
    EXPECT_NEAR(std::asin(static_cast<double>(effect.channel(1).stepSin)), fast, 1e-9);
    // An index outside 0..6 changes nothing at all.
    const PhaserChannel before = effect.channel(0);
    effect.setParameter(7, 0.3f);
    effect.setParameter(-1, 0.3f);
    EXPECT_EQ(effect.channel(0).feedback, before.feedback);
    EXPECT_EQ(effect.getParameter(7), 0.0f);
}

TEST(SwirletPrograms, ChangeRestartsBothSweeps) {
    SwirletEffect fresh(nullptr);
    SwirletEffect used(nullptr);
    Block noise(10000);
    for (size_t i = 0; i < 10000; ++i)
        noise.inL[i] = noise.inR[i] = (i % 7) * 0.1f - 0.3f;
    replace(used, noise);
    used.setProgram(5);
    // Program 5 holds the same defaults, so after the reset both must produce identical audio.
    Block a(512, 0.25f, -0.5f), b(512, 0.25f, -0.5f);
    replace(fresh, a);
    replace(used, b);
    EXPECT_EQ(a.outL, b.outL);
    EXPECT_EQ(a.outR, b.outR);
    EXPECT_EQ(used.getProgram(), 5);
    EXPECT_EQ(used.channel(0).stages[5].stageOut, fresh.channel(0).stages[5].stageOut);
}

TEST(SwirletSampleRate, KeepsHertzAndTheChains) {
    SwirletEffect effect(nullptr);
    Block block(256, 0.5f, 0.5f);
    replace(effect, block);
    const float memory = effect.channel(0).stages[2].stageOut;
    effect.setSampleRate(88200.0f);
    EXPECT_EQ(effect.channel(0).stages[2].stageOut, memory);
    EXPECT_EQ(effect.getSampleRate(), 88200.0f);
    const double w = 2.0 * M_PI * 0.275 / 88200.0;
    EXPECT_NEAR(std::asin(static_cast<double>(effect.channel(0).stepSin)), w, 1e-9);
    EXPECT_NEAR(std::asin(static_cast<double>(effect.channel(1).stepSin)), w, 1e-9);
}

TEST(SwirletOscillator, StaysOnTheUnitCircleOverLongRuns) {
    SwirletEffect effect(nullptr);
    effect.setParameter(SwirletEffect::kRateL, 1.0f);
    Block block(64);
    for (int i = 0; i < 44100 * 600 / 64; ++i)
        replace(effect, block); // ten minutes
    for (int side = 0; side < 2; ++side) {
        const PhaserChannel& c = effect.channel(side);
        EXPECT_NEAR(c.oscCos * c.oscCos + c.oscSin * c.oscSin, 1.0f, 2e-6f) << side;
    }
}

TEST(SwirletProcessing, AddingAndReplacingGiveTheSameSamples) {
    SwirletEffect adding(nullptr), replacing(nullptr);
    Block a(300), b(300);
    for (size_t i = 0; i < 300; ++i) {
        a.inL[i] = b.inL[i] = std::sin(0.05f * static_cast<float>(i));
        a.inR[i] = b.inR[i] = std::sin(0.11f * static_cast<float>(i));
        a.outL[i] = 1.0f;
        a.outR[i] = -2.0f;
        b.outL[i] = 123.0f;
    }
    adding.process(a.inputs(), a.outputs(), 300);
    replace(replacing, b);
    for (size_t i = 0; i < 300; ++i) {
        ASSERT_EQ(a.outL[i], 1.0f + b.outL[i]) << i;
        ASSERT_EQ(a.outR[i], -2.0f + b.outR[i]) << i;
    }
}

// One NaN or infinity in the input (after half a second of noise, both entries, full feedback
// and cross-feed) restarts the chain it reached from silence: the output stays finite and the
// next block is ordinary audio again, with every stage memory finite.
TEST(SwirletNonFiniteInput, TheChainRestartsFromSilenceAndNothingStaysPoisoned) {
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        SwirletEffect effect(nullptr);
        effect.setParameter(SwirletEffect::kFeedbackL, 1.0f);
        effect.setParameter(SwirletEffect::kFeedbackR, 1.0f);
        effect.setParameter(SwirletEffect::kCross, 0.0f);
        AEffect* record = effect.getAeffect();
        Block block(512);
        uint32_t noise = 1;
        auto fill = [&] {
            for (size_t i = 0; i < 512; ++i) {
                noise = noise * 1664525u + 1013904223u;
                block.inL[i] = static_cast<float>(noise >> 9) / 4194304.0f - 1.0f;
                block.inR[i] = -0.5f * block.inL[i];
            }
        };
        for (int n = 0; n < 43; ++n) {
            fill();
            record->processReplacing(record, block.inputs(), block.outputs(), 512);
        }
        fill();
        block.inL[137] = bad;
        record->process(record, block.inputs(), block.outputs(), 512);
        for (int n = 0; n < 3; ++n) {
            for (size_t i = 0; i < 512; ++i) {
                ASSERT_TRUE(std::isfinite(block.outL[i]) && std::isfinite(block.outR[i]))
                    << bad << " block " << n << " frame " << i;
                if (n > 0) {
                    ASSERT_LT(std::fabs(block.outL[i]) + std::fabs(block.outR[i]), 20.0f);
                }
            }
            for (int side = 0; side < 2; ++side)
                for (const auto& stage : effect.channel(side).stages)
                    ASSERT_TRUE(std::isfinite(stage.stageIn) && std::isfinite(stage.stageOut));
            fill();
            record->processReplacing(record, block.inputs(), block.outputs(), 512);
        }
    }
}

} // namespace
