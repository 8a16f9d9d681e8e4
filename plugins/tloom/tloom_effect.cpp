// TloomEffect: parameters, programs, texts, sample-rate changes and the per-frame arithmetic.
#include "plugins/tloom/tloom_effect.h"

#include "frame/value_text.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr float kDefaults[TloomEffect::kNumParams] = {
    0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f, 0.0f, 0.0f, 1.0f, 1.0f, 0.5f, 0.0f, 1.0f, 0.0f, 0.0f};
constexpr const char* kParamNames[TloomEffect::kNumParams] = {
    "L Gap Speed", "L Gap Mod", "L Feedback", "R Gap Speed",    "R Gap Mod",
    "R Feedback",  "L Shape",   "R Shape",    "L Speed Adjust", "R Speed Adjust",
    "Cutoff",      "Rez",       "Low",        "Band",           "High"};
constexpr char kPercentLabel[] = " %";
constexpr char kPlainLabel[] = " ";
constexpr const char* kParamLabels[TloomEffect::kNumParams] = {
    kPercentLabel, kPercentLabel, kPercentLabel, kPercentLabel, kPercentLabel,
    kPercentLabel, kPlainLabel,   kPlainLabel,   kPlainLabel,   kPlainLabel,
    kPlainLabel,   kPlainLabel,   kPlainLabel,   kPlainLabel,   kPlainLabel};
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

// The line value at the position the gap-mod oscillator selects (by its cosine): between 0 and
// 0.99 x length samples behind the write position.
inline float readSwept(const GapLine& line, float modCos) {
    const float position = static_cast<float>(line.getWriteIndex()) -
                           static_cast<float>(line.getLength()) * ((modCos + 1.0f) * kReadSpan);
    return line.read(position);
}

// The per-block copy of one side: its oscillator points and filter memory, and its settings
// (steps, coefficients, feedback, shape), all in plain locals (registers) for the block. The
// settings are loaded again whenever a host thread has announced a change, which the loop checks
// at every frame, so a change takes effect at the next sample.
struct SideRun {
    explicit SideRun(const TloomSide& side)
        : shared(side), speedCos(side.gapSpeedOsc.oscCos), speedSin(side.gapSpeedOsc.oscSin),
          modCos(side.gapModOsc.oscCos),
          modSin(side.gapModOsc.oscSin), memory{side.filter.low, side.filter.band,
                                                side.filter.high} {
        loadSettings();
    }

    void loadSettings() {
        modStepCos = shared.gapModOsc.stepCos;
        modStepSin = shared.gapModOsc.stepSin;
        speedStepCos = shared.gapSpeedOsc.stepCos;
        speedStepSin = shared.gapSpeedOsc.stepSin;
        damping = shared.filter.damping;
        cutoffCoeff = shared.filter.cutoffCoeff;
        stable = shared.filter.stable;
        feedback = shared.feedback;
        shape = shared.shape;
    }

    // Advances the oscillators (sweep first) and answers the value at the swept read position.
    float advanceAndRead() {
        QuadratureOscillator::rotate(modCos, modSin, modStepCos, modStepSin);
        QuadratureOscillator::rotate(speedCos, speedSin, speedStepCos, speedStepSin);
        return readSwept(shared.line, modCos);
    }
    // The line's new sample: the other side's value times this side's feedback plus the shaped
    // oscillator.
    float lineInput(float otherValue) const {
        return otherValue * feedback + shapeValue(shape, speedCos);
    }
    void filterStep(float x) { TloomFilter::step(memory, x, cutoffCoeff, damping, stable); }
    float mix(float low, float band, float high) const {
        return TloomFilter::mix(memory, low, band, high);
    }
    // Puts the moving state back into the side.
    void store(TloomSide& side) const {
        side.gapSpeedOsc.oscCos = speedCos;
        side.gapSpeedOsc.oscSin = speedSin;
        side.gapModOsc.oscCos = modCos;
        side.gapModOsc.oscSin = modSin;
        side.filter.low = memory.low;
        side.filter.band = memory.band;
        side.filter.high = memory.high;
    }

    const TloomSide& shared;
    float speedCos;
    float speedSin;
    float modCos;
    float modSin;
    TloomFilter::Memory memory;
    float modStepCos;
    float modStepSin;
    float speedStepCos;
    float speedStepSin;
    float damping;
    float cutoffCoeff;
    bool stable;
    float feedback;
    int32_t shape;
};

} // namespace

TloomEffect::TloomEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : StereoEffect(hostCallback, kNumPrograms, kNumParams) {
    right.speedAdjust = 0.0f;
    parameterNames = kParamNames;
    parameterLabels = kParamLabels;
    if (!createPrograms(kDefaults, kProgramName)) return;

    sampleRate = 44100.0f;
    invSampleRate = 1.0f / 44100.0f;
    const int32_t length = GapLine::lengthForRate(sampleRate);
    auto samplesLeft = GapLine::allocateSamples(length);
    auto samplesRight = GapLine::allocateSamples(length);
    if (!samplesLeft || !samplesRight) {
        failed = true;
        return;
    }
    left.line.adopt(std::move(samplesLeft), length);
    right.line.adopt(std::move(samplesRight), length);

    setProgram(0);
    setUpStereo(fourCharCode('L', 'F', 't', 'l'));
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    createEditor(editorFactory);
}

void TloomEffect::applyParameter(int32_t index, float v) {
    switch (index) {
    case kLeftGapSpeed:
        setGapSpeed(left, v);
        break;
    case kRightGapSpeed:
        setGapSpeed(right, v);
        break;
    case kLeftGapMod:
        setGapMod(left, v);
        break;
    case kRightGapMod:
        setGapMod(right, v);
        break;
    case kLeftFeedback:
        left.feedback = (2.0f * v - 1.0f) * 0.99f;
        break;
    case kRightFeedback:
        right.feedback = (2.0f * v - 1.0f) * 0.99f;
        break;
    case kLeftShape:
        setShape(left, v);
        break;
    case kRightShape:
        setShape(right, v);
        break;
    case kLeftSpeedAdjust:
        left.speedAdjust = static_cast<float>(0.999f * v + 0.001);
        setGapSpeed(left, storedValue(kLeftGapSpeed));
        break;
    case kRightSpeedAdjust:
        right.speedAdjust = static_cast<float>(0.999f * v + 0.001);
        setGapSpeed(right, storedValue(kRightGapSpeed));
        break;
    case kCutoff: {
        // 0.48 times v^4, the power formed first (as the shapes and Rez form theirs), + 0.01.
        const float v4 = v * v * v * v;
        const float corner = 0.48f * v4 + 0.01f;
        const double angle = kCutoffPi * invSampleRate * corner * kHalfRate;
        const float coeff = static_cast<float>(2.0 * std::sin(angle));
        left.filter.setCutoff(coeff);
        right.filter.setCutoff(coeff);
        break;
    }
    case kRez: {
        const float damping = static_cast<float>((1.0f - v * v) * 0.5f + 0.15);
        left.filter.setDamping(damping);
        right.filter.setDamping(damping);
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
    settingsChanges.announce();
}

// Step angle invSampleRate x (0.3 v + 0.0001) x speedAdjust x pi x 22050 radians per sample:
// (0.3 v + 0.0001) x speedAdjust x 11025 Hz.
void TloomEffect::setGapSpeed(TloomSide& side, float value) {
    const double omega =
        invSampleRate * (0.3 * value + kRateOffset) * side.speedAdjust * kSpeedPi * kHalfRate;
    side.gapSpeedOsc.setStepAngle(omega);
}

// Step angle (0.1 v + 0.0001) x invSampleRate x 692.72...: about 0.011 Hz to 11.04 Hz.
void TloomEffect::setGapMod(TloomSide& side, float value) {
    const double omega = (0.1 * value + kRateOffset) * invSampleRate * kModScale;
    side.gapModOsc.setStepAngle(omega);
}

int32_t TloomEffect::shapeFor(float value) {
    const float tenths = value * 10.0f;
    return tenths >= 4.0f ? 4 : (tenths >= 1.0f ? static_cast<int32_t>(tenths) : 0);
}

// Shape k selects the oscillator to the power k + 1.
void TloomEffect::setShape(TloomSide& side, float value) {
    const int32_t shape = shapeFor(value);
    side.shape = shape;
    for (int32_t k = 0; k < kNumShapes; ++k)
        side.shapeWeights[k] = k == shape ? 1.0f : 0.0f;
}

template <bool accumulate>
void TloomEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];
    if (!left.line.hasSamples() || !right.line.hasSamples()) {
        // Only an effect whose construction failed has no lines: it stays silent.
        if constexpr (!accumulate) {
            std::memset(outLeft, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
            std::memset(outRight, 0, sizeof(float) * static_cast<size_t>(sampleFrames));
        }
        return;
    }

    uint32_t seenChanges = settingsChanges.current();
    SideRun l(left);
    SideRun r(right);
    float low = lowGain;
    float band = bandGain;
    float high = highGain;
    for (int32_t n = 0; n < sampleFrames; ++n) {
        if (settingsChanges.moved(seenChanges)) [[unlikely]] {
            l.loadSettings();
            r.loadSettings();
            low = lowGain;
            band = bandGain;
            high = highGain;
        }
        const float inL = inLeft[n];
        const float inR = inRight[n];
        const float gL = l.advanceAndRead();
        const float gR = r.advanceAndRead();
        left.line.write(l.lineInput(gR));
        right.line.write(r.lineInput(gL));

        l.filterStep(gL * inL);
        r.filterStep(gR * inR);
        const float resultL = l.mix(low, band, high);
        const float resultR = r.mix(low, band, high);
        if constexpr (accumulate) {
            outLeft[n] += resultL;
            outRight[n] += resultR;
        } else {
            outLeft[n] = resultL;
            outRight[n] = resultR;
        }
    }
    l.store(left);
    r.store(right);

    // Back to unit length, in this order. An oscillator that had to be put back may have
    // written runaway values into the lines, which would circulate for good: clear them.
    bool intact = left.gapSpeedOsc.renormalise();
    intact = right.gapSpeedOsc.renormalise() && intact;
    intact = left.gapModOsc.renormalise() && intact;
    intact = right.gapModOsc.renormalise() && intact;
    if (!intact) {
        left.line.clear();
        right.line.clear();
    }
}

// The two loops StereoEffect's processing operations call.
template void TloomEffect::run<true>(float**, float**, int32_t);
template void TloomEffect::run<false>(float**, float**, int32_t);

// The integer part of 100 x the value, right-aligned in 7 characters: the feedback gain for the
// two feedback parameters, the stored value for all others.
void TloomEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index) || !programs.isReady()) {
        text[0] = 0;
        return;
    }
    float x = storedValue(index);
    if (index == kLeftFeedback) x = left.feedback;
    if (index == kRightFeedback) x = right.feedback;
    // 100 x is formed in single precision like the effect's other arithmetic, so a stored 0.35
    // (0.3499999940...) shows 35 (in double precision it would be 34.99999940... and show 34).
    intToText(truncateToInt32(100.0f * x), text);
}

// Lines of rate x 0.1 samples, cleared, and the four oscillator steps and the cutoff
// coefficient recomputed from the current program, so that speeds, sweep rates and the filter
// corner stay what the parameters promise at the new rate. A line whose length stays is only
// cleared: nothing is allocated then. New lines are allocated before anything changes: when
// memory runs out the effect keeps its previous rate and lines whole (and getSampleRate keeps
// reporting that rate), so it goes on processing as before.
void TloomEffect::setSampleRate(float rate) {
    if (!(std::isfinite(rate) && rate > 0.0f)) return;
    const int32_t length = GapLine::lengthForRate(rate);
    if (length == left.line.getLength() && length == right.line.getLength()) {
        left.line.clear();
        right.line.clear();
    } else {
        auto samplesLeft = GapLine::allocateSamples(length);
        if (!samplesLeft) return;
        auto samplesRight = GapLine::allocateSamples(length);
        if (!samplesRight) return;
        left.line.adopt(std::move(samplesLeft), length);
        right.line.adopt(std::move(samplesRight), length);
    }
    sampleRate = rate;
    const float inverse = 1.0f / rate;
    // Below about 3e-39 Hz the reciprocal overflows; the largest float keeps it finite.
    invSampleRate = std::isfinite(inverse) ? inverse : FLT_MAX;
    if (!programs.isReady()) return;
    setGapSpeed(left, storedValue(kLeftGapSpeed));
    setGapMod(left, storedValue(kLeftGapMod));
    setGapSpeed(right, storedValue(kRightGapSpeed));
    setGapMod(right, storedValue(kRightGapMod));
    applyParameter(kCutoff, storedValue(kCutoff)); // announces the changes to the audio loop
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
