// TloomEffectProbe: lets the unit tests look at (and, for fault cases, disturb) the effect's
// derived values and state without widening its public interface.
#pragma once

#include "plugins/tloom/tloom_effect.h"

struct TloomEffectProbe {
    static float feedbackLeft(const TloomEffect& e) { return e.feedbackLeft; }
    static float feedbackRight(const TloomEffect& e) { return e.feedbackRight; }
    static int32_t shapeLeft(const TloomEffect& e) { return e.shapeLeft; }
    static int32_t shapeRight(const TloomEffect& e) { return e.shapeRight; }
    static const float* weightsLeft(const TloomEffect& e) { return e.shapeWeightsLeft; }
    static const float* weightsRight(const TloomEffect& e) { return e.shapeWeightsRight; }
    static float speedAdjustLeft(const TloomEffect& e) { return e.speedAdjustLeft; }
    static float speedAdjustRight(const TloomEffect& e) { return e.speedAdjustRight; }
    static float invSampleRate(const TloomEffect& e) { return e.invSampleRate; }
    static QuadratureOscillator& gapSpeedLeft(TloomEffect& e) { return e.gapSpeedOscLeft; }
    static QuadratureOscillator& gapSpeedRight(TloomEffect& e) { return e.gapSpeedOscRight; }
    static QuadratureOscillator& gapModLeft(TloomEffect& e) { return e.gapModOscLeft; }
    static QuadratureOscillator& gapModRight(TloomEffect& e) { return e.gapModOscRight; }
    static const GapLine& lineLeft(const TloomEffect& e) { return e.lineLeft; }
    static const GapLine& lineRight(const TloomEffect& e) { return e.lineRight; }
    static TloomFilter& filterLeft(TloomEffect& e) { return e.filterLeft; }
    static TloomFilter& filterRight(TloomEffect& e) { return e.filterRight; }
    static float lowGain(const TloomEffect& e) { return e.lowGain; }
    static float bandGain(const TloomEffect& e) { return e.bandGain; }
    static float highGain(const TloomEffect& e) { return e.highGain; }
};
