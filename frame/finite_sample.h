// The output rule of every effect, applied by the processing entries to each block an effect has
// written: every finite value (the sign of zero included) passes unchanged; infinities become
// the largest finite float of their sign and NaN becomes 0, so no effect ever hands the host a
// non-finite sample. Finite is the predicted case, so ordinary audio pays one compare.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

inline float limitToFinite(float value) {
    if (std::isfinite(value)) [[likely]]
        return value;
    return std::isnan(value) ? 0.0f : std::copysign(FLT_MAX, value);
}

inline void guardSamples(float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        samples[i] = limitToFinite(samples[i]);
}
