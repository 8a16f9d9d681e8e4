// SwirletEffect: a stereo phaser. Each side runs six first-order all-pass stages whose common
// coefficient is swept by that side's own rotating-vector LFO, with feedback from the last stage,
// a cross-feed of the other side's input and a dry/wet mix.
//
// State: the programs (in the base), two PhaserChannels, the cross gain, halfPeriod
// (0.5 / sample rate), the offset that keeps the chains out of the denormal range and the
// request to restart the chains and sweeps.
// Threads: setParameter/setProgram/setSampleRate on host threads; process and processReplacing
// on the audio thread. Feedback, depth, the LFO steps and the cross gain are relaxed atomics
// (SharedValue) that the audio loop reads at every frame; the stage memories and the LFO points
// belong to the audio thread alone. A program change therefore only raises the restart request,
// and the next block starts by restarting both chains and sweeps.
#pragma once

#include "frame/shared_value.h"
#include "frame/stereo_effect.h"

#include <cstdint>

// One side of the phaser: six all-pass stages, feedback, depth and its LFO.
struct PhaserChannel {
    struct Stage {
        float stageIn;
        float stageOut;
    };
    Stage stages[6];
    SharedValue<float> feedback;
    SharedValue<float> depth;
    float oscCos;
    float oscSin;
    SharedValue<float> stepCos;
    SharedValue<float> stepSin;
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
    SharedValue<float> cross = 0.0f;
    SharedValue<bool> restartRequested = false;
};
