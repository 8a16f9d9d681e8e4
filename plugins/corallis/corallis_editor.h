// CorallisEditor: the ensemble's editor, a 600 x 100 panel with eleven filmstrip knobs, a text
// display under each, and four toggle buttons for the modes. It is also the controls'
// listener: a control the user moves automates its parameter; a parameter the host changes
// moves its control and display, which the next idle call redraws.
//
// State: in the panel's tables (PanelEditor), entry i holds the knob or button of parameter i
// and the display under its knob, entry 14 the inverted SerialMod button; the background
// bitmap (resource 107, held for the editor's life), the knob strip (104) and the button
// (109), loaded by open when absent and released at close.
//
// Threads: the host's GUI thread, except setParameter, which runs inside the effect's
// setParameter on the host's parameter thread and only stores values and raises flags.
#pragma once

#include "gui/panel_editor.h"

#include <cstdint>

class CorallisEditor : public PanelEditor {
  public:
    static constexpr int32_t kParameterCount = 14;
    static constexpr int32_t kInvertedSerialEntry = 14;
    static constexpr int32_t kInvertedSerialTag = -10;
    static constexpr int32_t kKnobCount = 11;
    static constexpr int32_t kBackgroundId = 107;
    static constexpr int32_t kKnobStripId = 104;
    static constexpr int32_t kButtonId = 109;
    static constexpr int32_t kStripFrames = 43;

    explicit CorallisEditor(EffectBase* effect);

    void setParameter(int32_t index, float value) override;
    void valueChanged(DrawContext* context, Control* control) override;

  private:
    void addControls() override;
    void addKnobWithDisplay(int32_t order);
    void addButton(int32_t row);
};

// The editor factory corallis's entry hands to its effect: a CorallisEditor attached to
// `effect`, or null when it cannot be made.
EditorInterface* createCorallisEditor(EffectBase& effect);
