// TloomEffect: the stereo modulation effect "Tessera Loom". Two cross-coupled circular gap
// lines carry a shaped audio-rate oscillator signal; each is read at a position swept by a slow
// oscillator, the value read multiplies that side's input, and the product runs through a
// state-variable filter whose low-pass, band-pass and high-pass outputs are mixed.
//
// State: 16 programs (the current one holds the live parameter values), the derived values of
// each side (shape, shape weights, feedback, speed adjustment), four quadrature oscillators,
// two gap lines, two filters, the three mix gains, 1 / sample rate and the VU level.
// Threads: setParameter, setProgram and the text operations run on host threads (user
// interface or automation); process and processReplacing on the audio thread, reading the
// steps, gains and coefficients as plain floats at every frame. setSampleRate replaces the
// line buffers and must not overlap a processing call.
#pragma once

#include "frame/effect_base.h"
#include "plugins/tloom/gap_line.h"
#include "plugins/tloom/quadrature_oscillator.h"
#include "plugins/tloom/tloom_filter.h"

#include <cstdint>

struct TloomProgram {
    float values[15];
    char name[24];
};

class TloomEffect : public EffectBase {
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
    ~TloomEffect() override;

    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParamLabel(int32_t index, char* label) override;
    void getParamDisplay(int32_t index, char* text) override;
    void getParamName(int32_t index, char* text) override;
    float getVu() override;
    void setSampleRate(float rate) override;
    void suspend() override {}
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // Called by the editor after every control change; the effect needs nothing from it.
    virtual void controlChanged(int32_t tag, float value);

    bool failed = false;

  private:
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    void setGapSpeed(QuadratureOscillator& oscillator, float value, float speedAdjust);
    void setGapMod(QuadratureOscillator& oscillator, float value);
    static void setShape(int32_t& shape, float* weights, float value);

    int32_t shapeLeft = 0;
    int32_t shapeRight = 0;
    TloomProgram* programs = nullptr;
    float invSampleRate = 0.0f;
    float vuLevel = 0.0f;
    float feedbackLeft = 0.0f;
    float feedbackRight = 0.0f;
    float speedAdjustLeft = 1.0f;
    float speedAdjustRight = 0.0f;
    float shapeWeightsLeft[kNumShapes] = {};
    float shapeWeightsRight[kNumShapes] = {};
    QuadratureOscillator gapSpeedOscLeft;
    QuadratureOscillator gapModOscLeft;
    QuadratureOscillator gapSpeedOscRight;
    QuadratureOscillator gapModOscRight;
    GapLine lineLeft;
    GapLine lineRight;
    TloomFilter filterLeft;
    TloomFilter filterRight;
    float lowGain = 0.0f;
    float bandGain = 0.0f;
    float highGain = 0.0f;

    friend struct TloomEffectProbe; // read-only view for the unit tests
};
