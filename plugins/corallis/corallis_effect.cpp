// CorallisEffect: parameters, programs, texts, sample-rate changes and the block loop.
#include "plugins/corallis/corallis_effect.h"

#include "frame/value_text.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr char kOn[] = "on";
constexpr char kOff[] = "off";

// The integer a display shows: the extended-precision product truncated toward zero.
int32_t truncatedScaled(float value, long double scale, long double offset) {
    return truncateToInt32(static_cast<long double>(value) * scale - offset);
}

} // namespace

CorallisEffect::CorallisEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : StereoEffect(hostCallback, kCorallisProgramCount, kCorallisParameterCount) {
    // The editor hears every index, also those above the last parameter.
    editorHearsUnknownIndices = true;
    parameterNames = parameterNameTable();
    parameterLabels = parameterLabelTable();
    const bool linesAllocated = installLinesForRate(44100.0f);
    if (createPrograms(parameterDefaults(), kCorallisProgramName, parameterFields())) {
        setProgram(0);
        setUpStereo(fourCharCode('L', 'F', 'c', 'o'));
        suspend();
    }
    if (!linesAllocated) failed = true;
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    createEditor(editorFactory);
}

// ---- parameters ----

void CorallisEffect::applyParameter(int32_t index, float value) {
    switch (index) {
    case kDelay1:
        applyDelay(Side::Left, kLeftFactors, value);
        break;
    case kDelay2:
        applyDelay(Side::Right, kRightFactors, value);
        break;
    case kDepth1:
        applyDepth(Side::Left, kLeftFactors, value);
        break;
    case kDepth2:
        applyDepth(Side::Right, kRightFactors, value);
        break;
    case kSpeed1:
        speedLeft = value * value;
        if (!slowMode) speedLeft = speedLeft * 10.0f;
        applySpeed(Side::Left, kLeftFactors, speedLeft, value);
        break;
    case kSpeed2:
        speedRight = value * value;
        if (!slowMode) speedRight = speedRight * 10.0f;
        applySpeed(Side::Right, kRightFactors, speedRight, value);
        break;
    case kFeedBack1:
        applyFeedback(Side::Left, value);
        break;
    case kFeedBack2:
        applyFeedback(Side::Right, value);
        break;
    case kDryMix:
        break; // read from the program while processing
    case kWetMix:
        wetGain = value * wetPolarity;
        break;
    case kSerialMod:
        serialMode = value != 0.0f;
        break;
    case kNegDelay:
        wetPolarity = 1.0f - 2.0f * value;
        wetGain = wetPolarity * storedValue(kWetMix);
        break;
    case kRandAmt:
        for (EnsembleVoice& v : voices)
            v.setRandomAmount(value);
        break;
    case kSlowMod:
        slowMode = value != 0.0f;
        // Both speeds follow the new mode (and the editor hears of both before SlowMod).
        setParameter(kSpeed1, storedValue(kSpeed1));
        setParameter(kSpeed2, storedValue(kSpeed2));
        break;
    default:
        break;
    }
    settingsChanges.announce();
}

void CorallisEffect::applyDelay(Side side, const SideFactors& factors, float value) {
    for (int v = 0; v < kVoiceCount; ++v)
        voices[v].setDelay(side, value * factors.delay[v], context);
}

void CorallisEffect::applyDepth(Side side, const SideFactors& factors, float value) {
    const float squared = value * value;
    for (int v = 0; v < kVoiceCount; ++v) {
        const float shaped = v < kShapedVoiceCount ? squared : value;
        voices[v].setDepth(side, shaped * factors.depth[v], context);
    }
}

void CorallisEffect::applySpeed(Side side, const SideFactors& factors, float shapedSpeed,
                                float value) {
    for (int v = 0; v < kVoiceCount; ++v) {
        const float shaped = v < kShapedVoiceCount ? shapedSpeed : value;
        voices[v].setSpeed(side, shaped * factors.speed[v], context);
    }
}

void CorallisEffect::applyFeedback(Side side, float value) {
    const float t = 2.0f * value - 1.0f;
    for (int v = 0; v < kVoiceCount; ++v)
        voices[v].setFeedback(side, t * kFeedbackFactors[v]);
}

// ---- programs ----

// In index order through the one parameter path: SlowMod (13) re-applies both speeds,
// Neg.Delay (11) corrects the wet gain that Wet Mix (9) computed with the previous polarity.
// Then every line is silenced and every sweep restarted. The audio thread may be inside a block
// with its own copies of the sweeps, so that is left to it: the next run of frames begins with it.
void CorallisEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kCorallisProgramCount) return;
    EffectBase::setProgram(program);
    for (EnsembleVoice& v : voices)
        v.requestRestart();
    settingsChanges.announce();
}

// ---- texts ----

// An index out of range reads as a single space.
void CorallisEffect::getParamLabel(int32_t index, char* label) {
    if (label && !isParameterIndex(index))
        std::strcpy(label, " ");
    else
        EffectBase::getParamLabel(index, label);
}

void CorallisEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    const float value = storedValue(index);
    switch (index) {
    case kDelay1:
    case kDepth1:
    case kDelay2:
    case kDepth2:
        // The stored value times 50 as milliseconds, linear even where the voice uses its
        // square.
        formatScaledTwoDecimals(value, 50.0, 0.0, text);
        break;
    case kFeedBack1:
    case kFeedBack2:
        intToText(truncatedScaled(value, 200.0L, 100.0L), text);
        break;
    case kSerialMod:
        std::strcpy(text, serialMode ? kOn : kOff);
        break;
    case kSlowMod:
        std::strcpy(text, slowMode ? kOn : kOff);
        break;
    case kNegDelay:
        // "on" means positive wet, the default.
        std::strcpy(text, value == 0.0f ? kOn : kOff);
        break;
    default: // the speeds, Dry Mix, Wet Mix and Rand. Amt
        intToText(truncatedScaled(value, 100.0L, 0.0L), text);
        break;
    }
}

// ---- sample rate and suspend ----

bool CorallisEffect::installLinesForRate(float rate) {
    EnsembleContext next = context;
    if (!next.setRate(rate)) return false;
    if (linesReady && next.lineLength == context.lineLength) {
        // Same length: the lines in place are silenced and rewound, nothing is allocated.
        context = next;
        for (EnsembleVoice& v : voices)
            v.rewindLines(context.lineLength);
        return true;
    }
    std::unique_ptr<float[]> fresh[kVoiceCount][2];
    for (auto& pair : fresh) {
        for (auto& line : pair) {
            line.reset(new (std::nothrow) float[static_cast<size_t>(next.lineLength)]);
            if (!line) return false; // the old lines stay in place
        }
    }
    context = next;
    for (int v = 0; v < kVoiceCount; ++v)
        voices[v].installLines(std::move(fresh[v][0]), std::move(fresh[v][1]), context.lineLength);
    linesReady = true;
    return true;
}

void CorallisEffect::setSampleRate(float rate) {
    // A rate the lines cannot be built for leaves the effect running at its previous rate, and
    // the stored rate says so.
    if (!installLinesForRate(rate)) return;
    sampleRate = rate;
    setProgram(currentProgram);
}

void CorallisEffect::resetVoices(bool restart) {
    for (EnsembleVoice& v : voices)
        v.reset(restart, context.lineLength);
}

void CorallisEffect::suspend() {
    resetVoices(false);
}

// ---- processing ----

template <bool accumulate>
void CorallisEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (!linesReady)
        runDryOnly<accumulate>(inLeft, inRight, outLeft, outRight, sampleFrames);
    else if (serialMode)
        runVoices<accumulate, true>(inLeft, inRight, outLeft, outRight, sampleFrames);
    else
        runVoices<accumulate, false>(inLeft, inRight, outLeft, outRight, sampleFrames);
}

// The two loops StereoEffect's processing operations call.
template void CorallisEffect::run<true>(float**, float**, int32_t);
template void CorallisEffect::run<false>(float**, float**, int32_t);

// The voices run one after another over runs of frames (each voice's sweep state stays in
// registers for the run) instead of all twelve per frame. That gives the same samples as long
// as the shared generator is drawn in the same order, so a run never extends past the first
// frame on which any side reaches the bottom of its sweep: draws on that last frame happen in
// voice order, left before right, just as frame by frame.
template <bool accumulate, bool serial>
void CorallisEffect::runVoices(const float* inLeft, const float* inRight, float* outLeft,
                               float* outRight, int32_t sampleFrames) {
    const float dry = storedValue(kDryMix);
    const float wet = wetGain;
    const int32_t length = context.lineLength;
    EnsembleRandom random = context.random;
    float wetLeft[kRunFrames];
    float wetRight[kRunFrames];
    float scratchLeft[kRunFrames];
    float scratchRight[kRunFrames];
    float group1[kRunFrames];
    float group2[kRunFrames];
    float group3[kRunFrames];

    for (int32_t done = 0; done < sampleFrames;) {
        if (settingsChanges.moved(seenChanges)) [[unlikely]]
            for (EnsembleVoice& v : voices)
                v.takeUp(length);
        int64_t run = std::min<int64_t>(sampleFrames - done, kRunFrames);
        for (const EnsembleVoice& v : voices)
            run = std::min(run, v.framesUntilDraw() + 1);
        const auto frames = static_cast<int32_t>(run);
        const float* inL = inLeft + done;
        const float* inR = inRight + done;

        if constexpr (serial) {
            // Each voice processes the previous voice's output pair.
            voices[0].processBlock(inL, inR, wetLeft, wetRight, frames, length, random);
            for (int v = 1; v < kVoiceCount; ++v)
                voices[v].processBlock(wetLeft, wetRight, wetLeft, wetRight, frames, length,
                                       random);
        } else {
            // Summed in groups of three voices, each group rounded on its own, then the groups
            // in order. The right mix takes the right outputs of voices 0-2 and the left
            // outputs of voices 3-11.
            voices[0].processBlock(inL, inR, wetLeft, wetRight, frames, length, random);
            for (int v = 1; v < 3; ++v) {
                voices[v].processBlock(inL, inR, scratchLeft, scratchRight, frames, length, random);
                for (int32_t i = 0; i < frames; ++i) {
                    wetLeft[i] = wetLeft[i] + scratchLeft[i];
                    wetRight[i] = wetRight[i] + scratchRight[i];
                }
            }
            float* groups[3] = {group1, group2, group3};
            for (int g = 0; g < 3; ++g) {
                float* sum = groups[g];
                voices[3 * g + 3].processBlock(inL, inR, sum, scratchRight, frames, length, random);
                for (int v = 3 * g + 4; v < 3 * g + 6; ++v) {
                    voices[v].processBlock(inL, inR, scratchLeft, scratchRight, frames, length,
                                           random);
                    for (int32_t i = 0; i < frames; ++i)
                        sum[i] = sum[i] + scratchLeft[i];
                }
            }
            for (int32_t i = 0; i < frames; ++i) {
                wetLeft[i] = ((wetLeft[i] + group1[i]) + group2[i]) + group3[i];
                wetRight[i] = ((wetRight[i] + group1[i]) + group2[i]) + group3[i];
            }
        }

        float* outL = outLeft + done;
        float* outR = outRight + done;
        for (int32_t i = 0; i < frames; ++i) {
            const float left = dry * inL[i] + wet * wetLeft[i];
            const float right = dry * inR[i] + wet * wetRight[i];
            if constexpr (accumulate) {
                outL[i] += left;
                outR[i] += right;
            } else {
                outL[i] = left;
                outR[i] = right;
            }
        }
        done += frames;
    }
    context.random = random;
}

// Only reachable on an effect whose lines could never be allocated: the dry signal alone.
template <bool accumulate>
void CorallisEffect::runDryOnly(const float* inLeft, const float* inRight, float* outLeft,
                                float* outRight, int32_t sampleFrames) {
    const float dry = storedValue(kDryMix);
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float left = dry * inLeft[i];
        const float right = dry * inRight[i];
        outLeft[i] = accumulate ? outLeft[i] + left : left;
        outRight[i] = accumulate ? outRight[i] + right : right;
    }
}
