// Control: the base of every view that carries a value (knobs, buttons, sliders, texts). It
// holds the value rules once for all of them: bounds and clamping, the default that a
// control-click restores, the wheel step, dirty tracking against the last drawn value, the
// listener that hears about user changes and the host's automation gesture around drags.
// ControlListener is the one-operation interface through which a control reports a change
// the user made.
//
// State (after View's): listener (not owned), tag, oldValue (the value at the last draw, 1.0
// at first so a new control is dirty), defaultValue (0.5), value (0.0), minValue (0.0),
// maxValue (1.0), wheelStep (0.1), background bitmap (one reference held), reportedValue (the
// value the host holds: the last one reported or set through setValue; none at first).
//
// Threads: the host's GUI thread, except setValue, which an editor's setParameter may call on
// the host's parameter thread: a single float store that the next idle redraw picks up.
#pragma once

#include "gui/view.h"

#include <cstdint>
#include <limits>

class Bitmap;
class Control;
class DrawContext;

class ControlListener {
  public:
    // `context` is where the change happened (none for a change from the keyboard).
    virtual void valueChanged(DrawContext* context, Control* control) = 0;

  protected:
    ~ControlListener() = default;
};

class Control : public View {
  public:
    Control(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background);
    ~Control() override;

    void draw(DrawContext* context) override = 0;
    bool isDirty() const override;
    // true: forces a redraw by moving oldValue away from value; false: the value is drawn.
    void setDirty(bool flag = true) override;

    // The editor's idle pump, run from inside mouse-tracking loops.
    virtual void doIdleStuff();
    // Stores the value as given (no clamping: only user interaction clamps). It is the host's
    // value too, so a user change back to it is not reported.
    virtual void setValue(float newValue) {
        value = newValue;
        reportedValue = newValue;
    }
    virtual float getValue() const { return value; }
    virtual void setMin(float v) { minValue = v; }
    virtual float getMin() const { return minValue; }
    virtual void setMax(float v) { maxValue = v; }
    virtual float getMax() const { return maxValue; }
    virtual void setOldValue(float v) { oldValue = v; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float v) { defaultValue = v; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(int32_t newTag) { tag = newTag; }
    // Forgets the previous background and remembers the new one (either may be none).
    virtual void setBackground(Bitmap* bitmap);
    virtual Bitmap* getBackground() const { return background; }
    virtual void setWheelStep(float v) { wheelStep = v; }
    virtual float getWheelStep() const { return wheelStep; }
    // Brings value back inside minValue..maxValue.
    virtual void bounceValue();

    int32_t getTag() const { return tag; }
    ControlListener* getListener() const { return listener; }

  protected:
    // The steps every interactive control shares once it has changed `value`.
    // Tells the listener when the value differs from the one the host holds, or from what is
    // drawn (and there is a listener). The host's value counts: a value that moves away and
    // back between two redraws must still reach the host.
    void reportChange(DrawContext* context);
    // Control-click: restores defaultValue and reports it when that changed the value.
    void resetToDefault(DrawContext* context);
    // The wheel rule: distance notches of wheelStep (a tenth of it with shift), clamped,
    // reported. False when the mouse is disabled for the control.
    bool applyWheel(DrawContext* context, float distance);
    // The host's automation gesture around a drag, through the frame (nothing without one).
    void beginGesture();
    void endGesture();
    // Buttons and modifiers held now (Mouse* bits); 0 without a context.
    static int32_t buttonsOf(DrawContext* context);

    ControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minValue = 0.0f;
    float maxValue = 1.0f;
    float wheelStep = 0.1f;
    Bitmap* background = nullptr;
    float reportedValue = std::numeric_limits<float>::quiet_NaN();
};
