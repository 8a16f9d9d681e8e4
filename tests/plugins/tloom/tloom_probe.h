// TloomEffectProbe: lets the unit tests look at (and, for fault cases, disturb) the effect's
// derived values and state without widening its public interface.
#pragma once

#include "plugins/tloom/tloom_effect.h"

struct TloomEffectProbe {
    static float feedbackLeft(const TloomEffect& e) { return e.left.feedback; }
    static float feedbackRight(const TloomEffect& e) { return e.right.feedback; }
    static int32_t shapeLeft(const TloomEffect& e) { return e.left.shape; }
    static int32_t shapeRight(const TloomEffect& e) { return e.right.shape; }
    static const float* weightsLeft(const TloomEffect& e) { return e.left.shapeWeights; }
    static const float* weightsRight(const TloomEffect& e) { return e.right.shapeWeights; }
    static float speedAdjustLeft(const TloomEffect& e) { return e.left.speedAdjust; }
    static float speedAdjustRight(const TloomEffect& e) { return e.right.speedAdjust; }
    static float invSampleRate(const TloomEffect& e) { return e.invSampleRate; }
    static QuadratureOscillator& gapSpeedLeft(TloomEffect& e) { return e.left.gapSpeedOsc; }
    static QuadratureOscillator& gapSpeedRight(TloomEffect& e) { return e.right.gapSpeedOsc; }
    static QuadratureOscillator& gapModLeft(TloomEffect& e) { return e.left.gapModOsc; }
    static QuadratureOscillator& gapModRight(TloomEffect& e) { return e.right.gapModOsc; }
    static const GapLine& lineLeft(const TloomEffect& e) { return e.left.line; }
    static const GapLine& lineRight(const TloomEffect& e) { return e.right.line; }
    static TloomFilter& filterLeft(TloomEffect& e) { return e.left.filter; }
    static TloomFilter& filterRight(TloomEffect& e) { return e.right.filter; }
    static float lowGain(const TloomEffect& e) { return e.lowGain; }
    static float bandGain(const TloomEffect& e) { return e.bandGain; }
    static float highGain(const TloomEffect& e) { return e.highGain; }
};
