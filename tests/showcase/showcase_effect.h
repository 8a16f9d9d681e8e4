// ShowcaseEffect: the small effect behind the showcase editor. It has one parameter per
// control on the editor's grid; three of them shape the sound (gain, pan and mute: a stereo gain
// stage), the others are only stored, so every control has a parameter the host automates.
//
// State: the programs (in the base) and the two side gains the parameters give.
// Threads: setParameter/setProgram on host threads; processing on the audio thread, reading
// the gains as plain floats.
#pragma once

#include "frame/stereo_effect.h"
#include "tools/artwork/showcase_layout.h"

#include <cstdint>

class ShowcaseEffect : public StereoEffect<ShowcaseEffect> {
  public:
    static constexpr int32_t kNumParams = showcase::kParameterCount;
    static constexpr int32_t kNumPrograms = 4;
    // The parameters that reach the sound.
    static constexpr int32_t kGain = showcase::kKnob;
    static constexpr int32_t kPan = showcase::kFilmstripKnob;
    static constexpr int32_t kMute = showcase::kToggle;

    explicit ShowcaseEffect(audioMasterCallback hostCallback,
                            EditorFactory editorFactory = nullptr);

    void getParamDisplay(int32_t index, char* text) override;

    float leftGain() const { return gainLeft; }
    float rightGain() const { return gainRight; }

  private:
    friend class StereoEffect<ShowcaseEffect>;
    void applyParameter(int32_t index, float value) override;
    template <bool accumulate> void run(float** inputs, float** outputs, int32_t sampleFrames);
    void updateGains();

    float gainLeft = 0.0f;
    float gainRight = 0.0f;
};
