// TloomFilter: the state-variable filter of one side, with low-pass, band-pass and high-pass
// outputs that the effect mixes.
//
// State: damping and cutoffCoeff (coefficients, written by parameter changes on host threads),
// low, band, high (the filter memory, touched only by the audio thread) and whether the
// coefficients give a stable filter.
#pragma once

#include <cmath>

struct TloomFilter {
    float damping = 0.0f;
    float cutoffCoeff = 0.0f;
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;
    bool stable = true;

    // The coefficients through these two, so that `stable` follows them.
    void setCutoff(float coefficient) {
        cutoffCoeff = coefficient;
        stable = isStable(cutoffCoeff, damping);
    }
    void setDamping(float value) {
        damping = value;
        stable = isStable(cutoffCoeff, damping);
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
        if (!stable) [[unlikely]] {
            clear();
            return;
        }
        low = low + cutoffCoeff * band;
        high = x - damping * band - low;
        band = band + cutoffCoeff * high;
        if (!(std::isfinite(low) && std::isfinite(band) && std::isfinite(high))) clear();
    }

    float mix(float lowGain, float bandGain, float highGain) const {
        return lowGain * low + bandGain * band + highGain * high;
    }

    void clear() {
        low = 0.0f;
        band = 0.0f;
        high = 0.0f;
    }
};
