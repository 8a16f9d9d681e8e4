// GrimfoldEditor: the waveshaper's editor, one background picture with ten filmstrip knobs in
// four groups (the two gains, then the eight shaping amounts in groups of four, two and two),
// a text display under each knob showing its parameter's text and unit, and a lamp button for
// Oversample. It is the listener of its knobs and its button: a control the user moves
// automates its parameter; a parameter the host changes moves its control and display, which
// the next idle call redraws.
//
// State: the ten knobs and the button under their parameters in the panel's tables
// (PanelEditor), a display under each knob's parameter (none under 10); the background bitmap (resource 110, held for the editor's life); the knob
// strip (112) and the button bitmap (113), loaded by open when absent and released at close.
//
// Threads: the host's GUI thread, except setParameter, which runs inside the effect's
// setParameter on the host's parameter thread and only stores values and raises the update
// flag.
#pragma once

#include "gui/panel_editor.h"

#include <cstdint>

class GrimfoldEditor : public PanelEditor {
  public:
    static constexpr int32_t kControlCount = 11; // ten knobs and the Oversample button
    static constexpr int32_t kKnobCount = 10;
    static constexpr int32_t kOversampleTag = 10;
    static constexpr int32_t kBackgroundId = 110;
    static constexpr int32_t kKnobStripId = 112;
    static constexpr int32_t kButtonId = 113;
    static constexpr int32_t kStripFrames = 43;
    static constexpr int32_t kFrameHeight = 36;
    static constexpr int32_t kDisplayFont = 6;

    explicit GrimfoldEditor(EffectBase* effect);

    void setParameter(int32_t index, float value) override;

    // Where knob `index` (0 to 9) and its display sit in the frame.
    static Rect knobRect(int32_t index);
    static Rect displayRect(int32_t index);

  private:
    void addControls() override;
};

// The editor factory grimfold's entry hands to its effect: a GrimfoldEditor attached to
// `effect`, or null when it cannot be made.
EditorInterface* createGrimfoldEditor(EffectBase& effect);
