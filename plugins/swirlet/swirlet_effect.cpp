// SwirletEffect: parameters, programs and the phaser arithmetic.
#include "plugins/swirlet/swirlet_effect.h"

#include "frame/value_text.h"

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <new>

namespace {

constexpr float kDefaults[SwirletEffect::kNumParams] = {0.5f, 0.5f, 0.25f, 0.5f, 0.5f, 0.25f, 0.5f};
constexpr const char* kParamNames[SwirletEffect::kNumParams] = {
    "Depth L", "Rate L", "Feedback L", "Depth R", "Rate R", "Feedback R", "Cross"};
constexpr char kProgramName[] = "Swirlet";
constexpr char kPercentLabel[] = " %";
constexpr float kFourPi = 12.566371f;

// One frame through a side's six all-pass stages with the common coefficient a.
inline float runStages(PhaserChannel::Stage* stages, float x, float a) {
    for (int i = 0; i < 6; ++i) {
        const float y = a * (x - stages[i].stageOut) + stages[i].stageIn;
        stages[i].stageIn = x;
        stages[i].stageOut = y;
        x = y;
    }
    return x;
}

// One rotation of an LFO, both components from the old values.
inline void advance(PhaserChannel& channel) {
    const float c = channel.oscCos;
    const float s = channel.oscSin;
    channel.oscCos = c * channel.stepCos - s * channel.stepSin;
    channel.oscSin = c * channel.stepSin + s * channel.stepCos;
}

} // namespace

SwirletEffect::SwirletEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : EffectBase(hostCallback, kNumPrograms, kNumParams) {
    denormalOffset = 1e-24f;
    programs = new (std::nothrow) SwirletProgram[kNumPrograms];
    if (!programs) {
        failed = true;
        return;
    }
    for (int32_t p = 0; p < kNumPrograms; ++p) {
        std::memcpy(programs[p].values, kDefaults, sizeof kDefaults);
        copyText(programs[p].name, kProgramName, sizeof programs[p].name);
    }
    currentProgram = 0;
    resetChannels();
    setNumInputs(2);
    setNumOutputs(2);
    setHasVu(true);
    setCanMono(true);
    setCanReplacing(true);
    setUniqueId(fourCharCode('L', 'F', 's', 'w'));
    sampleRate = 44100.0f;
    halfPeriod = 0.5f / 44100.0f;
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[0].values[i]);
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    if (editorFactory && !editorFactory(*this)) failed = true;
}

SwirletEffect::~SwirletEffect() {
    delete[] programs;
}

void SwirletEffect::setParameter(int32_t index, float value) {
    if (!isParameterIndex(index)) return;
    programs[currentProgram].values[index] = value;
    if (editor) editor->setParameter(index, value);
    switch (index) {
    case kDepthL:
        left.depth = value;
        break;
    case kDepthR:
        right.depth = value;
        break;
    case kRateL:
        setRate(left, value);
        break;
    case kRateR:
        setRate(right, value);
        break;
    case kFeedbackL:
        left.feedback = value * 0.8f;
        break;
    case kFeedbackR:
        right.feedback = value * 0.8f;
        break;
    case kCross:
        cross = (1.0f - value * 2.0f) * 0.9f;
        break;
    default:
        break;
    }
}

// The LFO step for a rate value: t = 0.05 + 0.45 v Hz, w = 2 pi t / sample rate. The current
// point of the oscillator stays, so the sweep does not jump.
void SwirletEffect::setRate(PhaserChannel& channel, float value) {
    const float t = value * 0.45f + 0.05f;
    const float w = halfPeriod * kFourPi * t;
    channel.stepCos = static_cast<float>(std::cos(static_cast<double>(w)));
    channel.stepSin = static_cast<float>(std::sin(static_cast<double>(w)));
}

float SwirletEffect::getParameter(int32_t index) {
    if (!isParameterIndex(index)) return 0.0f;
    return programs[currentProgram].values[index];
}

void SwirletEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    run<true>(inputs, outputs, sampleFrames);
}

void SwirletEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    run<false>(inputs, outputs, sampleFrames);
}

template <bool accumulate>
void SwirletEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames <= 0) return;
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];

    // The stage memories live in locals for the block, so the compiler keeps them in registers
    // instead of reloading them after every output store.
    PhaserChannel l = left;
    PhaserChannel r = right;
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float inL = inLeft[i];
        const float inR = inRight[i];
        // Coefficients are re-read every frame so a change from another thread lands at once.
        l.feedback = left.feedback;
        l.depth = left.depth;
        l.stepCos = left.stepCos;
        l.stepSin = left.stepSin;
        r.feedback = right.feedback;
        r.depth = right.depth;
        r.stepCos = right.stepCos;
        r.stepSin = right.stepSin;
        const float crossGain = cross;

        advance(l);
        advance(r);
        const float yL6 = l.stages[5].stageOut;
        const float yR6 = r.stages[5].stageOut;
        const float xL = yL6 * l.feedback + inR * crossGain + denormalOffset + inL;
        const float xR = yR6 * r.feedback + inR - denormalOffset + inL * crossGain;
        const float aL = -0.5f - 0.4f * std::fabs(l.oscCos);
        const float aR = -0.5f - 0.4f * std::fabs(r.oscSin);
        const float wetL = runStages(l.stages, xL, aL);
        const float wetR = runStages(r.stages, xR, aR);
        const float outL = 0.5f * (inL + l.depth * wetL);
        const float outR = 0.5f * (inR + r.depth * wetR);
        if constexpr (accumulate) {
            outLeft[i] += outL;
            outRight[i] += outR;
        } else {
            outLeft[i] = outL;
            outRight[i] = outR;
        }
    }
    std::memcpy(left.stages, l.stages, sizeof l.stages);
    std::memcpy(right.stages, r.stages, sizeof r.stages);
    left.oscCos = l.oscCos;
    left.oscSin = l.oscSin;
    right.oscCos = r.oscCos;
    right.oscSin = r.oscSin;
    renormaliseOscillators();
}

// One Newton step back onto the unit circle against rounding drift.
void SwirletEffect::renormaliseOscillators() {
    for (PhaserChannel* channel : {&left, &right}) {
        const float g =
            1.5f - 0.5f * (channel->oscCos * channel->oscCos + channel->oscSin * channel->oscSin);
        channel->oscCos *= g;
        channel->oscSin *= g;
    }
}

void SwirletEffect::resetChannels() {
    for (PhaserChannel* channel : {&left, &right}) {
        for (auto& stage : channel->stages)
            stage = {0.0f, 0.0f};
        channel->oscCos = 1.0f;
        channel->oscSin = 0.0f;
    }
}

void SwirletEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    currentProgram = program;
    resetChannels();
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[program].values[i]);
}

void SwirletEffect::setProgramName(char* name) {
    if (name) copyText(programs[currentProgram].name, name, sizeof programs[currentProgram].name);
}

void SwirletEffect::getProgramName(char* name) {
    if (name) std::strcpy(name, programs[currentProgram].name);
}

void SwirletEffect::getParamLabel(int32_t index, char* label) {
    if (!label) return;
    std::strcpy(label, isParameterIndex(index) ? kPercentLabel : "");
}

void SwirletEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    // The display number is taken in double precision from the stored value, like every value
    // text of the family.
    const double v = programs[currentProgram].values[index];
    formatTwoDecimals(index == kCross ? v * 200.0 - 100.0 : v * 100.0, text);
}

void SwirletEffect::getParamName(int32_t index, char* text) {
    if (!text) return;
    std::strcpy(text, isParameterIndex(index) ? kParamNames[index] : "");
}

float SwirletEffect::getVu() {
    const float level = vuLevel;
    vuLevel = 0.0f;
    return level;
}

void SwirletEffect::setSampleRate(float rate) {
    sampleRate = rate;
    halfPeriod = 0.5f / rate;
    setParameter(kRateL, programs[currentProgram].values[kRateL]);
    setParameter(kRateR, programs[currentProgram].values[kRateR]);
}
