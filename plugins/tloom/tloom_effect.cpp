// TloomEffect: parameters, programs, texts, sample-rate changes and the per-frame arithmetic.
#include "plugins/tloom/tloom_effect.h"

#include "frame/denormals.h"
#include "frame/finite_sample.h"
#include "frame/record_entries.h"
#include "frame/value_text.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr float kDefaults[TloomEffect::kNumParams] = {
    0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0.0f, 1.0f, 0.0f, 0.0f};
constexpr const char* kParamNames[TloomEffect::kNumParams] = {
    "L Gap Speed", "L Gap Mod", "L Feedback", "R Gap Speed",    "R Gap Mod",
    "R Feedback",  "L Shape",   "R Shape",    "L Speed Adjust", "R Speed Adjust",
    "Cutoff",      "Rez",       "Low",        "Band",           "High"};
constexpr char kPercentLabel[] = " %";
constexpr char kPlainLabel[] = " ";
constexpr char kProgramName[] = "Default";
constexpr char kEffectName[] = "Tessera Loom";
constexpr char kVendorName[] = "Lumen Forge";

// Constants at the precision the arithmetic is defined with.
constexpr double kRateOffset = static_cast<double>(0.0001f); // the float 0.0001, as a double
constexpr float kSpeedPi = 3.1415927f;                       // float, in the gap-speed step
constexpr double kCutoffPi = 3.1415926;                      // double, in the cutoff
constexpr double kHalfRate = 22050.0;
constexpr double kModScale = 692.7212158218026;
constexpr float kReadSpan = 0.495f; // read position reaches 0.99 x length behind the write

// The weighted sum w0 a + w1 a^2 + w2 a^3 + w3 a^4 + w4 a^5 with exactly one weight 1, taken
// without its four zero terms: for a finite oscillator value the sum is the selected power
// exactly, except that a zero power comes out as +0 (the even powers contribute +0 terms), which
// adding +0 reproduces.
inline float shapeValue(int32_t shape, float a) {
    const float a2 = a * a;
    const float a3 = a2 * a;
    const float a4 = a3 * a;
    const float a5 = a4 * a;
    const float powers[TloomEffect::kNumShapes] = {a, a2, a3, a4, a5};
    return powers[static_cast<uint32_t>(shape) % TloomEffect::kNumShapes] + 0.0f;
}

// The line value at the position the gap-mod oscillator selects: between 0 and 0.99 x length
// samples behind the write position.
inline float readSwept(const GapLine& line, const QuadratureOscillator& mod) {
    const float position = static_cast<float>(line.getWriteIndex()) -
                           static_cast<float>(line.getLength()) * ((mod.oscCos + 1.0f) * kReadSpan);
    return line.read(position);
}

// 100 x value truncated toward zero, kept inside the integer range. The product is taken in
// double precision, like the other value texts, so a stored 0.35 (0.3499999940...) shows 34.
inline int32_t percentOf(float value) {
    const double scaled = 100.0 * static_cast<double>(value);
    if (!(scaled == scaled)) return 0;
    if (scaled >= 2147483647.0) return 2147483647;
    if (scaled <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(scaled);
}

inline void refreshSteps(QuadratureOscillator& local, const QuadratureOscillator& shared) {
    local.stepCos = shared.stepCos;
    local.stepSin = shared.stepSin;
}

inline void storePhase(QuadratureOscillator& shared, const QuadratureOscillator& local) {
    shared.oscCos = local.oscCos;
    shared.oscSin = local.oscSin;
}

inline void refreshCoefficients(TloomFilter& local, const TloomFilter& shared) {
    local.damping = shared.damping;
    local.cutoffCoeff = shared.cutoffCoeff;
}

inline void storeMemory(TloomFilter& shared, const TloomFilter& local) {
    shared.low = local.low;
    shared.band = local.band;
    shared.high = local.high;
}

} // namespace

TloomEffect::TloomEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : EffectBase(hostCallback, kNumPrograms, kNumParams) {
    programs = new (std::nothrow) TloomProgram[kNumPrograms];
    if (!programs) {
        failed = true;
        return;
    }
    for (int32_t p = 0; p < kNumPrograms; ++p) {
        std::memcpy(programs[p].values, kDefaults, sizeof kDefaults);
        copyText(programs[p].name, kProgramName, sizeof programs[p].name);
    }

    sampleRate = 44100.0f;
    invSampleRate = 1.0f / 44100.0f;
    const int32_t length = GapLine::lengthForRate(sampleRate);
    auto samplesLeft = GapLine::allocateSamples(length);
    auto samplesRight = GapLine::allocateSamples(length);
    if (!samplesLeft || !samplesRight) {
        failed = true;
        return;
    }
    lineLeft.adopt(std::move(samplesLeft), length);
    lineRight.adopt(std::move(samplesRight), length);

    currentProgram = 0;
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[0].values[i]);

    setNumInputs(2);
    setNumOutputs(2);
    setHasVu(true);
    setCanMono(true);
    setCanReplacing(true);
    setUniqueId(fourCharCode('L', 'F', 't', 'l'));
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    if (editorFactory && !editorFactory(*this)) failed = true;
}

TloomEffect::~TloomEffect() {
    delete[] programs;
}

void TloomEffect::setParameter(int32_t index, float value) {
    if (!isParameterIndex(index) || !programs) return;
    // The host boundary already clamps; the editor and direct callers get the same guarantee.
    const float v = sanitizeParameterValue(value);
    float* stored = programs[currentProgram].values;
    stored[index] = v;
    switch (index) {
    case kLeftGapSpeed:
        setGapSpeed(gapSpeedOscLeft, v, speedAdjustLeft);
        break;
    case kRightGapSpeed:
        setGapSpeed(gapSpeedOscRight, v, speedAdjustRight);
        break;
    case kLeftGapMod:
        setGapMod(gapModOscLeft, v);
        break;
    case kRightGapMod:
        setGapMod(gapModOscRight, v);
        break;
    case kLeftFeedback:
        feedbackLeft = (2.0f * v - 1.0f) * 0.99f;
        break;
    case kRightFeedback:
        feedbackRight = (2.0f * v - 1.0f) * 0.99f;
        break;
    case kLeftShape:
        setShape(shapeLeft, shapeWeightsLeft, v);
        break;
    case kRightShape:
        setShape(shapeRight, shapeWeightsRight, v);
        break;
    case kLeftSpeedAdjust:
        speedAdjustLeft = static_cast<float>(0.999f * v + 0.001);
        setGapSpeed(gapSpeedOscLeft, stored[kLeftGapSpeed], speedAdjustLeft);
        break;
    case kRightSpeedAdjust:
        speedAdjustRight = static_cast<float>(0.999f * v + 0.001);
        setGapSpeed(gapSpeedOscRight, stored[kRightGapSpeed], speedAdjustRight);
        break;
    case kCutoff: {
        const float corner = 0.48f * v * v * v * v + 0.01f;
        const double angle = kCutoffPi * invSampleRate * corner * kHalfRate;
        const float coeff = static_cast<float>(2.0 * std::sin(angle));
        filterLeft.cutoffCoeff = coeff;
        filterRight.cutoffCoeff = coeff;
        break;
    }
    case kRez: {
        const float damping = static_cast<float>((1.0f - v * v) * 0.5f + 0.15);
        filterLeft.damping = damping;
        filterRight.damping = damping;
        break;
    }
    case kLow:
        lowGain = v;
        break;
    case kBand:
        bandGain = v;
        break;
    case kHigh:
        highGain = v;
        break;
    default:
        break;
    }
    if (editor) editor->setParameter(index, v);
}

// Step angle invSampleRate x (0.3 v + 0.0001) x speedAdjust x pi x 22050 radians per sample:
// (0.3 v + 0.0001) x speedAdjust x 11025 Hz.
void TloomEffect::setGapSpeed(QuadratureOscillator& oscillator, float value, float speedAdjust) {
    const double omega =
        invSampleRate * (0.3 * value + kRateOffset) * speedAdjust * kSpeedPi * kHalfRate;
    oscillator.setStepAngle(omega);
}

// Step angle (0.1 v + 0.0001) x invSampleRate x 692.72...: about 0.011 Hz to 11.04 Hz.
void TloomEffect::setGapMod(QuadratureOscillator& oscillator, float value) {
    const double omega = (0.1 * value + kRateOffset) * invSampleRate * kModScale;
    oscillator.setStepAngle(omega);
}

// Shape k (the integer part of 10 v, at most 4) selects the oscillator to the power k + 1.
void TloomEffect::setShape(int32_t& shape, float* weights, float value) {
    const float tenths = value * 10.0f;
    shape = tenths >= 4.0f ? 4 : (tenths >= 1.0f ? static_cast<int32_t>(tenths) : 0);
    for (int32_t k = 0; k < kNumShapes; ++k)
        weights[k] = k == shape ? 1.0f : 0.0f;
}

float TloomEffect::getParameter(int32_t index) {
    if (!isParameterIndex(index) || !programs) return 0.0f;
    return programs[currentProgram].values[index];
}

void TloomEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    run<true>(inputs, outputs, sampleFrames);
}

void TloomEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    run<false>(inputs, outputs, sampleFrames);
}

template <bool accumulate>
void TloomEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (!inLeft || !inRight || !outLeft || !outRight) return;
    if (!lineLeft.hasSamples() || !lineRight.hasSamples()) {
        // Only an effect whose construction failed has no lines: it stays silent.
        if constexpr (!accumulate) {
            std::memset(outLeft, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
            std::memset(outRight, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
        }
        return;
    }

    // The filter memories decay through the denormal range after loud input, where arithmetic
    // is several times slower; flushing them to zero changes nothing audible.
    ScopedFlushDenormals flushDenormals;

    // Oscillator phases and filter memories live in locals for the block so that they stay in
    // registers; steps, gains and coefficients are re-read at every frame, so a change from
    // another thread takes effect at the next sample.
    QuadratureOscillator speedL = gapSpeedOscLeft;
    QuadratureOscillator modL = gapModOscLeft;
    QuadratureOscillator speedR = gapSpeedOscRight;
    QuadratureOscillator modR = gapModOscRight;
    TloomFilter filterL = filterLeft;
    TloomFilter filterR = filterRight;

    for (int32_t n = 0; n < sampleFrames; ++n) {
        const float inL = inLeft[n];
        const float inR = inRight[n];
        refreshSteps(modL, gapModOscLeft);
        refreshSteps(modR, gapModOscRight);
        refreshSteps(speedL, gapSpeedOscLeft);
        refreshSteps(speedR, gapSpeedOscRight);
        refreshCoefficients(filterL, filterLeft);
        refreshCoefficients(filterR, filterRight);

        modL.advance();
        modR.advance();
        speedL.advance();
        speedR.advance();

        const float gL = readSwept(lineLeft, modL);
        const float gR = readSwept(lineRight, modR);
        lineLeft.write(gR * feedbackLeft + shapeValue(shapeLeft, speedL.oscCos));
        lineRight.write(gL * feedbackRight + shapeValue(shapeRight, speedR.oscCos));

        filterL.step(gL * inL);
        filterR.step(gR * inR);
        const float low = lowGain;
        const float band = bandGain;
        const float high = highGain;
        const float resultL = filterL.mix(low, band, high);
        const float resultR = filterR.mix(low, band, high);
        if constexpr (accumulate) {
            outLeft[n] = limitToFinite(outLeft[n] + resultL);
            outRight[n] = limitToFinite(outRight[n] + resultR);
        } else {
            outLeft[n] = limitToFinite(resultL);
            outRight[n] = limitToFinite(resultR);
        }
    }

    storePhase(gapSpeedOscLeft, speedL);
    storePhase(gapModOscLeft, modL);
    storePhase(gapSpeedOscRight, speedR);
    storePhase(gapModOscRight, modR);
    storeMemory(filterLeft, filterL);
    storeMemory(filterRight, filterR);

    // Back to unit length, in this order. An oscillator that had to be put back may have
    // written runaway values into the lines, which would circulate for good: clear them.
    bool intact = gapSpeedOscLeft.renormalise();
    intact = gapSpeedOscRight.renormalise() && intact;
    intact = gapModOscLeft.renormalise() && intact;
    intact = gapModOscRight.renormalise() && intact;
    if (!intact) {
        lineLeft.clear();
        lineRight.clear();
    }
}

void TloomEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms || !programs) return;
    currentProgram = program;
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[program].values[i]);
}

void TloomEffect::setProgramName(char* name) {
    if (name && programs)
        copyText(programs[currentProgram].name, name, sizeof programs[currentProgram].name);
}

void TloomEffect::getProgramName(char* name) {
    if (!name) return;
    std::strcpy(name, programs ? programs[currentProgram].name : "");
}

void TloomEffect::getParamLabel(int32_t index, char* label) {
    if (!label) return;
    if (!isParameterIndex(index))
        label[0] = 0;
    else
        std::strcpy(label, index <= kRightFeedback ? kPercentLabel : kPlainLabel);
}

// The integer part of 100 x the value, right-aligned in 7 characters: the feedback gain for the
// two feedback parameters, the stored value for all others.
void TloomEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index) || !programs) {
        text[0] = 0;
        return;
    }
    float x = programs[currentProgram].values[index];
    if (index == kLeftFeedback) x = feedbackLeft;
    if (index == kRightFeedback) x = feedbackRight;
    intToText(percentOf(x), text);
}

void TloomEffect::getParamName(int32_t index, char* text) {
    if (!text) return;
    std::strcpy(text, isParameterIndex(index) ? kParamNames[index] : "");
}

float TloomEffect::getVu() {
    const float level = vuLevel;
    vuLevel = 0.0f;
    return level;
}

// New lines of rate x 0.1 samples, cleared. The steps and the filter coefficient keep the values
// computed with the old rate until the parameters are set again. Both lines are allocated before
// anything changes: when memory runs out the effect keeps its previous rate and lines whole (and
// getSampleRate keeps reporting that rate), so it goes on processing as before.
void TloomEffect::setSampleRate(float rate) {
    if (!(std::isfinite(rate) && rate > 0.0f)) return;
    const int32_t length = GapLine::lengthForRate(rate);
    auto samplesLeft = GapLine::allocateSamples(length);
    if (!samplesLeft) return;
    auto samplesRight = GapLine::allocateSamples(length);
    if (!samplesRight) return;
    sampleRate = rate;
    const float inverse = 1.0f / rate;
    // Below about 3e-39 Hz the reciprocal overflows; the largest float keeps it finite.
    invSampleRate = std::isfinite(inverse) ? inverse : FLT_MAX;
    lineLeft.adopt(std::move(samplesLeft), length);
    lineRight.adopt(std::move(samplesRight), length);
}

bool TloomEffect::getEffectName(char* name) {
    if (!name) return false;
    std::strcpy(name, kEffectName);
    return true;
}

bool TloomEffect::getVendorString(char* text) {
    if (!text) return false;
    std::strcpy(text, kVendorName);
    return true;
}

bool TloomEffect::getProductString(char* text) {
    if (!text) return false;
    std::strcpy(text, kEffectName);
    return true;
}

void TloomEffect::controlChanged(int32_t, float) {}
