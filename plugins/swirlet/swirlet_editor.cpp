// SwirletEditor: layout, opening and closing, and the parameter flow both ways.
#include "plugins/swirlet/swirlet_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"

#include <new>

namespace {

// The first knob's top-left corner, the step between knobs, and the extra gaps that set the
// left side, the right side and the Cross knob apart.
constexpr int32_t kFirstLeft = 27;
constexpr int32_t kKnobTop = 36;
constexpr int32_t kKnobStep = 51;
constexpr int32_t kGapAfterLeftGroup = 4; // after knob 2
constexpr int32_t kGapBeforeCross = 19;   // after knob 5

} // namespace

SwirletEditor::SwirletEditor(EffectBase* owner)
    : PanelEditor(owner, kBackgroundId, {kKnobStripId}) {}

EditorInterface* createSwirletEditor(EffectBase& effect) {
    return new (std::nothrow) SwirletEditor(&effect);
}

Rect SwirletEditor::knobRect(int32_t index, int32_t knobWidth, int32_t knobHeight) {
    int32_t left = kFirstLeft;
    for (int32_t i = 0; i < index; ++i) {
        left += kKnobStep;
        if (i == 2) left += kGapAfterLeftGroup;
        if (i == 5) left += kGapBeforeCross;
    }
    return Rect(Point(left, kKnobTop), knobWidth, knobHeight);
}

void SwirletEditor::addControls() {
    Bitmap* strip = controlBitmap(0);
    const int32_t knobWidth = strip->getWidth();
    const int32_t knobHeight = strip->getHeight() / kStripFrames;
    for (int32_t i = 0; i < kKnobCount; ++i)
        addKnob(knobRect(i, knobWidth, knobHeight), i, kStripFrames, knobHeight, strip);
}
