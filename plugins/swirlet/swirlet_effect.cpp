// SwirletEffect: parameters, programs and the phaser arithmetic.
#include "plugins/swirlet/swirlet_effect.h"

#include "frame/value_text.h"

#include <cfloat>
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
constexpr const char* kParamLabels[SwirletEffect::kNumParams] = {
    kPercentLabel, kPercentLabel, kPercentLabel, kPercentLabel,
    kPercentLabel, kPercentLabel, kPercentLabel};
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

// The block-local copy of a side: the stage memories and the LFO point stay in plain locals
// (registers) for the block, while feedback, depth and the LFO step are re-read from the side's
// shared values at every frame, so a change from another thread lands at once.
struct ChannelRun {
    explicit ChannelRun(const PhaserChannel& channel) : oscCos(channel.oscCos), oscSin(channel.oscSin) {
        for (int i = 0; i < 6; ++i)
            stages[i] = channel.stages[i];
    }
    void refreshSettings(const PhaserChannel& shared) {
        feedback = shared.feedback;
        depth = shared.depth;
        stepCos = shared.stepCos;
        stepSin = shared.stepSin;
    }
    // Puts the moving state (stages and LFO point) back.
    void store(PhaserChannel& shared) const {
        for (int i = 0; i < 6; ++i)
            shared.stages[i] = stages[i];
        shared.oscCos = oscCos;
        shared.oscSin = oscSin;
    }

    PhaserChannel::Stage stages[6];
    float oscCos;
    float oscSin;
    float feedback = 0.0f;
    float depth = 0.0f;
    float stepCos = 1.0f;
    float stepSin = 0.0f;
};

// A chain whose last stage is no longer finite (a non-finite or overflowing value reached it)
// holds non-finite values from the stage where it entered on: the chain restarts from silence
// and the frame's wet signal is 0, so nothing non-finite stays in the stage memories or reaches
// the feedback. A finite result passes unchanged.
inline float restartIfNonFinite(ChannelRun& channel, float wet) {
    if (std::fabs(wet) <= FLT_MAX) [[likely]]
        return wet;
    for (auto& stage : channel.stages)
        stage = {0.0f, 0.0f};
    return 0.0f;
}

// One rotation of an LFO, both components from the old values.
inline void advance(ChannelRun& channel) {
    const float c = channel.oscCos;
    const float s = channel.oscSin;
    channel.oscCos = c * channel.stepCos - s * channel.stepSin;
    channel.oscSin = c * channel.stepSin + s * channel.stepCos;
}

} // namespace

SwirletEffect::SwirletEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : StereoEffect(hostCallback, kNumPrograms, kNumParams) {
    denormalOffset = 1e-24f;
    parameterNames = kParamNames;
    parameterLabels = kParamLabels;
    if (!createPrograms(kDefaults, kProgramName)) return;
    setUpStereo(fourCharCode('L', 'F', 's', 'w'));
    sampleRate = 44100.0f;
    halfPeriod = 0.5f / 44100.0f;
    // Program 0 current and its values applied (no editor yet); the chains and sweeps start at
    // rest.
    resetChannels();
    setProgram(0);
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    createEditor(editorFactory);
}

void SwirletEffect::applyParameter(int32_t index, float value) {
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

template <bool accumulate>
void SwirletEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];

    // A program change since the last block: both chains and sweeps start again from rest.
    if (restartRequested.load() && restartRequested.exchange(false)) resetChannels();

    // The stage memories live in locals for the block, so the compiler keeps them in registers
    // instead of reloading them after every output store.
    ChannelRun l(left);
    ChannelRun r(right);
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float inL = inLeft[i];
        const float inR = inRight[i];
        l.refreshSettings(left);
        r.refreshSettings(right);
        const float crossGain = cross;

        advance(l);
        advance(r);
        const float yL6 = l.stages[5].stageOut;
        const float yR6 = r.stages[5].stageOut;
        const float xL = yL6 * l.feedback + inR * crossGain + denormalOffset + inL;
        const float xR = yR6 * r.feedback + inR - denormalOffset + inL * crossGain;
        const float aL = -0.5f - 0.4f * std::fabs(l.oscCos);
        const float aR = -0.5f - 0.4f * std::fabs(r.oscSin);
        const float wetL = restartIfNonFinite(l, runStages(l.stages, xL, aL));
        const float wetR = restartIfNonFinite(r, runStages(r.stages, xR, aR));
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
    l.store(left);
    r.store(right);
    renormaliseOscillators();
}

// The two loops StereoEffect's processing operations call.
template void SwirletEffect::run<true>(float**, float**, int32_t);
template void SwirletEffect::run<false>(float**, float**, int32_t);

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

// Both chains and sweeps restart with every program change. The audio thread may be inside a
// block with its own copy of them, so the restart is left to it: the next block begins with it.
void SwirletEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    restartRequested = true;
    EffectBase::setProgram(program);
}

void SwirletEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    // A percentage of the stored value; Cross runs from -100 to +100.
    const float v = storedValue(index);
    if (index == kCross)
        formatScaledTwoDecimals(v, 200.0, 100.0, text);
    else
        formatScaledTwoDecimals(v, 100.0, 0.0, text);
}

void SwirletEffect::setSampleRate(float rate) {
    sampleRate = rate;
    halfPeriod = 0.5f / rate;
    setParameter(kRateL, storedValue(kRateL));
    setParameter(kRateR, storedValue(kRateR));
}
