// GrimfoldEditor: layout, opening and closing, the displays' texts and the parameter flow
// both ways.
#include "plugins/grimfold/grimfold_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/buttons.h"
#include "gui/colour.h"
#include "gui/editor_frame.h"
#include "gui/knob.h"

#include <new>

namespace {

// Each group of knobs starts at its own left edge; inside a group every knob sits one step
// to the right of the one before. The groups: the gains (0, 1), shapes 1 to 4, 5 and 6, 7 and 8.
constexpr int32_t kGroupLefts[4] = {25, 136, 325, 436};
constexpr int32_t kGroupFirst[4] = {0, 2, 6, 8};
constexpr int32_t kKnobTop = 29;
constexpr int32_t kKnobSize = 36;
constexpr int32_t kKnobStep = 39;

// A display is 42 x 12, from 3 pixels left of its knob, starting 36 pixels below the knob's top.
constexpr int32_t kDisplayLeftOffset = -3;
constexpr int32_t kDisplayRightOffset = 39;
constexpr int32_t kDisplayTopOffset = 36;
constexpr int32_t kDisplayBottomOffset = 48;

constexpr int32_t kButtonLeft = 544;
constexpr int32_t kButtonTop = 29;

constexpr DisplayLook kDisplayLook{
    GrimfoldEditor::kDisplayFont, 1, {0, 255, 0, 0}, {9, 92, 81, 0}, {0, 0, 0, 0}, true};

// Whether two views' rectangles share a pixel (both edges drawn, as the display boxes are).
bool overlaps(const View* a, const View* b) {
    const Rect& p = a->getViewSize();
    const Rect& q = b->getViewSize();
    return p.left <= q.right && q.left <= p.right && p.top <= q.bottom && q.top <= p.bottom;
}

} // namespace

GrimfoldEditor::GrimfoldEditor(EffectBase* owner)
    : PanelEditor(owner, kBackgroundId, {kKnobStripId, kButtonId}) {}

EditorInterface* createGrimfoldEditor(EffectBase& effect) {
    return new (std::nothrow) GrimfoldEditor(&effect);
}

Rect GrimfoldEditor::knobRect(int32_t index) {
    int32_t group = 0;
    while (group < 3 && index >= kGroupFirst[group + 1])
        ++group;
    const int32_t left = kGroupLefts[group] + (index - kGroupFirst[group]) * kKnobStep;
    return Rect(left, kKnobTop, left + kKnobSize, kKnobTop + kKnobSize);
}

Rect GrimfoldEditor::displayRect(int32_t index) {
    const Rect knob = knobRect(index);
    return Rect(knob.left + kDisplayLeftOffset, knob.top + kDisplayTopOffset,
                knob.left + kDisplayRightOffset, knob.top + kDisplayBottomOffset);
}

void GrimfoldEditor::addControls() {
    Bitmap* strip = controlBitmap(0);
    for (int32_t i = 0; i < kKnobCount; ++i) {
        addKnob(knobRect(i), i, kStripFrames, kFrameHeight, strip);
        addDisplay(displayRect(i), i, kDisplayLook);
    }
    Bitmap* lamp = controlBitmap(1);
    const Rect buttonRect(Point(kButtonLeft, kButtonTop), lamp->getWidth(), lamp->getHeight() / 2);
    auto* button = new (std::nothrow) ToggleButton(buttonRect, this, kOversampleTag, lamp);
    if (button) button->setValue(parameterValue(kOversampleTag));
    addControl(kOversampleTag, button);
}

void GrimfoldEditor::setParameter(int32_t index, float value) {
    if (index < 0 || index >= kControlCount) return; // not one of this editor's parameters
    PanelEditor::setParameter(index, value);
    // Neighbouring displays of a group share their edge columns, and the one drawn later covers
    // the shared edge: redrawing this display alone would paint over its right neighbour's
    // frame, so the rest of its row is redrawn after it, in drawing order.
    ParameterDisplay* shown = display(index);
    if (!shown || !shown->isDirty()) return;
    for (int32_t i = index; i + 1 < kKnobCount; ++i) {
        ParameterDisplay* next = display(i + 1);
        if (!display(i) || !next || !overlaps(display(i), next)) break;
        next->setDirty(true);
    }
}
