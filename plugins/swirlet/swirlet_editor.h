// SwirletEditor: the phaser's editor, one background picture with seven filmstrip knobs, one
// per parameter in parameter order from left to right. It is also the knobs' listener: a knob
// the user turns automates its parameter; a parameter the host changes moves its knob, which
// the next idle call redraws.
//
// State: the knobs in the panel's table under their parameters (PanelEditor), the background
// bitmap (resource 110, held for the editor's life), the knob strip (resource 112, loaded by
// open when absent, released at close).
//
// Threads: the host's GUI thread, except setParameter, which runs inside the effect's
// setParameter on the host's parameter thread and only stores a knob value and raises the
// update flag.
#pragma once

#include "gui/panel_editor.h"

#include <cstdint>

class SwirletEditor : public PanelEditor {
  public:
    static constexpr int32_t kKnobCount = 7;
    static constexpr int32_t kBackgroundId = 110;
    static constexpr int32_t kKnobStripId = 112;
    static constexpr int32_t kStripFrames = 128;

    explicit SwirletEditor(EffectBase* effect);

    // Where knob `index` sits in the frame. `knobWidth` and `knobHeight` come from the strip.
    static Rect knobRect(int32_t index, int32_t knobWidth, int32_t knobHeight);

  private:
    void addControls() override;
};

// The editor factory swirlet's entry hands to its effect: a SwirletEditor attached to `effect`,
// or null when it cannot be made.
EditorInterface* createSwirletEditor(EffectBase& effect);
