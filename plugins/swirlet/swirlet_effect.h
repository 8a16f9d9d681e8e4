// SwirletEffect: a stereo phaser. Each side runs six first-order all-pass stages whose common
// coefficient is swept by that side's own rotating-vector LFO, with feedback from the last stage,
// a cross-feed of the other side's input and a dry/wet mix.
//
// State: the programs (in the base), two PhaserChannels, the cross gain, halfPeriod
// (0.5 / sample rate) and the offset that keeps the chains out of the denormal range.
// Threads: setParameter/setProgram/setSampleRate on host threads; process and processReplacing
// on the audio thread, reading the coefficients as plain floats.
#pragma once

#include "frame/stereo_effect.h"

#include <cstdint>

// One side of the phaser: six all-pass stages, feedback, depth and its LFO.
struct PhaserChannel {
    struct Stage {
        float stageIn;
        float stageOut;
    };
    Stage stages[6];
    float feedback;
    float depth;
    float oscCos;
    float oscSin;
    float stepCos;
    float stepSin;
};

class SwirletEffect : public StereoEffect<SwirletEffect> {
  public:
    enum Parameter : int32_t {
        kDepthL,
        kRateL,
        kFeedbackL,
        kDepthR,
        kRateR,
        kFeedbackR,
        kCross,
        kNumParams
    };
    static constexpr int32_t kNumPrograms = 16;

    // The entry hands in the editor's factory; without one the effect has no editor.
    explicit SwirletEffect(audioMasterCallback hostCallback, EditorFactory editorFactory = nullptr);

    void setProgram(int32_t program) override;
    void getParamDisplay(int32_t index, char* text) override;
    void setSampleRate(float rate) override;

    // Read-only view of a side's state (0 left, 1 right), for inspection.
    const PhaserChannel& channel(int side) const { return side == 0 ? left : right; }
    float crossGain() const { return cross; }

  private:
    friend class StereoEffect<SwirletEffect>;
    void applyParameter(int32_t index, float value) override;
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    void setRate(PhaserChannel& channel, float value);
    void renormaliseOscillators();
    void resetChannels();

    float halfPeriod = 0.0f;
    float denormalOffset = 0.0f;
    PhaserChannel left{};
    PhaserChannel right{};
    float cross = 0.0f;
};
