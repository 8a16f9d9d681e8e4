// Guards that keep non-finite values out of the delay lines and away from the host. Both leave
// every finite value as it is, so they change no ordinary result.
#pragma once

#include <algorithm>
#include <cfloat>
#include <cmath>

// A value about to be stored in a delay line: NaN and the infinities become 0, so one bad sample
// cannot circulate in the feedback loop for good.
inline float finiteOrZero(float value) {
    return std::fabs(value) <= FLT_MAX ? value : 0.0f;
}

// A value about to be handed to the host: infinities become the largest finite float of their
// sign, NaN becomes 0.
inline float limitToFinite(float value) {
    const float limited = std::min(std::max(value, -FLT_MAX), FLT_MAX);
    return value == value ? limited : 0.0f;
}
