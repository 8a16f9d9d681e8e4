// The record's function entries.
#include "frame/record_entries.h"

#include "frame/denormals.h"
#include "frame/effect_base.h"
#include "frame/finite_sample.h"

#include <cmath>

namespace {

// Audio is processed only when both stereo pairs of channel pointers exist.
bool hasStereoBuffers(float** inputs, float** outputs) {
    return inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
}

// The output rule of every effect, applied to both channels after the effect has written them.
void guardOutputs(float** outputs, int32_t sampleFrames) {
    guardSamples(outputs[0], sampleFrames);
    guardSamples(outputs[1], sampleFrames);
}

} // namespace

float sanitizeParameterValue(float value) {
    if (std::isnan(value)) return 0.0f;
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

bool isUsableSampleRate(float rate) {
    return std::isfinite(rate) && rate >= 1.0f;
}

intptr_t VST_CALL recordDispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value,
                                   void* ptr, float opt) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect) return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VST_CALL recordProcess(AEffect* record, float** inputs, float** outputs,
                            int32_t sampleFrames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect || sampleFrames <= 0 || !hasStereoBuffers(inputs, outputs)) return;
    ScopedFlushDenormals flushDenormals;
    effect->process(inputs, outputs, sampleFrames);
    guardOutputs(outputs, sampleFrames);
}

void VST_CALL recordProcessReplacing(AEffect* record, float** inputs, float** outputs,
                                     int32_t sampleFrames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect || sampleFrames <= 0 || !hasStereoBuffers(inputs, outputs)) return;
    ScopedFlushDenormals flushDenormals;
    effect->processReplacing(inputs, outputs, sampleFrames);
    guardOutputs(outputs, sampleFrames);
}

void VST_CALL recordSetParameter(AEffect* record, int32_t index, float value) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect) effect->setParameter(index, value);
}

float VST_CALL recordGetParameter(AEffect* record, int32_t index) {
    EffectBase* effect = EffectBase::fromRecord(record);
    return effect ? effect->getParameter(index) : 0.0f;
}
