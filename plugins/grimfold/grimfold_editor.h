// GrimfoldEditor: the waveshaper's editor, one background picture with ten filmstrip knobs in
// four groups (the two gains, then the eight shaping amounts in groups of four, two and two),
// a text display under each knob showing its parameter's text and unit, and a lamp button for
// Oversample. It is the listener of its knobs and its button: a control the user moves
// automates its parameter; a parameter the host changes moves its control and display, which
// the next idle call redraws.
//
// State: the control table (ten knobs and the button, by parameter) and the display table
// (one per knob, entry 10 always empty), both references to views the frame owns and valid
// only while open; the background bitmap (resource 110, held for the editor's life); the knob
// strip (112) and the button bitmap (113), loaded by open when absent and released at close.
//
// Threads: the host's GUI thread, except setParameter, which runs inside the effect's
// setParameter on the host's parameter thread and only stores values and raises the update
// flag.
#pragma once

#include "gui/control.h"
#include "gui/editor_base.h"
#include "gui/geometry.h"
#include "gui/value_display.h"

#include <cstdint>

class Bitmap;

// A value display that carries its parameter index as its tag and shows the effect's text for
// that parameter, whatever its own value.
class ParameterDisplay : public ValueDisplay {
  public:
    ParameterDisplay(const Rect& size, Bitmap* background, int32_t style)
        : ValueDisplay(size, background, style) {}
};

class GrimfoldEditor : public EditorBase, public ControlListener {
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
    ~GrimfoldEditor() override;

    int32_t open(void* parentWindow) override;
    void close() override;
    void setParameter(int32_t index, float value) override;
    void valueChanged(DrawContext* context, Control* control) override;
    void update() override {}

    // Where knob `index` (0 to 9) and its display sit in the frame.
    static Rect knobRect(int32_t index);
    static Rect displayRect(int32_t index);
    // The control and the display of parameter `index` while the editor is open, else none.
    Control* control(int32_t index) const;
    ParameterDisplay* display(int32_t index) const;

    // The displays' converter: the effect's text for the display's tag followed by its label;
    // an empty text when the display has no frame, the frame no editor or the editor no effect.
    static void convertParameter(float value, TextBuffer& text, void* display);

  private:
    Control* controls[kControlCount] = {};
    ParameterDisplay* displays[kControlCount] = {};
    Bitmap* background = nullptr;
    Bitmap* knobStrip = nullptr;
    Bitmap* buttonBitmap = nullptr;
};

// The editor factory grimfold's entry hands to its effect: a GrimfoldEditor attached to
// `effect`, or null when it cannot be made.
EditorInterface* createGrimfoldEditor(EffectBase& effect);
