// TloomFilter: the state-variable filter of one side, with low-pass, band-pass and high-pass
// outputs that the effect mixes.
//
// State: damping and cutoffCoeff (coefficients, written by parameter changes on host threads)
// and low, band, high (the filter memory, touched only by the audio thread).
#pragma once

#include <cmath>

struct TloomFilter {
    float damping = 0.0f;
    float cutoffCoeff = 0.0f;
    float low = 0.0f;
    float band = 0.0f;
    float high = 0.0f;

    // One sample of input. A memory that overflowed (an unstable coefficient at low sample
    // rates, or infinite or NaN input) would stay poisoned for good, so it starts again from
    // silence instead; finite results are untouched.
    void step(float x) {
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
