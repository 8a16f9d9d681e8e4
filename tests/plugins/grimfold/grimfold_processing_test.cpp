// grimfold's audio: exact samples against the plain model and hand-derived values, the
// anti-alias mode, suspend, accumulate versus replace, and recovery from overflow.
#include "plugins/grimfold/grimfold_effect.h"
#include "tests/plugins/grimfold/grimfold_reference.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr float kIdentity[11] = {0.5f, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0, 0};

struct Block {
    explicit Block(size_t frames, float fill = 0.0f)
        : inL(frames), inR(frames), outL(frames, fill), outR(frames, fill) {}
    std::vector<float> inL, inR, outL, outR;
    float* in[2] = {inL.data(), inR.data()};
    float* out[2] = {outL.data(), outR.data()};
    int32_t frames() const { return static_cast<int32_t>(inL.size()); }
};

void apply(GrimfoldEffect& effect, const float (&values)[11]) {
    for (int32_t i = 0; i < 11; ++i)
        effect.setParameter(i, values[i]);
}

// Output of one channel for a constant input, after `frames` frames.
float settle(GrimfoldEffect& effect, float input, int32_t frames) {
    Block block(static_cast<size_t>(frames));
    std::fill(block.inL.begin(), block.inL.end(), input);
    std::fill(block.inR.begin(), block.inR.end(), input);
    effect.processReplacing(block.in, block.out, frames);
    return block.outL.back();
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (std::bit_cast<uint32_t>(a[i]) != std::bit_cast<uint32_t>(b[i])) return false;
    return true;
}

// Varied blocks with new settings before each: every sample must equal the plain model's.
// mode 0: Oversample off, 1: on, 2: switched at random between blocks.
void compareWithModel(int mode, bool accumulate) {
    GrimfoldEffect effect(nullptr);
    ReferenceGrimfold model;
    uint32_t noise = 12345u + static_cast<uint32_t>(mode);
    auto random = [&noise] {
        noise = noise * 1664525u + 1013904223u;
        return static_cast<float>(noise >> 8) / 16777216.0f;
    };
    int64_t t = 0;
    for (int32_t frames : {1, 3, 4, 5, 64, 7, 257, 2, 16, 130}) {
        for (int32_t i = 0; i < 10; ++i)
            model.values[i] = random();
        model.values[10] = mode == 2 ? random() : static_cast<float>(mode);
        apply(effect, model.values);
        Block block(static_cast<size_t>(frames), accumulate ? 0.125f : 7.0f);
        for (int32_t i = 0; i < frames; ++i, ++t) {
            block.inL[i] = 0.35f * std::sin(0.031f * t) + 0.1f * (random() - 0.5f);
            block.inR[i] = 0.45f * std::sin(0.17f * t) * random();
        }
        std::vector<float> expectL = block.outL, expectR = block.outR;
        model.process(block.inL.data(), block.inR.data(), expectL.data(), expectR.data(), frames,
                      accumulate);
        if (accumulate)
            effect.process(block.in, block.out, frames);
        else
            effect.processReplacing(block.in, block.out, frames);
        ASSERT_TRUE(sameBits(block.outL, expectL)) << "left, block of " << frames;
        ASSERT_TRUE(sameBits(block.outR, expectR)) << "right, block of " << frames;
    }
}

TEST(GrimfoldExactness, MatchesPlainModelInEveryModeAndBlockSize) {
    for (int mode = 0; mode < 3; ++mode)
        for (bool accumulate : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " accumulate " << accumulate);
            compareWithModel(mode, accumulate);
        }
}

TEST(GrimfoldExactness, IdentitySettingsPassInputBitForBit) {
    GrimfoldEffect effect(nullptr);
    apply(effect, kIdentity);
    const std::vector<float> input = {0.0f, -0.0f, 1e-40f,   -1e-3f, 0.25f, -0.7f,
                                      1.0f, 3.5f,  -1000.0f, 1e9f,   0.1f};
    Block block(input.size());
    block.inL = input;
    for (size_t i = 0; i < input.size(); ++i)
        block.inR[i] = -input[i];
    effect.processReplacing(block.in, block.out, block.frames());
    EXPECT_TRUE(sameBits(block.outL, block.inL));
    EXPECT_TRUE(sameBits(block.outR, block.inR));
}

TEST(GrimfoldExactness, HandDerivedStageValues) {
    GrimfoldEffect effect(nullptr);
    float values[11] = {0.5f, 0.5f, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    apply(effect, values);
    // (1 - 0.25) is exact; 0.75 * 2.598076 rounds once; halving is exact.
    EXPECT_EQ(settle(effect, 0.5f, 1), 0.5f * (0.75f * 2.598076f));
    // Full amount peaks at 1 at x = 1/sqrt(3).
    EXPECT_NEAR(settle(effect, 0.57735026f, 1), 1.0f, 2e-7f);
    effect.setParameter(2, 0.0f);
    effect.setParameter(6, 1.0f); // WS5 alone: x^3
    EXPECT_EQ(settle(effect, 0.5f, 1), 0.125f);
    effect.setParameter(6, 0.0f);
    effect.setParameter(9, 1.0f); // WS8 alone: (3x - x^3) / 2, times post-gain 2 at v = 1
    effect.setParameter(1, 1.0f);
    EXPECT_EQ(settle(effect, 1.0f, 1), 2.0f);
    // Pre-gain 2 and post-gain 0.5 cancel exactly.
    apply(effect, kIdentity);
    effect.setParameter(0, 1.0f);
    effect.setParameter(1, 0.0f);
    EXPECT_EQ(settle(effect, 0.3f, 1), 0.3f);
}

TEST(GrimfoldAntiAlias, DcSettlesToCascadeGainAndHalfRateIsAttenuated) {
    GrimfoldEffect effect(nullptr);
    apply(effect, kIdentity);
    effect.setParameter(GrimfoldEffect::kOversample, 1.0f);
    EXPECT_NEAR(settle(effect, 0.5f, 20000) / 0.5f, 0.991f, 0.0005f);

    effect.suspend();
    Block block(20000);
    for (int32_t i = 0; i < block.frames(); ++i)
        block.inL[i] = block.inR[i] = i % 2 ? -1.0f : 1.0f;
    effect.processReplacing(block.in, block.out, block.frames());
    float peak = 0.0f;
    for (int32_t i = block.frames() - 2000; i < block.frames(); ++i)
        peak = std::fmax(peak, std::fabs(block.outL[i]));
    EXPECT_LT(20.0f * std::log10(peak), -90.0f);
}

bool sameState(const anti_alias::CascadeChannel& a, const anti_alias::CascadeChannel& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(GrimfoldAntiAlias, SwitchKeepsStateAndSuspendClearsIt) {
    GrimfoldEffect effect(nullptr);
    effect.setParameter(GrimfoldEffect::kOversample, 1.0f);
    const float fromCleared = settle(effect, 0.3f, 1);
    settle(effect, 0.3f, 200);
    const anti_alias::CascadeChannel kept = effect.filterState(0);
    // Exactly 0.5 is off; processing then leaves the filter memory alone.
    effect.setParameter(GrimfoldEffect::kOversample, 0.5f);
    EXPECT_FALSE(effect.isOversampling());
    settle(effect, 0.9f, 50);
    EXPECT_TRUE(sameState(effect.filterState(0), kept));
    effect.setParameter(GrimfoldEffect::kOversample, 0.5001f);
    EXPECT_TRUE(effect.isOversampling());
    EXPECT_NE(settle(effect, 0.3f, 1), fromCleared);

    effect.suspend();
    const anti_alias::CascadeChannel cleared{};
    EXPECT_TRUE(sameState(effect.filterState(0), cleared));
    EXPECT_TRUE(sameState(effect.filterState(1), cleared));
    EXPECT_EQ(settle(effect, 0.3f, 1), fromCleared);
}

// Also in place, as hosts often process: outputs that are the inputs give the same samples.
TEST(GrimfoldProcessing, AccumulateAddsWhatReplaceWritesAlsoInPlace) {
    for (float oversample : {0.0f, 1.0f}) {
        GrimfoldEffect adding(nullptr), replacing(nullptr), inPlace(nullptr);
        for (GrimfoldEffect* effect : {&adding, &replacing, &inPlace})
            effect->setParameter(GrimfoldEffect::kOversample, oversample);
        Block sum(37, 0.5f), plain(37, 99.0f), shared(37);
        for (int32_t i = 0; i < 37; ++i)
            sum.inL[i] = sum.inR[i] = plain.inL[i] = plain.inR[i] = shared.inL[i] = shared.inR[i] =
                0.4f * std::sin(0.2f * i);
        adding.process(sum.in, sum.out, 37);
        replacing.processReplacing(plain.in, plain.out, 37);
        inPlace.processReplacing(shared.in, shared.in, 37);
        for (int32_t i = 0; i < 37; ++i) {
            EXPECT_EQ(sum.outL[i], 0.5f + plain.outL[i]);
            EXPECT_EQ(sum.outR[i], 0.5f + plain.outR[i]);
        }
        EXPECT_TRUE(sameBits(shared.inL, plain.outL));
        EXPECT_TRUE(sameBits(shared.inR, plain.outR));
        EXPECT_EQ(adding.getVu(), 0.0f);
    }
}

// Loud input at the top pre-gain overflows the curves; nothing non-finite may stay in the filter
// and ordinary audio afterwards must come out finite and sane within one block.
TEST(GrimfoldGuards, OverflowAndNonFiniteInputNeverReachTheHost) {
    const float specials[] = {NAN, INFINITY, -INFINITY, FLT_MAX};
    for (float oversample : {0.0f, 1.0f}) {
        SCOPED_TRACE(oversample);
        GrimfoldEffect effect(nullptr);
        ReferenceGrimfold model;
        model.values[0] = 1.0f;
        EXPECT_TRUE(std::isinf(model.shape(1.0f))) << "the curves must really overflow here";
        effect.setParameter(GrimfoldEffect::kPreGain, 1.0f);
        effect.setParameter(GrimfoldEffect::kOversample, oversample);
        AEffect* record = effect.getAeffect(); // through the entries, as a host calls it
        Block block(64);
        for (int32_t round = 0; round < 3; ++round) {
            for (int32_t i = 0; i < 64; ++i) {
                block.inL[i] = std::sin(0.05f * i);
                block.inR[i] = i % 8 ? -block.inL[i] : specials[(i / 8) % 4];
            }
            record->processReplacing(record, block.in, block.out, 64);
            for (int32_t i = 0; i < 64; ++i) {
                ASSERT_TRUE(std::isfinite(block.outL[i]));
                ASSERT_TRUE(std::isfinite(block.outR[i]));
            }
        }
        effect.setParameter(GrimfoldEffect::kPreGain, 0.5f);
        for (int32_t round = 0; round < 2; ++round) {
            for (int32_t i = 0; i < 64; ++i)
                block.inL[i] = block.inR[i] = 0.3f * std::sin(0.05f * i);
            record->processReplacing(record, block.in, block.out, 64);
        }
        // Ordinary levels again: neither stuck at a limit nor silenced by a poisoned filter.
        for (const std::vector<float>* channel : {&block.outL, &block.outR}) {
            float peak = 0.0f;
            for (float sample : *channel)
                peak = std::fmax(peak, std::fabs(sample));
            EXPECT_GT(peak, 0.1f);
            EXPECT_LT(peak, 2.0f);
        }
    }
}

} // namespace
