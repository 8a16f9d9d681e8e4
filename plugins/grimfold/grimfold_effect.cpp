// GrimfoldEffect: parameters, programs, texts and the processing loops.
#include "plugins/grimfold/grimfold_effect.h"

#include "frame/value_text.h"
#include "plugins/grimfold/cascade_pipeline.h"
#include "plugins/grimfold/finite_lanes.h"

#include <cmath>
#include <cstring>

namespace {

constexpr float kDefaults[GrimfoldEffect::kNumParams] = {0.5f, 0.5f, 0.25f, 0.35f, 0.45f, 0.55f,
                                                         0.2f, 0.6f, 0.3f,  0.4f,  0.0f};
constexpr const char* kParamNames[GrimfoldEffect::kNumParams] = {
    "Pre-Gain", "Post-Gain", "WS1", "WS2", "WS3", "WS4", "WS5", "WS6", "WS7", "WS8", "Oversample"};
constexpr char kProgramName[] = "Grim Fold";
constexpr char kGainLabel[] = "dB";
constexpr char kShapeLabel[] = " %";
constexpr char kSwitchLabel[] = " ";
constexpr const char* kParamLabels[GrimfoldEffect::kNumParams] = {
    kGainLabel,  kGainLabel,  kShapeLabel, kShapeLabel, kShapeLabel, kShapeLabel,
    kShapeLabel, kShapeLabel, kShapeLabel, kShapeLabel, kSwitchLabel};

// 2^(2v - 1), from 0.5 to 2.0, computed in double precision.
float gainFromValue(float value) {
    return static_cast<float>(std::pow(2.0, 2.0 * static_cast<double>(value) - 1.0));
}

// The frame's left and right samples in lanes 0 and 1.
inline __m128 loadPair(const float* left, const float* right) {
    return _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
}

// Writes (or adds) lanes 0 and 1.
template <bool accumulate> inline void emitPair(__m128 pair, float* left, float* right) {
    if constexpr (accumulate) pair = _mm_add_ps(loadPair(left, right), pair);
    _mm_store_ss(left, pair);
    _mm_store_ss(right, _mm_shuffle_ps(pair, pair, _MM_SHUFFLE(1, 1, 1, 1)));
}

// Writes (or adds) four frames of one channel.
template <bool accumulate> inline void emitQuad(__m128 quad, float* out) {
    if constexpr (accumulate) quad = _mm_add_ps(_mm_loadu_ps(out), quad);
    _mm_storeu_ps(out, quad);
}

} // namespace

GrimfoldEffect::GrimfoldEffect(audioMasterCallback hostCallback, EditorFactory editorFactory)
    : StereoEffect(hostCallback, kNumPrograms, kNumParams) {
    parameterNames = kParamNames;
    parameterLabels = kParamLabels;
    if (!createPrograms(kDefaults, kProgramName)) return;
    setProgram(0);
    setUpStereo(fourCharCode('L', 'F', 'g', 'f'));
    clearFilters();
    // Last: the editor attaches itself and raises the has-editor flag; the effect base owns it.
    createEditor(editorFactory);
}

void GrimfoldEffect::applyParameter(int32_t index, float value) {
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

// The switch is read once, so a change during the block lands with the next one.
template <bool accumulate>
void GrimfoldEffect::run(float** inputs, float** outputs, int32_t sampleFrames) {
    if (oversample)
        runLoop<accumulate, true>(inputs, outputs, sampleFrames);
    else
        runLoop<accumulate, false>(inputs, outputs, sampleFrames);
}

// The two loops StereoEffect's processing operations call.
template void GrimfoldEffect::run<true>(float**, float**, int32_t);
template void GrimfoldEffect::run<false>(float**, float**, int32_t);

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
            shaper.refresh();
            const __m128 left = shaper.shape(_mm_loadu_ps(inLeft + i));
            const __m128 right = shaper.shape(_mm_loadu_ps(inRight + i));
            emitQuad<accumulate>(left, outLeft + i);
            emitQuad<accumulate>(right, outRight + i);
        }
        for (; i < sampleFrames; ++i) {
            shaper.refresh();
            const __m128 shaped = shaper.shape(loadPair(inLeft + i, inRight + i));
            emitPair<accumulate>(shaped, outLeft + i, outRight + i);
        }
    } else {
        anti_alias::CascadePipeline::run(
            leftFilter, rightFilter, sampleFrames,
            [&](int32_t frame) {
                shaper.refresh();
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
        formatScaledTwoDecimals(storedValue(index), 100.0, 0.0, text);
        break;
    }
}

void GrimfoldEffect::suspend() {
    clearFilters();
}
