// finiteSamples: the guard that keeps non-finite values out of the anti-alias filter memory.
// The cubic curves overflow for loud input at high gain, and one infinity or NaN inside a
// recursive filter would poison it for good.
#pragma once

#include <cfloat>
#include <xmmintrin.h>

// NaN and the infinities become 0 (silence), lane by lane; every finite value (the sign of zero
// included) passes unchanged.
inline __m128 finiteSamples(__m128 x) {
    const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), x);
    return _mm_and_ps(_mm_cmple_ps(magnitude, _mm_set1_ps(FLT_MAX)), x);
}

// Bit i set when lane i holds NaN or an infinity.
inline int nonFiniteLanes(__m128 x) {
    return _mm_movemask_ps(_mm_cmpneq_ps(_mm_sub_ps(x, x), _mm_setzero_ps()));
}
