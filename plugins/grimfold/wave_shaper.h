// WaveShaper: pre-gain, eight cubic shaping stages in series and post-gain, applied to the
// left and the right sample of a frame at once (SSE lanes 0 and 1). It has no memory of its
// own: the same settings shape both channels.
//
// State: preGain, postGain and, per stage, its amount a and rest r, each kept in all four
// lanes of a vector so the audio loop loads it ready to use. Written by the effect's
// setParameter on a host thread, read by the audio thread every frame as it stands.
#pragma once

#include <cstdint>
#include <xmmintrin.h>

class WaveShaper {
  public:
    static constexpr int32_t kStages = 8;
    // 3 * sqrt(3) / 2 in single precision: the curve x - x^3 then peaks at exactly 1.
    static constexpr float kCubicPeakScale = 2.598076f;

    void setPreGain(float gain) { preGainLanes = broadcast(gain); }
    void setPostGain(float gain) { postGainLanes = broadcast(gain); }
    void setStage(int32_t stage, float amount, float rest) {
        amountLanes[stage] = broadcast(amount);
        restLanes[stage] = broadcast(rest);
    }
    float preGain() const { return preGainLanes.value[0]; }
    float postGain() const { return postGainLanes.value[0]; }
    float stageAmount(int32_t stage) const { return amountLanes[stage].value[0]; }
    float stageRest(int32_t stage) const { return restLanes[stage].value[0]; }

    // Stages 1 to 4 blend towards 2.598076 (x - x^3), 5 and 6 towards x^3, 7 and 8 towards
    // (3x - x^3) / 2; stage 8 also applies the post-gain. Every operation rounds to single
    // precision, in the order written, lane by lane.
    __m128 shape(__m128 input) const {
        const __m128 one = _mm_set1_ps(1.0f);
        const __m128 three = _mm_set1_ps(3.0f);
        __m128 x = _mm_mul_ps(input, load(preGainLanes));
        for (int32_t i = 0; i < 4; ++i) {
            const __m128 blend =
                _mm_add_ps(_mm_mul_ps(_mm_sub_ps(one, _mm_mul_ps(x, x)), load(amountLanes[i])),
                           load(restLanes[i]));
            x = _mm_mul_ps(x, blend);
        }
        for (int32_t i = 4; i < 6; ++i) {
            const __m128 cube = _mm_mul_ps(x, _mm_mul_ps(x, load(amountLanes[i])));
            x = _mm_mul_ps(x, _mm_add_ps(cube, load(restLanes[i])));
        }
        const __m128 blend7 =
            _mm_add_ps(_mm_mul_ps(_mm_sub_ps(three, _mm_mul_ps(x, x)), load(amountLanes[6])),
                       load(restLanes[6]));
        x = _mm_mul_ps(x, blend7);
        const __m128 blend8 =
            _mm_add_ps(_mm_mul_ps(_mm_sub_ps(three, _mm_mul_ps(x, x)), load(amountLanes[7])),
                       load(restLanes[7]));
        return _mm_mul_ps(_mm_mul_ps(blend8, load(postGainLanes)), x);
    }

  private:
    struct alignas(16) Lanes {
        float value[4];
    };
    static Lanes broadcast(float v) { return {{v, v, v, v}}; }
    static __m128 load(const Lanes& lanes) { return _mm_load_ps(lanes.value); }

    Lanes preGainLanes = broadcast(1.0f);
    Lanes postGainLanes = broadcast(1.0f);
    Lanes amountLanes[kStages] = {};
    Lanes restLanes[kStages] = {};
};
