// CorallisEffect: a stereo ensemble of twelve modulated delay voices with crossed feedback and
// randomised sweep depths, chained one after another (serial mode) or all fed the dry input and
// summed (parallel mode), mixed with the dry input by a dry gain and a signed wet gain.
//
// State: the programs (in the base, each in the ensemble's record order), the twelve
// EnsembleVoices, their shared EnsembleContext (span, lineLength, speedScale, random
// generator), serialMode, slowMode, wetPolarity, wetGain, speedLeft and speedRight.
// Threads: setParameter, setProgram and the texts on host threads (relaxed atomic stores of
// single 32-bit values, no locks); setSampleRate and suspend while processing is stopped;
// process and processReplacing on the audio thread, which never allocates and picks up changed
// gains and modes at the next block, changed voice settings and a program change's restart at
// the next run of at most kRunFrames frames (each change is announced through a ChangeCount).
#pragma once

#include "frame/change_count.h"
#include "frame/shared_value.h"
#include "frame/stereo_effect.h"
#include "plugins/corallis/corallis_program.h"
#include "plugins/corallis/ensemble_context.h"
#include "plugins/corallis/ensemble_voice.h"
#include "plugins/corallis/voice_factors.h"

#include <cstdint>

class CorallisEffect : public StereoEffect<CorallisEffect> {
  public:
    // The entry hands in the editor's factory; without one the effect has no editor.
    explicit CorallisEffect(audioMasterCallback hostCallback, EditorFactory editorFactory = nullptr);

    void setProgram(int32_t program) override;
    void getParamLabel(int32_t index, char* label) override;
    void getParamDisplay(int32_t index, char* text) override;
    void setSampleRate(float rate) override;
    void suspend() override;

    // Read access for tests and the editor.
    const EnsembleVoice& voice(int32_t index) const { return voices[index]; }
    const EnsembleContext& ensembleContext() const { return context; }
    bool isSerial() const { return serialMode; }
    bool isSlow() const { return slowMode; }
    float getWetGain() const { return wetGain; }
    float getWetPolarity() const { return wetPolarity; }
    float getSpeedLeft() const { return speedLeft; }
    float getSpeedRight() const { return speedRight; }

  private:
    friend class StereoEffect<CorallisEffect>;
    // Frames the voices process one after another before the mix (at most).
    static constexpr int32_t kRunFrames = 64;

    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    template <bool accumulate, bool serial>
    void runVoices(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                   int32_t sampleFrames);
    template <bool accumulate>
    void runDryOnly(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int32_t sampleFrames);

    // Recomputes the voices' values that one parameter drives.
    void applyParameter(int32_t index, float value) override;
    void applyDelay(Side side, const SideFactors& factors, float value);
    void applyDepth(Side side, const SideFactors& factors, float value);
    void applySpeed(Side side, const SideFactors& factors, float shapedSpeed, float value);
    void applyFeedback(Side side, float value);
    // Gives every voice silent lines for a rate, written from position 0: the lines in place
    // when their length stays, else newly allocated ones. On failure (rate out of range or
    // memory exhausted) nothing changes and it answers false.
    bool installLinesForRate(float rate);
    void resetVoices(bool restart);

    EnsembleVoice voices[kVoiceCount];
    EnsembleContext context;
    bool linesReady = false;
    SharedValue<bool> serialMode = true;
    SharedValue<bool> slowMode = false;
    SharedValue<float> wetPolarity = 1.0f;
    SharedValue<float> wetGain = 0.0f;
    // Announced after every change of the voices' settings or requests; the audio thread has the
    // voices take them up at the start of the next run when it moved (from a value the count
    // cannot have at first, so the first run takes them up).
    ChangeCount settingsChanges;
    uint32_t seenChanges = ~0u;
    float speedLeft = 0.0f;
    float speedRight = 0.0f;
};
