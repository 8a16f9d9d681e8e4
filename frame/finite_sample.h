// limitToFinite: the last guard before a sample reaches the host. Every finite value (the sign
// of zero included) passes unchanged; infinities become the largest finite float of their sign
// and NaN becomes 0, so no effect ever hands the host a non-finite sample. Finite is the
// predicted case, so ordinary audio pays one compare.
#pragma once

#include <cfloat>
#include <cmath>

inline float limitToFinite(float value) {
    if (std::isfinite(value)) [[likely]]
        return value;
    return std::isnan(value) ? 0.0f : std::copysign(FLT_MAX, value);
}
