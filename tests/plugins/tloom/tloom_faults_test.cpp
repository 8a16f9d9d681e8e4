// Faults the effect must survive: non-finite and overflowing audio, an unstable filter at low
// sample rates, runaway oscillators, extreme sample rates and out-of-range values from callers
// that bypass the host boundary. Nothing non-finite may reach the host, and nothing may stay
// stuck once the input is ordinary audio again.
#include "plugins/tloom/tloom_effect.h"
#include "tests/plugins/tloom/tloom_probe.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

namespace {

using Probe = TloomEffectProbe;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct Block {
    explicit Block(int32_t n, float value = 0.0f)
        : inL(n, value), inR(n, value), outL(n, 0.0f), outR(n, 0.0f) {}
    void sine(double step, float amplitude = 0.8f) {
        for (size_t i = 0; i < inL.size(); ++i) {
            inL[i] = amplitude * static_cast<float>(std::sin(phase));
            inR[i] = amplitude * static_cast<float>(std::cos(phase));
            phase += step;
        }
    }
    // Through the record's processing entries, as a host calls them.
    void replace(TloomEffect& e) {
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        e.getAeffect()->processReplacing(e.getAeffect(), in, out, static_cast<int32_t>(inL.size()));
    }
    void accumulate(TloomEffect& e) {
        float* in[2] = {inL.data(), inR.data()};
        float* out[2] = {outL.data(), outR.data()};
        e.getAeffect()->process(e.getAeffect(), in, out, static_cast<int32_t>(inL.size()));
    }
    bool allFinite() const {
        for (size_t i = 0; i < outL.size(); ++i)
            if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) return false;
        return true;
    }
    float peak() const {
        float p = 0.0f;
        for (size_t i = 0; i < outL.size(); ++i)
            p = std::max(p, std::max(std::fabs(outL[i]), std::fabs(outR[i])));
        return p;
    }
    std::vector<float> inL, inR, outL, outR;
    double phase = 0.0;
};

// The default effect at a short line length, so that the lines reach the output quickly.
void prepare(TloomEffect& effect, float rate) {
    effect.setSampleRate(rate);
    effect.setProgram(0);
}

TEST(TloomNonFiniteAudio, BadInputSamplesNeverReachTheHostAndTheFilterRecoversAtOnce) {
    for (float bad : {kNaN, kInf, -kInf}) {
        TloomEffect effect(nullptr);
        TloomEffect clean(nullptr);
        prepare(effect, 8000.0f);
        prepare(clean, 8000.0f);
        Block warm(2000), warmClean(2000);
        warm.sine(0.05);
        warmClean.sine(0.05);
        warm.replace(effect);
        warmClean.replace(clean);

        Block hit(256), hitClean(256);
        hit.sine(0.05);
        hitClean.sine(0.05);
        hit.inL[10] = bad;
        hit.inL[11] = bad;
        hit.replace(effect);
        hitClean.replace(clean);
        EXPECT_TRUE(hit.allFinite()) << bad;
        // The right side has its own filter: not a single bit of it changes.
        EXPECT_EQ(hit.outR, hitClean.outR) << bad;
        // The left output is ordinary audio again right after the bad samples.
        for (size_t i = 12; i < hit.outL.size(); ++i)
            ASSERT_LT(std::fabs(hit.outL[i]), 10.0f) << bad << " at " << i;
        const TloomFilter& f = Probe::filterLeft(effect);
        EXPECT_TRUE(std::isfinite(f.low) && std::isfinite(f.band) && std::isfinite(f.high));
    }
}

// Enormous but finite input is ordinary arithmetic: the filter rings it out like any impulse,
// and whatever overflows on the way is caught before it reaches the host.
TEST(TloomNonFiniteAudio, EnormousFiniteInputGivesFiniteOutput) {
    TloomEffect effect(nullptr);
    prepare(effect, 8000.0f);
    Block block(2000);
    block.sine(0.05);
    block.replace(effect);
    for (float big : {3.4e38f, -3.4e38f, 1e30f}) {
        block.sine(0.05);
        for (size_t i = 0; i < block.inL.size(); i += 3)
            block.inL[i] = block.inR[i] = big;
        block.replace(effect);
        EXPECT_TRUE(block.allFinite()) << big;
        block.accumulate(effect);
        EXPECT_TRUE(block.allFinite()) << big;
    }
}

// At 22050 Hz a high Cutoff with low Rez puts the filter coefficient (2 sin(pi x 10804.5 /
// 22050) = 1.999) beyond the stable range, where its memory could only grow without bound: the
// filter is held at silence instead, and plays again as soon as the setting is stable.
TEST(TloomUnstableFilter, AnUnstableSettingIsHeldAtSilence) {
    TloomEffect effect(nullptr);
    prepare(effect, 22050.0f);
    effect.setParameter(TloomEffect::kHigh, 1.0f);
    Block block(512);
    for (int n = 0; n < 10; ++n) { // until the lines reach the output
        block.sine(0.01);
        block.replace(effect);
    }
    EXPECT_GT(block.peak(), 0.01f);
    effect.setParameter(TloomEffect::kCutoff, 1.0f);
    effect.setParameter(TloomEffect::kRez, 0.0f);
    ASSERT_GT(Probe::filterLeft(effect).cutoffCoeff, 1.99f);
    for (int n = 0; n < 40; ++n) {
        block.sine(0.01);
        block.replace(effect);
        ASSERT_EQ(block.peak(), 0.0f) << "block " << n;
    }
    effect.setParameter(TloomEffect::kCutoff, 0.3f);
    effect.setParameter(TloomEffect::kRez, 0.5f);
    block.sine(0.01);
    block.replace(effect);
    EXPECT_GT(block.peak(), 0.01f);
    EXPECT_LT(block.peak(), 10.0f);
}

TEST(TloomRunawayOscillator, LinesAreClearedAndThePointPutBack) {
    TloomEffect effect(nullptr);
    prepare(effect, 8000.0f);
    Probe::gapSpeedLeft(effect).oscCos = 40.0f; // its fifth power would swamp the lines
    effect.setParameter(TloomEffect::kLeftShape, 1.0f);
    Block block(128, 0.5f);
    block.replace(effect);
    EXPECT_TRUE(block.allFinite());
    const QuadratureOscillator& osc = Probe::gapSpeedLeft(effect);
    EXPECT_NEAR(osc.oscCos * osc.oscCos + osc.oscSin * osc.oscSin, 1.0f, 1e-5f);
    for (const GapLine* line : {&Probe::lineLeft(effect), &Probe::lineRight(effect)}) {
        EXPECT_EQ(line->getWriteIndex(), 0);
        for (int32_t i = 0; i < line->getLength(); ++i)
            ASSERT_EQ(line->data()[i], 0.0f);
    }
}

TEST(TloomRunawayOscillator, NonFiniteModulatorReadsInsideTheLines) {
    TloomEffect effect(nullptr);
    prepare(effect, 8000.0f);
    Probe::gapModLeft(effect).oscCos = kNaN;
    Probe::gapModRight(effect).oscCos = -kInf;
    Block block(300, 0.5f);
    block.replace(effect);
    EXPECT_TRUE(block.allFinite());
    EXPECT_EQ(Probe::gapModLeft(effect).oscCos, 1.0f);
    block.replace(effect);
    EXPECT_TRUE(block.allFinite());
}

TEST(TloomSampleRates, UnusableRatesAreIgnored) {
    TloomEffect effect(nullptr);
    for (float rate : {0.0f, -44100.0f, kNaN, kInf, -kInf}) {
        effect.setSampleRate(rate);
        EXPECT_EQ(effect.getSampleRate(), 44100.0f) << rate;
        EXPECT_EQ(Probe::lineLeft(effect).getLength(), 4410) << rate;
    }
}

TEST(TloomSampleRates, ExtremeRatesGiveSafeLinesAndFiniteOutput) {
    const struct {
        float rate;
        int32_t length;
    } cases[] = {{1.0f, 1},
                 {5.0f, 1},
                 {9.0f, 1},
                 {10.0f, 1},
                 {1410000.0f, 141000},
                 {1e-40f, 1},
                 {1e30f, GapLine::kMaxLength}};
    for (const auto& c : cases) {
        TloomEffect effect(nullptr);
        prepare(effect, c.rate);
        EXPECT_EQ(effect.getSampleRate(), c.rate);
        EXPECT_EQ(Probe::lineLeft(effect).getLength(), c.length) << c.rate;
        EXPECT_EQ(Probe::lineRight(effect).getLength(), c.length) << c.rate;
        EXPECT_TRUE(std::isfinite(Probe::invSampleRate(effect))) << c.rate;
        const QuadratureOscillator& osc = Probe::gapSpeedLeft(effect);
        EXPECT_TRUE(std::isfinite(osc.stepCos) && std::isfinite(osc.stepSin)) << c.rate;
        Block block(1000);
        for (int n = 0; n < 3; ++n) {
            block.sine(0.2, 1.0f);
            block.replace(effect);
            ASSERT_TRUE(block.allFinite()) << c.rate;
        }
    }
}

// Every legal low rate, a program change there, then back to 44100 Hz (whose steps and cutoff
// stay those of the low rate until the next program change): no state runs away.
TEST(TloomSampleRates, LowRatesLeaveNoRunawayState) {
    for (float rate = 1.0f; rate <= 40.0f; rate += 0.5f) {
        TloomEffect effect(nullptr);
        AEffect* record = effect.getAeffect();
        record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, rate);
        record->dispatcher(record, effSetProgram, 0, 3, nullptr, 0.0f);
        Block block(512);
        for (int n = 0; n < 20; ++n) {
            block.sine(0.7, 1.0f);
            block.replace(effect);
            ASSERT_LT(block.peak(), 1e4f) << rate;
        }
        record->dispatcher(record, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        for (int n = 0; n < 20; ++n) {
            block.sine(0.05, 1.0f);
            block.replace(effect);
            ASSERT_LT(block.peak(), 1e4f) << rate;
        }
        record->dispatcher(record, effSetProgram, 0, 0, nullptr, 0.0f);
        for (int n = 0; n < 20; ++n) {
            block.sine(0.05, 1.0f);
            block.replace(effect);
            ASSERT_LT(block.peak(), 10.0f) << rate << " block " << n;
        }
    }
}

} // namespace
