// CorallisEffect: parameters, programs, texts, sample-rate changes and the block loop.
#include "plugins/corallis/corallis_effect.h"

#include "frame/finite_sample.h"
#include "frame/record_entries.h"
#include "frame/value_text.h"
#include "plugins/corallis/sample_guard.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Delay and depth texts: the stored value times 50 as milliseconds, "%.2f", linear in the stored
// value even where the voice uses its square. The product is taken in double precision, like
// every value text of the family.
void formatMilliseconds(float value, char* text) {
    formatTwoDecimals(static_cast<double>(value) * 50.0, text);
}

constexpr char kOn[] = "on";
constexpr char kOff[] = "off";

// The integer a display shows: the extended-precision product truncated toward zero. Values
// are 0..1 here, so the conversion is always in range.
int32_t truncatedScaled(float value, long double scale, long double offset) {
    return static_cast<int32_t>(static_cast<long double>(value) * scale - offset);
}

} // namespace

CorallisEffect::CorallisEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : EffectBase(hostCallback, kCorallisProgramCount, kCorallisParameterCount) {
    const bool linesAllocated = installLinesForRate(44100.0f);
    programs = new (std::nothrow) CorallisProgram[kCorallisProgramCount];
    if (programs) {
        for (int32_t p = 0; p < kCorallisProgramCount; ++p)
            programs[p].setDefaults();
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
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    if (!failed && editorFactory && !editorFactory(*this)) failed = true;
}

CorallisEffect::~CorallisEffect() {
    delete[] programs;
}

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
        for (EnsembleVoice& v : voices)
            v.setRandomAmount(value);
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
    for (int v = 0; v < kVoiceCount; ++v)
        voices[v].setFeedback(side, t * kFeedbackFactors[v]);
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
    for (int32_t i = 0; i < kCorallisParameterCount; ++i)
        setParameter(i, current().value(i));
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
        formatMilliseconds(value, text);
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
    for (EnsembleVoice& v : voices)
        v.reset(restart, context.lineLength);
}

void CorallisEffect::suspend() {
    resetVoices(false);
}

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

// The voices run one after another over runs of frames (each voice's sweep state stays in
// registers for the run) instead of all twelve per frame. That gives the same samples as long
// as the shared generator is drawn in the same order, so a run never extends past the first
// frame on which any side reaches the bottom of its sweep: draws on that last frame happen in
// voice order, left before right, just as frame by frame.
template <bool accumulate, bool serial>
void CorallisEffect::runVoices(const float* inLeft, const float* inRight, float* outLeft,
                               float* outRight, int32_t sampleFrames) {
    const float dry = current().value(kDryMix);
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
                outL[i] = limitToFinite(outL[i] + left);
                outR[i] = limitToFinite(outR[i] + right);
            } else {
                outL[i] = limitToFinite(left);
                outR[i] = limitToFinite(right);
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
    const float dry = current().value(kDryMix);
    for (int32_t i = 0; i < sampleFrames; ++i) {
        const float left = dry * inLeft[i];
        const float right = dry * inRight[i];
        outLeft[i] = limitToFinite(accumulate ? outLeft[i] + left : left);
        outRight[i] = limitToFinite(accumulate ? outRight[i] + right : right);
    }
}
