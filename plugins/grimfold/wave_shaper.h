// WaveShaper: pre-gain, eight cubic shaping stages in series and post-gain, applied to the
// left and the right sample of a frame at once (SSE lanes 0 and 1). It has no memory of its
// own: the same settings shape both channels.
//
// State: preGain, postGain and, per stage, its amount a and rest r, each a relaxed atomic
// (SharedValue) written by the effect's setParameter on a host thread; their ChangeCount; and
// the audio thread's own copy of the settings, each kept in all four lanes of a vector so the
// audio loop loads it ready to use. The audio loop calls refresh before shaping (every frame or
// every four frames): it copies the settings again only when the count has moved, so a change
// lands there at the cost of one load and compare when nothing changed.
#pragma once

#include "frame/change_count.h"
#include "frame/shared_value.h"

#include <cstdint>
#include <xmmintrin.h>

class WaveShaper {
  public:
    static constexpr int32_t kStages = 8;
    // 3 * sqrt(3) / 2 in single precision: the curve x - x^3 then peaks at exactly 1.
    static constexpr float kCubicPeakScale = 2.598076f;

    // Host threads: the settings.
    void setPreGain(float gain) {
        preGainValue = gain;
        changes.announce();
    }
    void setPostGain(float gain) {
        postGainValue = gain;
        changes.announce();
    }
    void setStage(int32_t stage, float amount, float rest) {
        amountValue[stage] = amount;
        restValue[stage] = rest;
        changes.announce();
    }
    float preGain() const { return preGainValue; }
    float postGain() const { return postGainValue; }
    float stageAmount(int32_t stage) const { return amountValue[stage]; }
    float stageRest(int32_t stage) const { return restValue[stage]; }

    // Audio thread: takes up the settings changed since the last call.
    void refresh() {
        if (!changes.moved(seenChanges)) [[likely]]
            return;
        preGainLanes = broadcast(preGainValue);
        postGainLanes = broadcast(postGainValue);
        for (int32_t i = 0; i < kStages; ++i) {
            amountLanes[i] = broadcast(amountValue[i]);
            restLanes[i] = broadcast(restValue[i]);
        }
    }

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

    SharedValue<float> preGainValue = 1.0f;
    SharedValue<float> postGainValue = 1.0f;
    SharedValue<float> amountValue[kStages] = {};
    SharedValue<float> restValue[kStages] = {};
    ChangeCount changes;

    // The audio thread's copy.
    uint32_t seenChanges = 0;
    Lanes preGainLanes = broadcast(1.0f);
    Lanes postGainLanes = broadcast(1.0f);
    Lanes amountLanes[kStages] = {};
    Lanes restLanes[kStages] = {};
};
