// finiteSamples: the guard that keeps non-finite values out of the filter memory and away from
// the host. The cubic curves overflow for loud input at high gain, and one infinity or NaN
// inside a recursive filter would poison it for good.
#pragma once

#include <cfloat>
#include <xmmintrin.h>

// NaN becomes 0 and an infinity the largest finite float of its sign, lane by lane; every
// finite value (the sign of zero included) passes unchanged.
inline __m128 finiteSamples(__m128 x) {
    const __m128 ordered = _mm_and_ps(_mm_cmpord_ps(x, x), x);
    return _mm_min_ps(_mm_max_ps(ordered, _mm_set1_ps(-FLT_MAX)), _mm_set1_ps(FLT_MAX));
}

// Bit i set when lane i holds NaN or an infinity.
inline int nonFiniteLanes(__m128 x) {
    return _mm_movemask_ps(_mm_cmpneq_ps(_mm_sub_ps(x, x), _mm_setzero_ps()));
}
