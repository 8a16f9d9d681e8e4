// The record's function entries.
#include "frame/record_entries.h"

#include "frame/effect_base.h"

#include <cmath>

namespace {

// Audio is processed only when both stereo pairs of channel pointers exist.
bool hasStereoBuffers(float** inputs, float** outputs) {
    return inputs && outputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
}

} // namespace

float sanitizeParameterValue(float value) {
    if (std::isnan(value)) return 0.0f;
    if (value < 0.0f) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

bool isUsableSampleRate(float rate) {
    return std::isfinite(rate) && rate > 0.0f;
}

intptr_t recordDispatcher(AEffect* record, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                          float opt) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect) return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void recordProcess(AEffect* record, float** inputs, float** outputs, int32_t sampleFrames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect || sampleFrames <= 0 || !hasStereoBuffers(inputs, outputs)) return;
    effect->process(inputs, outputs, sampleFrames);
}

void recordProcessReplacing(AEffect* record, float** inputs, float** outputs,
                            int32_t sampleFrames) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (!effect || sampleFrames <= 0 || !hasStereoBuffers(inputs, outputs)) return;
    effect->processReplacing(inputs, outputs, sampleFrames);
}

void recordSetParameter(AEffect* record, int32_t index, float value) {
    EffectBase* effect = EffectBase::fromRecord(record);
    if (effect) effect->setParameter(index, sanitizeParameterValue(value));
}

float recordGetParameter(AEffect* record, int32_t index) {
    EffectBase* effect = EffectBase::fromRecord(record);
    return effect ? effect->getParameter(index) : 0.0f;
}
