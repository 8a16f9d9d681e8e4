// StereoEffect: the base of an effect whose two processing operations are one block loop, a
// member template `run<accumulate>(inputs, outputs, sampleFrames)` of the derived class:
// process adds into the outputs (accumulate true), processReplacing overwrites them. The
// record's processing entries have checked the block (at least one frame, both stereo pairs of
// channels) before either is called.
#pragma once

#include "frame/effect_base.h"

template <class Derived> class StereoEffect : public EffectBase {
  public:
    using EffectBase::EffectBase;

    void process(float** inputs, float** outputs, int32_t sampleFrames) override {
        static_cast<Derived*>(this)->template run<true>(inputs, outputs, sampleFrames);
    }
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override {
        static_cast<Derived*>(this)->template run<false>(inputs, outputs, sampleFrames);
    }
};
