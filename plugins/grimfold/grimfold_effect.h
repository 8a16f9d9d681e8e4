// GrimfoldEffect: a stereo waveshaper. Each channel is scaled by a pre-gain, shaped by eight
// cubic stages in series (each blended with the signal by its own amount), scaled by a
// post-gain and, in the anti-alias mode, low-pass filtered at eight times the host rate.
//
// State: the programs (in the base), the WaveShaper settings derived from them, the oversample
// switch and the two channels' anti-alias filter memories.
// Threads: the constructor, setParameter, setProgram, the text calls and suspend run on host
// threads; process and processReplacing on the audio thread. The derived settings are relaxed
// atomics (the shaper's floats and the oversample switch) that the audio thread picks up as
// they stand: the switch once per block, the gains and amounts every frame with it on and every
// four frames with it off.
#pragma once

#include "frame/shared_value.h"
#include "frame/stereo_effect.h"
#include "plugins/grimfold/anti_alias_cascade.h"
#include "plugins/grimfold/wave_shaper.h"

#include <cstdint>

class GrimfoldEffect : public StereoEffect<GrimfoldEffect> {
  public:
    enum Parameter : int32_t {
        kPreGain,
        kPostGain,
        kShape1,
        kShape2,
        kShape3,
        kShape4,
        kShape5,
        kShape6,
        kShape7,
        kShape8,
        kOversample,
        kNumParams
    };
    static constexpr int32_t kNumPrograms = 16;

    // The entry hands in the editor's factory; without one the effect has no editor.
    explicit GrimfoldEffect(audioMasterCallback hostCallback, EditorFactory editorFactory = nullptr);

    void getParamDisplay(int32_t index, char* text) override;
    void suspend() override;

    // Read-only views for tests and the editor.
    const WaveShaper& shaperSettings() const { return shaper; }
    bool isOversampling() const { return oversample; }
    const anti_alias::CascadeChannel& filterState(int32_t channel) const {
        return channel == 0 ? leftFilter : rightFilter;
    }

  private:
    friend class StereoEffect<GrimfoldEffect>;
    void applyParameter(int32_t index, float value) override;
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    template <bool accumulate, bool oversampled>
    void runLoop(float** inputs, float** outputs, int32_t sampleFrames);
    void clearFilters();

    anti_alias::CascadeChannel leftFilter{};
    anti_alias::CascadeChannel rightFilter{};
    WaveShaper shaper;
    SharedValue<bool> oversample = false;
};
