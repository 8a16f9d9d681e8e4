// FloatLanes: four floats that one operation works on at once, in an SSE2 register where the
// compiler targets SSE2 (every x86-64 build, and the 32-bit builds made with -msse2) and as a
// plain array elsewhere. Each operation is the single IEEE operation of the scalar code with
// the same rounding, so a computation written with lanes gives, lane by lane, exactly the bits
// of the scalar computation in the same order.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>

struct FloatLanes {
    __m128 v;

    static FloatLanes load(const float* p) { return {_mm_loadu_ps(p)}; }
    static FloatLanes all(float x) { return {_mm_set1_ps(x)}; }
    // The four floats nearest to first, first - 1, first - 2 and first - 3.
    static FloatLanes countingDown(int32_t first) {
        return {_mm_cvtepi32_ps(_mm_sub_epi32(_mm_set1_epi32(first), _mm_set_epi32(3, 2, 1, 0)))};
    }
    // x, -x, x, -x.
    static FloatLanes alternating(float x) { return {_mm_set_ps(-x, x, -x, x)}; }
    void store(float* p) const { _mm_storeu_ps(p, v); }

    friend FloatLanes operator+(FloatLanes a, FloatLanes b) { return {_mm_add_ps(a.v, b.v)}; }
    friend FloatLanes operator-(FloatLanes a, FloatLanes b) { return {_mm_sub_ps(a.v, b.v)}; }
    friend FloatLanes operator*(FloatLanes a, FloatLanes b) { return {_mm_mul_ps(a.v, b.v)}; }
    // Each lane itself when finite, else 0 (the sign of zero kept).
    FloatLanes finiteOrSilence() const {
        const __m128 magnitude = _mm_andnot_ps(_mm_set1_ps(-0.0f), v);
        return {_mm_and_ps(v, _mm_cmple_ps(magnitude, _mm_set1_ps(FLT_MAX)))};
    }
};

#else

struct FloatLanes {
    float v[4];

    static FloatLanes load(const float* p) { return {{p[0], p[1], p[2], p[3]}}; }
    static FloatLanes all(float x) { return {{x, x, x, x}}; }
    static FloatLanes countingDown(int32_t first) {
        return {{static_cast<float>(first), static_cast<float>(first - 1),
                 static_cast<float>(first - 2), static_cast<float>(first - 3)}};
    }
    static FloatLanes alternating(float x) { return {{x, -x, x, -x}}; }
    void store(float* p) const {
        for (int i = 0; i < 4; ++i)
            p[i] = v[i];
    }

    friend FloatLanes operator+(FloatLanes a, FloatLanes b) {
        for (int i = 0; i < 4; ++i)
            a.v[i] = a.v[i] + b.v[i];
        return a;
    }
    friend FloatLanes operator-(FloatLanes a, FloatLanes b) {
        for (int i = 0; i < 4; ++i)
            a.v[i] = a.v[i] - b.v[i];
        return a;
    }
    friend FloatLanes operator*(FloatLanes a, FloatLanes b) {
        for (int i = 0; i < 4; ++i)
            a.v[i] = a.v[i] * b.v[i];
        return a;
    }
    FloatLanes finiteOrSilence() const {
        FloatLanes r = *this;
        for (float& x : r.v)
            x = std::fabs(x) <= FLT_MAX ? x : 0.0f;
        return r;
    }
};

#endif
