// The output rule of every effect, applied by the processing entries to each block an effect has
// written: a sample that is not finite (NaN or an infinity) is written as 0; every finite value,
// the sign of zero included, passes unchanged. Together with each effect's own rule for its
// memories (a state value that turns non-finite restarts from silence), no plug-in ever hands
// the host NaN or an infinity, nor a stand-in such as the largest float that a host summing it
// would turn back into an infinity. The loop has no branch, so it vectorises and ordinary audio
// pays one compare per sample.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

// The value itself when finite, else 0. NaN fails the comparison as well.
inline float finiteOrSilence(float value) {
    return std::fabs(value) <= FLT_MAX ? value : 0.0f;
}

inline void guardSamples(float* samples, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        samples[i] = finiteOrSilence(samples[i]);
}
