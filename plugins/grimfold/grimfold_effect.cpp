// GrimfoldEffect: parameters, programs, texts and the processing loops.
#include "plugins/grimfold/grimfold_effect.h"

#include "frame/denormals.h"
#include "frame/value_text.h"
#include "plugins/grimfold/cascade_pipeline.h"
#include "plugins/grimfold/finite_lanes.h"
#include "plugins/grimfold/value_display.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr float kDefaults[GrimfoldEffect::kNumParams] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f,
                                                         0.2f, 0.6f, 0.3f,  0.4f,  0.0f};
constexpr const char* kParamNames[GrimfoldEffect::kNumParams] = {
    "Pre-Gain", "Post-Gain", "WS1", "WS2", "WS3", "WS4", "WS5", "WS6", "WS7", "WS8", "Oversample"};
constexpr char kProgramName[] = "Grim Fold";
constexpr char kGainLabel[] = "dB";
constexpr char kShapeLabel[] = " %";
constexpr char kSwitchLabel[] = " ";

// 2^(2v - 1), from 0.5 to 2.0, computed in double precision.
float gainFromValue(float value) {
    return static_cast<float>(std::pow(2.0, 2.0 * static_cast<double>(value) - 1.0));
}

// The frame's left and right samples in lanes 0 and 1.
inline __m128 loadPair(const float* left, const float* right) {
    return _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
}

// Writes (or adds) lanes 0 and 1; a sum that overflows is limited like any other value.
template <bool accumulate> inline void emitPair(__m128 pair, float* left, float* right) {
    if constexpr (accumulate) pair = finiteSamples(_mm_add_ps(loadPair(left, right), pair));
    _mm_store_ss(left, pair);
    _mm_store_ss(right, _mm_shuffle_ps(pair, pair, _MM_SHUFFLE(1, 1, 1, 1)));
}

// Writes (or adds) four frames of one channel.
template <bool accumulate> inline void emitQuad(__m128 quad, float* out) {
    if constexpr (accumulate) quad = finiteSamples(_mm_add_ps(_mm_loadu_ps(out), quad));
    _mm_storeu_ps(out, quad);
}

} // namespace

GrimfoldEffect::GrimfoldEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : EffectBase(hostCallback, kNumPrograms, kNumParams) {
    programs = new (std::nothrow) GrimfoldProgram[kNumPrograms];
    if (!programs) {
        failed = true;
        return;
    }
    for (int32_t p = 0; p < kNumPrograms; ++p) {
        std::memcpy(programs[p].values, kDefaults, sizeof kDefaults);
        copyText(programs[p].name, kProgramName, sizeof programs[p].name);
    }
    currentProgram = 0;
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[0].values[i]);
    setNumInputs(2);
    setNumOutputs(2);
    setHasVu(true);
    setCanMono(true);
    setCanReplacing(true);
    setUniqueId(fourCharCode('L', 'F', 'g', 'f'));
    clearFilters();
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    if (editorFactory && !editorFactory(*this)) failed = true;
}

GrimfoldEffect::~GrimfoldEffect() {
    delete[] programs;
}

void GrimfoldEffect::setParameter(int32_t index, float value) {
    if (!isParameterIndex(index)) return;
    programs[currentProgram].values[index] = value;
    if (editor) editor->setParameter(index, value);
    switch (index) {
    case kPreGain:
        shaper.setPreGain(gainFromValue(value));
        break;
    case kPostGain:
        shaper.setPostGain(gainFromValue(value));
        break;
    case kShape1:
    case kShape2:
    case kShape3:
    case kShape4:
        shaper.setStage(index - kShape1, value * WaveShaper::kCubicPeakScale, 1.0f - value);
        break;
    case kShape5:
    case kShape6:
        shaper.setStage(index - kShape1, value, 1.0f - value);
        break;
    case kShape7:
    case kShape8:
        shaper.setStage(index - kShape1, value * 0.5f, 1.0f - value);
        break;
    case kOversample:
        oversample = value > 0.5f;
        break;
    default:
        break;
    }
}

float GrimfoldEffect::getParameter(int32_t index) {
    if (!isParameterIndex(index)) return 0.0f;
    return programs[currentProgram].values[index];
}

void GrimfoldEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    run<true>(inputs, outputs, sampleFrames);
}

void GrimfoldEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    run<false>(inputs, outputs, sampleFrames);
}

// The switch is read once, so a change during the block lands with the next one.
template <bool accumulate>
void GrimfoldEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    if (sampleFrames <= 0 || !inputs || !outputs) return;
    if (!inputs[0] || !inputs[1] || !outputs[0] || !outputs[1]) return;
    if (oversample)
        runLoop<accumulate, true>(inputs, outputs, sampleFrames);
    else
        runLoop<accumulate, false>(inputs, outputs, sampleFrames);
}

template <bool accumulate, bool oversampled>
void GrimfoldEffect::runLoop(float** inputs, float** outputs, int32_t sampleFrames) {
    const float* inLeft = inputs[0];
    const float* inRight = inputs[1];
    float* outLeft = outputs[0];
    float* outRight = outputs[1];

    if constexpr (!oversampled) {
        // Four frames of one channel per vector; the settings are read again for every four
        // frames, so a change from another thread lands within four frames.
        int32_t i = 0;
        for (; i + 4 <= sampleFrames; i += 4) {
            const __m128 left = finiteSamples(shaper.shape(_mm_loadu_ps(inLeft + i)));
            const __m128 right = finiteSamples(shaper.shape(_mm_loadu_ps(inRight + i)));
            emitQuad<accumulate>(left, outLeft + i);
            emitQuad<accumulate>(right, outRight + i);
        }
        for (; i < sampleFrames; ++i) {
            const __m128 shaped = finiteSamples(shaper.shape(loadPair(inLeft + i, inRight + i)));
            emitPair<accumulate>(shaped, outLeft + i, outRight + i);
        }
    } else {
        // The cascade decays into the denormal range after loud input; flushing keeps
        // silence as cheap as signal.
        ScopedFlushDenormals flushDenormals;
        anti_alias::CascadePipeline::run(
            leftFilter, rightFilter, sampleFrames,
            [&](int32_t frame) {
                return finiteSamples(shaper.shape(loadPair(inLeft + frame, inRight + frame)));
            },
            [&](int32_t frame, __m128 filtered) {
                emitPair<accumulate>(filtered, outLeft + frame, outRight + frame);
            });
    }
}

void GrimfoldEffect::clearFilters() {
    leftFilter = {};
    rightFilter = {};
}

void GrimfoldEffect::setProgram(int32_t program) {
    if (program < 0 || program >= kNumPrograms) return;
    currentProgram = program;
    for (int32_t i = 0; i < kNumParams; ++i)
        setParameter(i, programs[program].values[i]);
}

void GrimfoldEffect::setProgramName(char* name) {
    if (name) copyText(programs[currentProgram].name, name, sizeof programs[currentProgram].name);
}

void GrimfoldEffect::getProgramName(char* name) {
    if (name) std::strcpy(name, programs[currentProgram].name);
}

void GrimfoldEffect::getParamLabel(int32_t index, char* label) {
    if (!label) return;
    if (!isParameterIndex(index))
        label[0] = 0;
    else if (index <= kPostGain)
        std::strcpy(label, kGainLabel);
    else if (index == kOversample)
        std::strcpy(label, kSwitchLabel);
    else
        std::strcpy(label, kShapeLabel);
}

void GrimfoldEffect::getParamDisplay(int32_t index, char* text) {
    if (!text) return;
    if (!isParameterIndex(index)) {
        text[0] = 0;
        return;
    }
    switch (index) {
    case kPreGain:
        formatGainDecibels(shaper.preGain(), text);
        break;
    case kPostGain:
        formatGainDecibels(shaper.postGain(), text);
        break;
    case kOversample:
        std::strcpy(text, oversample ? "ON" : "OFF");
        break;
    default:
        formatPercent(programs[currentProgram].values[index], text);
        break;
    }
}

void GrimfoldEffect::getParamName(int32_t index, char* text) {
    if (!text) return;
    std::strcpy(text, isParameterIndex(index) ? kParamNames[index] : "");
}

float GrimfoldEffect::getVu() {
    const float level = vuLevel;
    vuLevel = 0.0f;
    return level;
}

// No coefficient depends on the rate.
void GrimfoldEffect::setSampleRate(float rate) {
    sampleRate = rate;
}

void GrimfoldEffect::suspend() {
    clearFilters();
}
