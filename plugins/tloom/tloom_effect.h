// TloomEffect: the stereo modulation effect "Tessera Loom". Two cross-coupled circular gap
// lines carry a shaped audio-rate oscillator signal; each is read at a position swept by a slow
// oscillator, the value read multiplies that side's input, and the product runs through a
// state-variable filter whose low-pass, band-pass and high-pass outputs are mixed.
//
// State: the programs (in the base), two TloomSides (derived values, two quadrature
// oscillators, a gap line and a filter each), the three mix gains and 1 / sample rate.
// Threads: setParameter, setProgram and the text operations run on host threads (user
// interface or automation); process and processReplacing on the audio thread, reading the
// steps, gains, shapes, feedback gains and coefficients. Those are the values both sides share,
// each a relaxed atomic (SharedValue); every parameter change announces itself (ChangeCount)
// and the audio loop, which keeps its copies in locals, reloads them at the next frame. What
// only host threads use (speed adjust, the shape weights, 1 / sample rate) stays plain.
// setSampleRate clears or replaces the line buffers and must not overlap a processing call.
#pragma once

#include "frame/change_count.h"
#include "frame/shared_value.h"
#include "frame/stereo_effect.h"
#include "plugins/tloom/gap_line.h"
#include "plugins/tloom/quadrature_oscillator.h"
#include "plugins/tloom/tloom_filter.h"

#include <cstdint>

// One side of the effect: its derived values, the oscillator that feeds its gap line, the one
// that sweeps the line's read position, the line and the filter its product runs through.
struct TloomSide {
    SharedValue<int32_t> shape = 0;
    SharedValue<float> feedback = 0.0f;
    float speedAdjust = 1.0f;
    float shapeWeights[5] = {};
    QuadratureOscillator gapSpeedOsc;
    QuadratureOscillator gapModOsc;
    GapLine line;
    TloomFilter filter;
};

class TloomEffect : public StereoEffect<TloomEffect> {
  public:
    enum Parameter : int32_t {
        kLeftGapSpeed,
        kLeftGapMod,
        kLeftFeedback,
        kRightGapSpeed,
        kRightGapMod,
        kRightFeedback,
        kLeftShape,
        kRightShape,
        kLeftSpeedAdjust,
        kRightSpeedAdjust,
        kCutoff,
        kRez,
        kLow,
        kBand,
        kHigh,
        kNumParams
    };
    static constexpr int32_t kNumPrograms = 16;
    static constexpr int32_t kNumShapes = 5;

    // The entry hands in the editor's factory; without one the effect has no editor.
    explicit TloomEffect(audioMasterCallback hostCallback, EditorFactory editorFactory = nullptr);

    void getParamDisplay(int32_t index, char* text) override;
    void setSampleRate(float rate) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // Called by the editor after every control change; the effect needs nothing from it.
    void controlChanged(int32_t tag, float value) override;

    // The shape a value of L Shape or R Shape selects: the integer part of 10 v, at most 4. The
    // editor lights its shape buttons by it.
    static int32_t shapeFor(float value);

  private:
    friend class StereoEffect<TloomEffect>;
    void applyParameter(int32_t index, float value) override;
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    void setGapSpeed(TloomSide& side, float value);
    void setGapMod(TloomSide& side, float value);
    static void setShape(TloomSide& side, float value);

    float invSampleRate = 0.0f;
    TloomSide left;
    TloomSide right;
    SharedValue<float> lowGain = 0.0f;
    SharedValue<float> bandGain = 0.0f;
    SharedValue<float> highGain = 0.0f;
    ChangeCount settingsChanges;

    friend struct TloomEffectProbe; // read-only view for the unit tests
};
