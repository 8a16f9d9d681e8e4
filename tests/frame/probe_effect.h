// A minimal effect for exercising the base: 16 programs of 4 parameters (defaults 0.1 to 0.4,
// no name); it records what reaches its overrides.
#pragma once

#include "frame/effect_base.h"

#include <vector>
#include <xmmintrin.h>

class ProbeEffect : public EffectBase {
  public:
    static constexpr float kDefaults[4] = {0.1f, 0.2f, 0.3f, 0.4f};

    explicit ProbeEffect(audioMasterCallback host = nullptr, bool* destroyed = nullptr)
        : EffectBase(host, 16, 4), destroyedFlag(destroyed) {
        createPrograms(kDefaults, "");
    }
    ~ProbeEffect() override {
        if (destroyedFlag) *destroyedFlag = true;
    }
    // Both channels get `written` (cycled), added or stored; nothing when it is empty.
    void process(float**, float** outputs, int32_t frames) override {
        write(outputs, frames, true);
    }
    void processReplacing(float**, float** outputs, int32_t frames) override {
        write(outputs, frames, false);
    }
    void write(float** outputs, int32_t frames, bool accumulate) {
        floatControlSeen = _mm_getcsr();
        for (int32_t i = 0; i < frames && !written.empty(); ++i)
            for (int c = 0; c < 2; ++c)
                outputs[c][i] = accumulate ? outputs[c][i] + written[i % written.size()]
                                           : written[i % written.size()];
    }
    void setSampleRate(float rate) override {
        EffectBase::setSampleRate(rate);
        sampleRateCalls.push_back(rate);
    }
    void setBlockSize(int32_t frames) override {
        EffectBase::setBlockSize(frames);
        blockSizeCalls.push_back(frames);
    }
    void applyParameter(int32_t index, float value) override {
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
    using EffectBase::setUpStereo;
    using EffectBase::vuLevel;

    struct ParameterCall {
        int32_t index;
        float value;
    };
    bool overrideFloatText = false;
    std::vector<float> written;
    unsigned floatControlSeen = 0; // the MXCSR register during the last processing call
    bool* destroyedFlag;
    std::vector<float> sampleRateCalls;
    std::vector<int32_t> blockSizeCalls;
    std::vector<ParameterCall> parameterCalls;
    std::vector<int32_t> programCalls;
};
