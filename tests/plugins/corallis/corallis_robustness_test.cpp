// CorallisEffect under bad input: non-finite audio, unusable sample rates and out-of-range
// parameter indices.
#include "plugins/corallis/corallis_effect.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Buffers {
    std::vector<float> inL, inR, outL, outR;
    float* in[2];
    float* out[2];
    explicit Buffers(size_t frames, float left = 0.0f, float right = 0.0f)
        : inL(frames, left), inR(frames, right), outL(frames),
          outR(frames), in{inL.data(), inR.data()}, out{outL.data(), outR.data()} {}
    bool outputFinite() const {
        for (size_t i = 0; i < outL.size(); ++i)
            if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) return false;
        return true;
    }
    void sine(float amplitude, size_t start) {
        for (size_t i = 0; i < inL.size(); ++i) {
            inL[i] = amplitude * std::sin(0.05f * static_cast<float>(start + i));
            inR[i] = -inL[i];
        }
    }
};

// The record's processing entries, as a host calls them.
void hostReplacing(CorallisEffect& e, Buffers& b, int32_t frames) {
    e.getAeffect()->processReplacing(e.getAeffect(), b.in, b.out, frames);
}
void hostAccumulating(CorallisEffect& e, Buffers& b, int32_t frames) {
    e.getAeffect()->process(e.getAeffect(), b.in, b.out, frames);
}

// Both modes, strongest feedback (voice 0's loop gain is 1), full wet.
void configureHarsh(CorallisEffect& effect, bool serial) {
    effect.setParameter(kSerialMod, serial ? 1.0f : 0.0f);
    effect.setParameter(kFeedBack1, 0.0f);
    effect.setParameter(kFeedBack2, 0.0f);
    effect.setParameter(kWetMix, 1.0f);
    effect.setParameter(kDryMix, 1.0f);
    effect.setParameter(kSpeed1, 1.0f);
    effect.setParameter(kSlowMod, 0.0f);
}

TEST(CorallisRobustness, NonFiniteInputNeverReachesTheHostAndTheEffectRecovers) {
    for (bool serial : {true, false}) {
        // The twin hears silence where the effect hears NaN and infinities.
        CorallisEffect effect(nullptr), twin(nullptr);
        configureHarsh(effect, serial);
        configureHarsh(twin, serial);
        Buffers bad(256), silence(256);
        for (size_t i = 0; i < 256; ++i) {
            bad.inL[i] = i % 3 == 0 ? NAN : (i % 3 == 1 ? INFINITY : -INFINITY);
            bad.inR[i] = i % 2 ? -INFINITY : NAN;
        }
        hostReplacing(effect, bad, 256);
        hostReplacing(twin, silence, 256);
        EXPECT_TRUE(bad.outputFinite()) << serial;
        // Ordinary audio afterwards: from the first block on the output is finite and follows
        // the twin's (the lines differ only by the tiny offsets the twin stored), in both
        // entries, long enough for every line to have been read many times.
        for (size_t block = 0; block < 100; ++block) {
            Buffers ordinary(512), reference(512);
            ordinary.sine(0.5f, block * 512);
            reference.sine(0.5f, block * 512);
            if (block % 2) {
                hostAccumulating(effect, ordinary, 512);
                hostAccumulating(twin, reference, 512);
            } else {
                hostReplacing(effect, ordinary, 512);
                hostReplacing(twin, reference, 512);
            }
            ASSERT_TRUE(ordinary.outputFinite()) << serial << " block " << block;
            for (size_t i = 0; i < 512; ++i) {
                const float tolerance = 1.0e-4f * std::max(1.0f, std::fabs(reference.outL[i]));
                ASSERT_NEAR(ordinary.outL[i], reference.outL[i], tolerance) << block << " " << i;
                ASSERT_NEAR(ordinary.outR[i], reference.outR[i], tolerance) << block << " " << i;
            }
        }
    }
}

// A rate whose lines cannot be built leaves the effect exactly as it was: same rate, same
// lines, same output as a twin that never saw the request.
TEST(CorallisRobustness, RefusedRateChangesNothing) {
    CorallisEffect effect(nullptr), twin(nullptr);
    effect.setSampleRate(48000.0f);
    twin.setSampleRate(48000.0f);
    for (float rate : {0.0f, -1.0f, 2.0e7f, 3.0e38f, INFINITY, -INFINITY, NAN}) {
        effect.setSampleRate(rate);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f) << rate;
        EXPECT_EQ(effect.ensembleContext().lineLength, 4800) << rate;
    }
    Buffers a(3000), b(3000);
    a.sine(0.7f, 0);
    b.sine(0.7f, 0);
    effect.processReplacing(a.in, a.out, 3000);
    twin.processReplacing(b.in, b.out, 3000);
    EXPECT_EQ(std::memcmp(a.outL.data(), b.outL.data(), 3000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(a.outR.data(), b.outR.data(), 3000 * sizeof(float)), 0);
}

} // namespace
