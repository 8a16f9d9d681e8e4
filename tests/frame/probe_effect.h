// A minimal effect for exercising the base: it records what reaches its overrides.
#pragma once

#include "frame/effect_base.h"

#include <vector>

class ProbeEffect : public EffectBase {
  public:
    explicit ProbeEffect(audioMasterCallback host = nullptr, bool* destroyed = nullptr)
        : EffectBase(host, 16, 4), destroyedFlag(destroyed) {}
    ~ProbeEffect() override {
        if (destroyedFlag) *destroyedFlag = true;
    }
    void process(float**, float**, int32_t) override {}
    float getVu() override { return vu; }
    void setSampleRate(float rate) override {
        EffectBase::setSampleRate(rate);
        sampleRateCalls.push_back(rate);
    }
    void setBlockSize(int32_t frames) override {
        EffectBase::setBlockSize(frames);
        blockSizeCalls.push_back(frames);
    }
    void setParameter(int32_t index, float value) override {
        parameterCalls.push_back({index, value});
    }
    void setProgram(int32_t program) override {
        EffectBase::setProgram(program);
        programCalls.push_back(program);
    }
    void floatToText(float value, char* text) override {
        if (overrideFloatText) {
            text[0] = 'F';
            text[1] = 0;
            (void)value;
        } else {
            EffectBase::floatToText(value, text);
        }
    }
    using EffectBase::callHost;

    struct ParameterCall {
        int32_t index;
        float value;
    };
    float vu = 0.0f;
    bool overrideFloatText = false;
    bool* destroyedFlag;
    std::vector<float> sampleRateCalls;
    std::vector<int32_t> blockSizeCalls;
    std::vector<ParameterCall> parameterCalls;
    std::vector<int32_t> programCalls;
};
