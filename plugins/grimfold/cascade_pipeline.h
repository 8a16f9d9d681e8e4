// CascadePipeline: runs the anti-alias cascade over a block for both channels at once.
//
// Per frame the cascade is 8 passes through 8 sections: section k of pass p needs the output
// of section k-1 in the same pass and its own memory after pass p-1. Section k can therefore
// work on pass t - k at step t while the other sections work on other passes, like an
// assembly line: every step advances all eight sections, and each section still sees exactly
// the inputs and memories of the straightforward order, so every sample is the same. Passes
// run on across frames; only the first and last seven steps of a block leave some sections
// idle, and those keep their memories untouched.
//
// Lanes: vector j holds sections 2j (left, right in lanes 0, 1) and 2j+1 (lanes 2, 3).
// State: none of its own. The effect's two CascadeChannels are loaded into registers for a
// block and stored back after it; audio thread only.
#pragma once

#include "plugins/grimfold/anti_alias_cascade.h"
#include "plugins/grimfold/finite_lanes.h"

#include <cstdint>
#include <emmintrin.h>

namespace anti_alias {

class CascadePipeline {
  public:
    // Filters `frames` frames. input(f) answers frame f's held stereo value (lanes 0 and 1);
    // output(f, y) receives frame f's filtered pair. Both are called in frame order, input(f)
    // before output(f - 2), so outputs may overwrite the inputs they were made from. A channel
    // whose output turns non-finite has had its memory poisoned by an overflow: that channel starts
    // afresh and the value handed on is limited to the finite range.
    template <class Input, class Output>
    static void run(CascadeChannel& left, CascadeChannel& right, int32_t frames, Input&& input,
                    Output&& output) {
        if (frames <= 0) return;
        // Locals, so the memories stay in registers: the output stores could alias the
        // effect's own arrays.
        Memory m;
        for (int32_t j = 0; j < kPairs; ++j) {
            m.first[j] = pack(left.first, right.first, j);
            m.second[j] = pack(left.second, right.second, j);
        }
        const int32_t passes = frames * kPasses;
        // Section 8 finishes the last pass of frame f at step 8f + 14, in the second step
        // before the end of frame f + 1's passes.
        auto emit = [&](int32_t frame) {
            __m128 y = _mm_movehl_ps(m.carried[kPairs - 1], m.carried[kPairs - 1]);
            if (const int bad = nonFiniteLanes(y) & 3) {
                restart(m, bad);
                y = finiteSamples(y);
            }
            output(frame, y);
        };
        // Each frame's input is asked for one frame early, so shaping it overlaps the steps.
        __m128 next = input(0);
        for (int32_t f = 0; f <= frames; ++f) {
            const __m128 held = next;
            if (f + 1 < frames) next = input(f + 1);
            const int32_t t = f * kPasses;
            if (f == 0) {
                // Filling: section k starts at step k.
                for (int32_t p = 0; p < kSections - 1; ++p)
                    step<true>(m, held, t + p, passes);
                step<false>(m, held, t + kSections - 1, passes);
            } else if (f < frames) {
#pragma GCC unroll 8
                for (int32_t p = 0; p < kPasses; ++p) {
                    step<false>(m, held, t + p, passes);
                    if (p == kPasses - 2) emit(f - 1);
                }
            } else {
                // Draining: the last frame's passes leave the sections one after another.
                for (int32_t p = 0; p < kSections - 1; ++p) {
                    step<true>(m, held, t + p, passes);
                    if (p == kPasses - 2) emit(f - 1);
                }
            }
        }
        for (int32_t j = 0; j < kPairs; ++j) {
            unpack(m.first[j], left.first, right.first, j);
            unpack(m.second[j], left.second, right.second, j);
        }
    }

  private:
    static constexpr int32_t kPairs = kSections / 2;

    // The memories and the section outputs in flight (from the step before) during a block.
    struct Memory {
        __m128 first[kPairs];
        __m128 second[kPairs];
        __m128 carried[kPairs] = {};
    };

    static __m128 pack(const float* left, const float* right, int32_t j) {
        return _mm_setr_ps(left[2 * j + 1], right[2 * j + 1], left[2 * j + 2], right[2 * j + 2]);
    }
    static void unpack(__m128 v, float* left, float* right, int32_t j) {
        alignas(16) float lanes[4];
        _mm_store_ps(lanes, v);
        left[2 * j + 1] = lanes[0];
        right[2 * j + 1] = lanes[1];
        left[2 * j + 2] = lanes[2];
        right[2 * j + 2] = lanes[3];
    }

    // One coefficient for both sections of vector j, each in its two lanes.
    template <int32_t j, float (*coefficient)(int32_t)> static __m128 lanes() {
        return _mm_setr_ps(coefficient(2 * j), coefficient(2 * j), coefficient(2 * j + 1),
                           coefficient(2 * j + 1));
    }

    // Lanes whose section works on a pass of this block at step t.
    static __m128 activeLanes(int32_t t, int32_t passes, int32_t j) {
        auto active = [&](int32_t k) { return t - k >= 0 && t - k < passes ? -1 : 0; };
        const int32_t lower = active(2 * j), upper = active(2 * j + 1);
        return _mm_castsi128_ps(_mm_setr_epi32(lower, lower, upper, upper));
    }

    // y = b0 x + s1, s1 = b1 x + s2 - a1 y, s2 = b2 x - a2 y for the two sections of vector j.
    template <int32_t j, bool masked>
    static __m128 runPair(Memory& m, __m128 x, int32_t t, int32_t passes) {
        const __m128 y = _mm_add_ps(_mm_mul_ps(lanes<j, b0>(), x), m.first[j]);
        const __m128 s1 = _mm_sub_ps(_mm_add_ps(_mm_mul_ps(lanes<j, b1>(), x), m.second[j]),
                                     _mm_mul_ps(lanes<j, a1>(), y));
        const __m128 s2 = _mm_sub_ps(_mm_mul_ps(lanes<j, b2>(), x), _mm_mul_ps(lanes<j, a2>(), y));
        if constexpr (masked) {
            const __m128 keep = activeLanes(t, passes, j);
            m.first[j] = _mm_or_ps(_mm_and_ps(keep, s1), _mm_andnot_ps(keep, m.first[j]));
            m.second[j] = _mm_or_ps(_mm_and_ps(keep, s2), _mm_andnot_ps(keep, m.second[j]));
        } else {
            m.first[j] = s1;
            m.second[j] = s2;
        }
        return y;
    }

    // Every section advances by one pass. Section 2j takes the output of section 2j-1 from
    // the step before (lanes 2, 3 of vector j-1), section 2j+1 that of section 2j; section 1
    // takes the held input.
    template <bool masked> static void step(Memory& m, __m128 held, int32_t t, int32_t passes) {
        const __m128 x0 = _mm_movelh_ps(held, m.carried[0]);
        const __m128 x1 = _mm_shuffle_ps(m.carried[0], m.carried[1], _MM_SHUFFLE(1, 0, 3, 2));
        const __m128 x2 = _mm_shuffle_ps(m.carried[1], m.carried[2], _MM_SHUFFLE(1, 0, 3, 2));
        const __m128 x3 = _mm_shuffle_ps(m.carried[2], m.carried[3], _MM_SHUFFLE(1, 0, 3, 2));
        m.carried[0] = runPair<0, masked>(m, x0, t, passes);
        m.carried[1] = runPair<1, masked>(m, x1, t, passes);
        m.carried[2] = runPair<2, masked>(m, x2, t, passes);
        m.carried[3] = runPair<3, masked>(m, x3, t, passes);
    }

    // Clears the memories and the values in flight of the channels in `channels` (bit 0
    // left, bit 1 right).
    static void restart(Memory& m, int channels) {
        const int32_t left = channels & 1 ? 0 : -1, right = channels & 2 ? 0 : -1;
        const __m128 keep = _mm_castsi128_ps(_mm_setr_epi32(left, right, left, right));
        for (int32_t j = 0; j < kPairs; ++j) {
            m.first[j] = _mm_and_ps(m.first[j], keep);
            m.second[j] = _mm_and_ps(m.second[j], keep);
            m.carried[j] = _mm_and_ps(m.carried[j], keep);
        }
    }
};

} // namespace anti_alias
