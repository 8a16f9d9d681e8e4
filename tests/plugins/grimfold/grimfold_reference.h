// A plain per-sample model of grimfold, written from its formulas with no restructuring: the
// effect's vectorised and reordered loops must give exactly these samples.
#pragma once

#include "frame/denormals.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>

class ReferenceGrimfold {
  public:
    float values[11] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.2f, 0.6f, 0.3f, 0.4f, 0.0f};

    void suspend() {
        for (float* state : {leftFirst, leftSecond, rightFirst, rightSecond})
            std::fill(state, state + 16, 0.0f);
    }

    void process(const float* inL, const float* inR, float* outL, float* outR, int frames,
                 bool accumulate) {
        const bool oversample = values[10] > 0.5f;
        std::optional<ScopedFlushDenormals> flush; // the effect flushes in this mode
        if (oversample) flush.emplace();
        for (int i = 0; i < frames; ++i) {
            float left = shape(inL[i]);
            float right = shape(inR[i]);
            if (oversample) {
                left = filter(left, leftFirst, leftSecond);
                right = filter(right, rightFirst, rightSecond);
            }
            outL[i] = accumulate ? outL[i] + left : left;
            outR[i] = accumulate ? outR[i] + right : right;
        }
    }

    float shape(float input) const {
        const float pre = static_cast<float>(std::pow(2.0, 2.0 * values[0] - 1.0));
        const float post = static_cast<float>(std::pow(2.0, 2.0 * values[1] - 1.0));
        float x = input * pre;
        for (int s = 0; s < 4; ++s) {
            const float a = values[2 + s] * 2.598076f, r = 1.0f - values[2 + s];
            x = x * ((1.0f - x * x) * a + r);
        }
        for (int s = 4; s < 6; ++s) {
            const float a = values[2 + s], r = 1.0f - values[2 + s];
            x = x * (x * (x * a) + r);
        }
        const float a7 = values[8] * 0.5f, r7 = 1.0f - values[8];
        x = x * ((3.0f - x * x) * a7 + r7);
        const float a8 = values[9] * 0.5f, r8 = 1.0f - values[9];
        return ((3.0f - x * x) * a8 + r8) * post * x;
    }

  private:
    // Sections 1 to 8: b0, b1, b2, then a1, a2 (the leading 1 of the denominator left out).
    static constexpr float kTable[9][5] = {
        {},
        {0.00817012694f, 0.001666617f, 0.00817012694f, -1.76846647f, 0.786473453f},
        {0.0843786225f, -0.122226536f, 0.0843786225f, -1.78663802f, 0.833168805f},
        {0.294814587f, -0.506744027f, 0.294814587f, -1.80982125f, 0.892706394f},
        {0.547922671f, -0.984616458f, 0.547922671f, -1.82798219f, 0.939247072f},
        {0.741649508f, -1.35486233f, 0.741649508f, -1.83933794f, 0.9681229f},
        {0.860388815f, -1.58282053f, 0.860388815f, -1.84583569f, 0.984167635f},
        {0.923423111f, -1.70402002f, 0.923423111f, -1.84973693f, 0.992841661f},
        {0.950461507f, -1.75598967f, 0.950461507f, -1.85280573f, 0.997958958f},
    };

    static float filter(float input, float* s1, float* s2) {
        float y = 0.0f;
        for (int pass = 0; pass < 8; ++pass) {
            float x = input;
            for (int k = 1; k <= 8; ++k) {
                const float* c = kTable[k];
                y = c[0] * x + s1[k];
                s1[k] = c[1] * x + s2[k] - c[3] * y;
                s2[k] = c[2] * x - c[4] * y;
                x = y;
            }
        }
        return y;
    }

    float leftFirst[16] = {}, leftSecond[16] = {}, rightFirst[16] = {}, rightSecond[16] = {};
};
