// The five plain functions whose addresses stand in the effect record. Each reaches the effect
// through the record's object field; they are the boundary where host input is checked: the
// processing entries pass only blocks of at least one frame with both stereo pairs of channels,
// run the effect with flush-to-zero and denormals-are-zero set (the host's setting is restored
// afterwards) and apply the output rule to what the effect wrote.
#pragma once

#include "frame/aeffect.h"

intptr_t VST_CALL recordDispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value,
                                   void* ptr, float opt);
void VST_CALL recordProcess(AEffect* record, float** inputs, float** outputs, int32_t sampleFrames);
void VST_CALL recordProcessReplacing(AEffect* record, float** inputs, float** outputs,
                                     int32_t sampleFrames);
void VST_CALL recordSetParameter(AEffect* record, int32_t index, float value);
float VST_CALL recordGetParameter(AEffect* record, int32_t index);

// A parameter value as the effects may take it: NaN becomes 0, everything else is clamped to
// the 0..1 range every parameter is defined on. EffectBase::setParameter applies it to every
// change, from the host or from the editor.
float sanitizeParameterValue(float value);

// A sample rate an effect can work with: finite and at least 1 Hz. Others (zero, negative,
// subnormal, below 1 Hz, infinite, NaN) are ignored and the previous rate stays: below 1 Hz the
// effects' rate-derived steps and coefficients are no longer meaningful numbers.
bool isUsableSampleRate(float rate);
