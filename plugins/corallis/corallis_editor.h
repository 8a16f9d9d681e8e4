// CorallisEditor: the ensemble's editor, a 600 x 100 panel with eleven filmstrip knobs, a text
// display under each, and four toggle buttons for the modes. It is also the controls'
// listener: a control the user moves automates its parameter; a parameter the host changes
// moves its control and display, which the next idle call redraws.
//
// State: the control table (entry i is the knob or button of parameter i, entry 14 the
// inverted SerialMod button), the display table (entry i is the display under the knob of
// parameter i), the background bitmap (resource 107, held for the editor's life), the knob
// strip (104) and the button (109), loaded by open when absent and released at close. The
// controls and displays belong to the frame; the tables are valid only while it is open.
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

    // The control in table entry `entry` (0..14) while the editor is open, else none.
    Control* control(int32_t entry) const;
    // The display of parameter `index` while the editor is open, else none.
    ParameterDisplay* display(int32_t index) const;

  private:
    void addControls() override;
    void forgetControls() override;
    void addKnobWithDisplay(int32_t order);
    void addButton(int32_t row);

    Control* controls[kParameterCount + 1] = {};
    ParameterDisplay* displays[kParameterCount] = {};
};

// The editor factory corallis's entry hands to its effect: a CorallisEditor attached to
// `effect`, or null when it cannot be made.
EditorInterface* createCorallisEditor(EffectBase& effect);
