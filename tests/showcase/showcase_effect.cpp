// ShowcaseEffect: parameters and the stereo gain stage.
#include "tests/showcase/showcase_effect.h"

#include "frame/value_text.h"

#include <algorithm>

namespace {

constexpr const char* kParamNames[ShowcaseEffect::kNumParams] = {
    "Gain",     "Pan",    "Mute",     "Overlay",   "V Switch",  "H Switch",
    "Rocker",   "Frames", "TwoFrame", "Momentary", "Animation", "V Slider",
    "H Slider", "Digits", "Meter",    "Value",     "Text",      "Menu"};
constexpr const char* kParamLabels[ShowcaseEffect::kNumParams] = {
    " %", " %", "", "", "", "", "", "", "", "", "", " %", " %", "", "", "", "", ""};
// Unity gain, centred, not muted, the rocker at rest, the rest at 0 or the middle.
constexpr float kDefaults[ShowcaseEffect::kNumParams] = {0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f,
                                                         0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 0.5f,
                                                         0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.0f};
constexpr char kProgramName[] = "Showcase";

} // namespace

ShowcaseEffect::ShowcaseEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : StereoEffect(hostCallback, kNumPrograms, kNumParams) {
    parameterNames = kParamNames;
    parameterLabels = kParamLabels;
    if (!createPrograms(kDefaults, kProgramName)) return;
    setUpStereo(fourCharCode('T', 's', 'h', 'w'));
    setProgram(0);
    createEditor(editorFactory);
}

void ShowcaseEffect::applyParameter(int32_t index, float) {
    if (index == kGain || index == kPan || index == kMute) updateGains();
}

// Gain runs from silence to twice the input; pan lowers the far side linearly from the centre.
void ShowcaseEffect::updateGains() {
    const float gain = storedValue(kGain) * 2.0f;
    const float pan = storedValue(kPan);
    const bool muted = storedValue(kMute) >= 0.5f;
    gainLeft = muted ? 0.0f : gain * std::min(1.0f, 2.0f - 2.0f * pan);
    gainRight = muted ? 0.0f : gain * std::min(1.0f, 2.0f * pan);
}

template <bool accumulate>
void ShowcaseEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    const float l = gainLeft;
    const float r = gainRight;
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float outL = inputs[0][i] * l;
        const float outR = inputs[1][i] * r;
        if constexpr (accumulate) {
            outputs[0][i] += outL;
            outputs[1][i] += outR;
        } else {
            outputs[0][i] = outL;
            outputs[1][i] = outR;
        }
    }
}

template void ShowcaseEffect::run<true>(float**, float**, int32_t);
template void ShowcaseEffect::run<false>(float**, float**, int32_t);

void ShowcaseEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    formatScaledTwoDecimals(storedValue(index), 100.0, 0.0, text);
}
