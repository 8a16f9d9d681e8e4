// CorallisEffect: parameters, programs, texts, sample-rate changes and the block loop.
#include "corallis_effect.h"

#include "editor_base.h"
#include "record_entries.h"
#include "sample_guard.h"
#include "value_text.h"

#include <cstring>
#include <new>

namespace {

constexpr char kOn[] = "on";
constexpr char kOff[] = "off";

// The integer a display shows: the extended-precision product truncated toward zero. Values
// are 0..1 here, so the conversion is always in range.
int32_t truncatedScaled(float value, long double scale, long double offset) {
    return static_cast<int32_t>(static_cast<long double>(value) * scale - offset);
}

} // namespace

CorallisEffect::CorallisEffect(audioMasterCallback hostCallback)
    : EffectBase(hostCallback, kCorallisProgramCount, kCorallisParameterCount) {
    const bool linesAllocated = installLinesForRate(44100.0f);
    programs = new (std::nothrow) CorallisProgram[kCorallisProgramCount];
    if (programs) {
        for (int32_t p = 0; p < kCorallisProgramCount; ++p) programs[p].setDefaults();
        setProgram(0);
        setNumInputs(2);
        setNumOutputs(2);
        setHasVu(true);
        setCanMono(true);
        setCanReplacing(true);
        setUniqueId(fourCharCode('L', 'F', 'c', 'o'));
        suspend();
    }
    failed = !programs || !linesAllocated;
}

CorallisEffect::~CorallisEffect() { delete[] programs; }

// ---- parameters ----

void CorallisEffect::setParameter(int32_t index, float value) {
    // Negative indices are host errors that nothing downstream is prepared for.
    if (index < 0) return;
    // The host boundary already clamps; the editor's own calls arrive here directly.
    value = sanitizeParameterValue(value);
    if (index < kCorallisParameterCount) {
        current().value(index) = value;
        applyParameter(index, value);
    }
    if (editor) editor->setParameter(index, value);
}

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
        wetGain = wetPolarity * current().value(kWetMix);
        break;
    case kRandAmt:
        for (EnsembleVoice& v : voices) v.setRandomAmount(value);
        break;
    case kSlowMod:
        slowMode = value != 0.0f;
        // Both speeds follow the new mode (and the editor hears of both before SlowMod).
        setParameter(kSpeed1, current().value(kSpeed1));
        setParameter(kSpeed2, current().value(kSpeed2));
        break;
    default:
        break;
    }
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
    for (int v = 0; v < kVoiceCount; ++v) voices[v].setFeedback(side, t * kFeedbackFactors[v]);
}

float CorallisEffect::getParameter(int32_t index) {
    if (!isParameterIndex(index)) return 0.0f;
    return current().value(index);
}

// ---- programs ----

void CorallisEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kCorallisProgramCount) return;
    currentProgram = program;
    // In index order: SlowMod (13) re-applies both speeds, Neg.Delay (11) corrects the wet gain
    // that Wet Mix (9) computed with the previous polarity.
    for (int32_t i = 0; i < kCorallisParameterCount; ++i) setParameter(i, current().value(i));
    resetVoices(true);
}

void CorallisEffect::setProgramName(char* name) {
    if (name) copyText(current().name, name, sizeof current().name);
}

void CorallisEffect::getProgramName(char* name) {
    if (name) std::strcpy(name, current().name);
}

// ---- texts ----

void CorallisEffect::getParamLabel(int32_t index, char* label) {
    if (!label) return;
    std::strcpy(label, isParameterIndex(index) ? parameterLabel(index) : " ");
}

void CorallisEffect::getParamName(int32_t index, char* text) {
    if (!text) return;
    std::strcpy(text, isParameterIndex(index) ? parameterName(index) : "");
}

void CorallisEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    const float value = current().value(index);
    switch (index) {
    case kDelay1:
    case kDepth1:
    case kDelay2:
    case kDepth2:
        formatTwoDecimals(value * 50.0f, text); // milliseconds, linear in the stored value
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

float CorallisEffect::getVu() {
    const float level = vuLevel;
    vuLevel = 0.0f;
    return level;
}

// ---- sample rate and suspend ----

bool CorallisEffect::installLinesForRate(float rate) {
    EnsembleContext next = context;
    if (!next.setRate(rate)) return false;
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
    for (EnsembleVoice& v : voices) v.reset(restart, context.lineLength);
}

void CorallisEffect::suspend() { resetVoices(false); }

// ---- processing ----

void CorallisEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    run<true>(inputs, outputs, sampleFrames);
}

void CorallisEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    run<false>(inputs, outputs, sampleFrames);
}

template <bool accumulate>
void CorallisEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (!inLeft || !inRight || !outLeft || !outRight) return;
    if (!linesReady)
        runDryOnly<accumulate>(inLeft, inRight, outLeft, outRight, sampleFrames);
    else if (serialMode)
        runVoices<accumulate, true>(inLeft, inRight, outLeft, outRight, sampleFrames);
    else
        runVoices<accumulate, false>(inLeft, inRight, outLeft, outRight, sampleFrames);
}

template <bool accumulate, bool serial>
void CorallisEffect::runVoices(const float* inLeft, const float* inRight, float* outLeft,
                               float* outRight, int32_t sampleFrames) {
    const float dry = current().value(kDryMix);
    const float wet = wetGain;
    const int32_t length = context.lineLength;
    EnsembleRandom random = context.random;
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float inL = inLeft[i];
        const float inR = inRight[i];
        float wetLeft;
        float wetRight;
        if constexpr (serial) {
            // Each voice processes the previous voice's output pair.
            StereoSample chain{inL, inR};
#pragma GCC unroll 12
            for (EnsembleVoice& v : voices)
                chain = v.processSample(chain.left, chain.right, length, random);
            wetLeft = chain.left;
            wetRight = chain.right;
        } else {
            // Summed in groups of three voices, each group rounded on its own, then the groups
            // in order. The right mix takes the right outputs of voices 0-2 and the left
            // outputs of voices 3-11.
            const StereoSample v0 = voices[0].processSample(inL, inR, length, random);
            const StereoSample v1 = voices[1].processSample(inL, inR, length, random);
            const StereoSample v2 = voices[2].processSample(inL, inR, length, random);
            const float leftGroup0 = (v0.left + v1.left) + v2.left;
            const float rightGroup0 = (v0.right + v1.right) + v2.right;
            float laterGroups[3];
#pragma GCC unroll 3
            for (int g = 0; g < 3; ++g) {
                EnsembleVoice* group = voices + 3 * (g + 1);
                const float a = group[0].processSample(inL, inR, length, random).left;
                const float b = group[1].processSample(inL, inR, length, random).left;
                const float c = group[2].processSample(inL, inR, length, random).left;
                laterGroups[g] = (a + b) + c;
            }
            wetLeft = ((leftGroup0 + laterGroups[0]) + laterGroups[1]) + laterGroups[2];
            wetRight = ((rightGroup0 + laterGroups[0]) + laterGroups[1]) + laterGroups[2];
        }
        const float left = dry * inL + wet * wetLeft;
        const float right = dry * inR + wet * wetRight;
        if constexpr (accumulate) {
            outLeft[i] = limitToFinite(outLeft[i] + left);
            outRight[i] = limitToFinite(outRight[i] + right);
        } else {
            outLeft[i] = limitToFinite(left);
            outRight[i] = limitToFinite(right);
        }
    }
    context.random = random;
}

// Only reachable on an effect whose lines could never be allocated: the dry signal alone.
template <bool accumulate>
void CorallisEffect::runDryOnly(const float* inLeft, const float* inRight, float* outLeft,
                                float* outRight, int32_t sampleFrames) {
    const float dry = current().value(kDryMix);
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float left = dry * inLeft[i];
        const float right = dry * inRight[i];
        outLeft[i] = limitToFinite(accumulate ? outLeft[i] + left : left);
        outRight[i] = limitToFinite(accumulate ? outRight[i] + right : right);
    }
}
