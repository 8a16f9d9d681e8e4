// SwirletEffect: a stereo phaser. Each side runs six first-order all-pass stages whose common
// coefficient is swept by that side's own rotating-vector LFO, with feedback from the last stage,
// a cross-feed of the other side's input and a dry/wet mix.
//
// State: 16 programs (the current one holds the live parameter values), two PhaserChannels,
// the cross gain and halfPeriod (0.5 / sample rate).
// Threads: setParameter/setProgram/setSampleRate on host threads; process and processReplacing
// on the audio thread, reading the coefficients as plain floats.
#pragma once

#include "frame/effect_base.h"

#include <cstdint>

struct SwirletProgram {
    float values[7];
    char name[24];
};

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

class SwirletEffect : public EffectBase {
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
    ~SwirletEffect() override;

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

    // Read-only view of a side's state (0 left, 1 right), for inspection.
    const PhaserChannel& channel(int side) const { return side == 0 ? left : right; }
    float crossGain() const { return cross; }

    bool failed = false;

  private:
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    void setRate(PhaserChannel& channel, float value);
    void renormaliseOscillators();
    void resetChannels();

    SwirletProgram* programs = nullptr;
    float vuLevel = 0.0f;
    float halfPeriod = 0.0f;
    float denormalOffset = 0.0f;
    PhaserChannel left{};
    PhaserChannel right{};
    float cross = 0.0f;
};
