// SwirletEffect: parameters, programs and the phaser arithmetic.
#include "plugins/swirlet/swirlet_effect.h"

#include "frame/value_text.h"

#include <algorithm>
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

// The per-frame copy of a side's settings: the stage memories and the LFO point stay in a
// block-local channel, while feedback, depth and the LFO step are re-read at every frame from
// the audio thread's own copy, which takes announced changes between runs of kRunFrames frames.
template <class Settings>
inline void refreshSettings(PhaserChannel& local, const Settings& shared) {
    local.feedback = shared.feedback;
    local.depth = shared.depth;
    local.stepCos = shared.stepCos;
    local.stepSin = shared.stepSin;
}

// Puts a block-local channel's moving state (stages and LFO point) back.
inline void storeState(PhaserChannel& shared, const PhaserChannel& local) {
    for (int i = 0; i < 6; ++i)
        shared.stages[i] = local.stages[i];
    shared.oscCos = local.oscCos;
    shared.oscSin = local.oscSin;
}

// A chain whose last stage is no longer finite (a non-finite or overflowing value reached it)
// holds non-finite values from the stage where it entered on: the chain restarts from silence
// and the frame's wet signal is 0, so nothing non-finite stays in the stage memories or reaches
// the feedback. A finite result passes unchanged.
inline float restartIfNonFinite(PhaserChannel& channel, float wet) {
    if (std::fabs(wet) <= FLT_MAX) [[likely]]
        return wet;
    for (auto& stage : channel.stages)
        stage = {0.0f, 0.0f};
    return 0.0f;
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
        leftSettings.depth = value;
        break;
    case kDepthR:
        rightSettings.depth = value;
        break;
    case kRateL:
        setRate(leftSettings, value);
        break;
    case kRateR:
        setRate(rightSettings, value);
        break;
    case kFeedbackL:
        leftSettings.feedback = value * 0.8f;
        break;
    case kFeedbackR:
        rightSettings.feedback = value * 0.8f;
        break;
    case kCross:
        cross = (1.0f - value * 2.0f) * 0.9f;
        break;
    default:
        break;
    }
    settingsChanges.announce();
}

// The LFO step for a rate value: t = 0.05 + 0.45 v Hz, w = 2 pi t / sample rate. The current
// point of the oscillator stays, so the sweep does not jump.
void SwirletEffect::setRate(PhaserSettings& settings, float value) {
    const float t = value * 0.45f + 0.05f;
    const float w = halfPeriod * kFourPi * t;
    settings.stepCos = static_cast<float>(std::cos(static_cast<double>(w)));
    settings.stepSin = static_cast<float>(std::sin(static_cast<double>(w)));
}

// The audio thread's copies of the settings, read as plain floats by the frame loop.
void SwirletEffect::takeSettings() {
    refreshSettings(left, leftSettings);
    refreshSettings(right, rightSettings);
    crossInUse = cross;
}

PhaserChannel SwirletEffect::channel(int side) const {
    PhaserChannel copy = side == 0 ? left : right;
    refreshSettings(copy, side == 0 ? leftSettings : rightSettings);
    return copy;
}

// The block in runs of at most kRunFrames frames. Between runs the audio thread looks for
// announced changes and, when there are any, takes the new settings, so a change lands within
// kRunFrames frames. The frame loop itself holds no atomic access: with one, the compiler keeps
// the stage memories in memory instead of registers.
template <bool accumulate>
void SwirletEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    // A program change since the last block: both chains and sweeps start again from rest.
    if (restartRequested.load() && restartRequested.exchange(false)) resetChannels();
    uint32_t seenChanges = settingsChanges.current();
    takeSettings();
    for (int32_t done = 0; done < sampleFrames; done += kRunFrames) {
        if (settingsChanges.moved(seenChanges)) [[unlikely]]
            takeSettings();
        runFrames<accumulate>(inputs, outputs, done, std::min(sampleFrames, done + kRunFrames));
    }
    renormaliseOscillators();
}

// Frames `first` to `end` - 1 with the settings taken.
template <bool accumulate>
void SwirletEffect::runFrames(float** inputs, float** outputs, int32_t first, int32_t end) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];

    // The stage memories live in locals for the run, so the compiler keeps them in registers
    // instead of reloading them after every output store.
    PhaserChannel l = left;
    PhaserChannel r = right;
    for (int32_t i = first; i < end; ++i) {
        const float inL = inLeft[i];
        const float inR = inRight[i];
        refreshSettings(l, left);
        refreshSettings(r, right);
        const float crossGain = crossInUse;

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
    storeState(left, l);
    storeState(right, r);
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
