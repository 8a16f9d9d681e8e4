// SwirletEffect: a stereo phaser. Each side runs six first-order all-pass stages whose common
// coefficient is swept by that side's own rotating-vector LFO, with feedback from the last stage,
// a cross-feed of the other side's input and a dry/wet mix.
//
// State: the programs (in the base), two PhaserChannels with their PhaserSettings, the cross
// gain, halfPeriod (0.5 / sample rate), the offset that keeps the chains out of the denormal
// range and the request to restart the chains and sweeps.
// Threads: setParameter/setProgram/setSampleRate on host threads; process and processReplacing
// on the audio thread. Host threads write only the settings and the cross gain, relaxed atomics
// (SharedValue), and announce each change (ChangeCount); the audio thread keeps plain copies in
// its channels, which the frame loop reads, and renews them at the next frame after an
// announcement. The channels (stage memories, LFO points, those copies) belong to it. A program
// change therefore only raises the restart request, and the next block starts by restarting both
// chains and sweeps.
#pragma once

#include "frame/change_count.h"
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
    float feedback;
    float depth;
    float oscCos;
    float oscSin;
    float stepCos;
    float stepSin;
};

// What a parameter change sets for one side.
struct PhaserSettings {
    SharedValue<float> feedback = 0.0f;
    SharedValue<float> depth = 0.0f;
    SharedValue<float> stepCos = 1.0f;
    SharedValue<float> stepSin = 0.0f;
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

    // A copy of a side's state with its settings (0 left, 1 right), for inspection while no
    // block runs.
    PhaserChannel channel(int side) const;
    float crossGain() const { return cross; }

  private:
    friend class StereoEffect<SwirletEffect>;
    void applyParameter(int32_t index, float value) override;
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    // Kept out of run, so that run's atomic accesses stay out of the frame loop's function.
    template <bool accumulate>
    [[gnu::noinline]] void runFrames(float** inputs, float** outputs, int32_t first, int32_t end);
    // Frames between two looks for changed settings.
    static constexpr int32_t kRunFrames = 64;
    void setRate(PhaserSettings& settings, float value);
    void renormaliseOscillators();
    void resetChannels();
    void takeSettings();

    float halfPeriod = 0.0f;
    float denormalOffset = 0.0f;
    PhaserChannel left{};
    PhaserChannel right{};
    PhaserSettings leftSettings;
    PhaserSettings rightSettings;
    SharedValue<float> cross = 0.0f;
    float crossInUse = 0.0f; // the audio thread's copy
    SharedValue<bool> restartRequested = false;
    ChangeCount settingsChanges;
};
