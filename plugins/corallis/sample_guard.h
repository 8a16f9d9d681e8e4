// The guard that keeps non-finite values out of the delay lines (the output guard is the frame's
// limitToFinite). It leaves every finite value as it is, so it changes no ordinary result.
#pragma once

#include <cfloat>
#include <cmath>

// A value about to be stored in a delay line: NaN and the infinities become 0, so one bad sample
// cannot circulate in the feedback loop for good.
inline float finiteOrZero(float value) {
    return std::fabs(value) <= FLT_MAX ? value : 0.0f;
}
