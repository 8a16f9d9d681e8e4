// TloomFilter: the state-variable filter of one side, with low-pass, band-pass and high-pass
// outputs that the effect mixes.
//
// State: damping and cutoffCoeff (coefficients, written by parameter changes on host threads,
// relaxed atomics), low, band, high (the filter memory, touched only by the audio thread) and
// whether the coefficients give a stable filter (written with them).
#pragma once

#include "frame/shared_value.h"

#include <cmath>

struct TloomFilter {
    SharedValue<float> damping = 0.0f;
    SharedValue<float> cutoffCoeff = 0.0f;
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;
    SharedValue<bool> stable = true;

    // The memory alone, for the audio loop to keep in locals for a block.
    struct Memory {
        float low;
        float band;
        float high;
    };

    // The coefficients through these two, so that `stable` follows them.
    void setCutoff(float coefficient) {
        cutoffCoeff = coefficient;
        stable = isStable(coefficient, damping);
    }
    void setDamping(float value) {
        damping = value;
        stable = isStable(cutoffCoeff, value);
    }

    // Without input the memory (low, band) is multiplied per sample by [[1, f], [-f, 1 - f d -
    // f^2]] (f the cutoff coefficient, d the damping). It decays exactly when both eigenvalues
    // lie inside the unit circle: 0 < f d < 2 and f^2 + 2 f d < 4. Outside that range (a corner
    // far above the sample rate's reach, at low rates or after a rate change) any input makes
    // the memory grow without bound.
    static bool isStable(float f, float d) {
        const double fd = static_cast<double>(f) * d;
        return fd > 0.0 && fd < 2.0 && static_cast<double>(f) * f + 2.0 * fd < 4.0;
    }

    // One sample of input. A filter whose coefficients are unstable could only run away, so it
    // is held at silence. A memory that turned non-finite (infinite or NaN input, or an overflow)
    // would stay poisoned for good, so it starts again from silence instead. Finite results of
    // a stable filter are untouched.
    void step(float x) {
        Memory m{low, band, high};
        step(m, x, cutoffCoeff.load(), damping.load(), stable.load());
        low = m.low;
        band = m.band;
        high = m.high;
    }
    static void step(Memory& m, float x, float f, float d, bool isStable) {
        if (!isStable) [[unlikely]] {
            m = {0.0f, 0.0f, 0.0f};
            return;
        }
        m.low = m.low + f * m.band;
        m.high = x - d * m.band - m.low;
        m.band = m.band + f * m.high;
        if (!(std::isfinite(m.low) && std::isfinite(m.band) && std::isfinite(m.high)))
            m = {0.0f, 0.0f, 0.0f};
    }

    float mix(float lowGain, float bandGain, float highGain) const {
        return mix({low, band, high}, lowGain, bandGain, highGain);
    }
    static float mix(const Memory& m, float lowGain, float bandGain, float highGain) {
        return lowGain * m.low + bandGain * m.band + highGain * m.high;
    }

    void clear() {
        low = 0.0f;
        band = 0.0f;
        high = 0.0f;
    }
};
