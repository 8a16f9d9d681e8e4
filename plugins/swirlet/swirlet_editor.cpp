// SwirletEditor: layout, opening and closing, and the parameter flow both ways.
#include "plugins/swirlet/swirlet_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/editor_frame.h"
#include "gui/knob.h"

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

SwirletEditor::SwirletEditor(EffectBase* owner) : EditorBase(owner) {
    background = new (std::nothrow) Bitmap(kBackgroundId);
    if (background) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = static_cast<int16_t>(background->getHeight());
        rect.right = static_cast<int16_t>(background->getWidth());
    }
}

SwirletEditor::~SwirletEditor() {
    // The host may close the effect with the editor open (even from inside a knob drag's idle
    // pump): the frame forgets this editor, which ends such a drag, and goes.
    if (frame) frame->clearEditor();
    close();
    if (knobStrip) knobStrip->forget();
    knobStrip = nullptr;
    if (background) background->forget();
    background = nullptr;
}

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

FilmstripKnob* SwirletEditor::knob(int32_t index) const {
    if (!frame || index < 0 || index >= kKnobCount) return nullptr;
    return knobs[index];
}

int32_t SwirletEditor::open(void* parentWindow) {
    EditorBase::open(parentWindow);
    if (frame) return 1; // already open: the host asked twice
    if (!parentWindow || !background) {
        systemWindow = nullptr;
        return 0;
    }
    if (!knobStrip) knobStrip = new (std::nothrow) Bitmap(kKnobStripId);
    if (!knobStrip) return 0;

    const Rect size(0, 0, background->getWidth(), background->getHeight());
    frame = new (std::nothrow) EditorFrame(size, parentWindow, this);
    if (!frame) return 0;
    if (!frame->isOpen()) {
        // No display, or a window id the window system does not know.
        close();
        systemWindow = nullptr;
        return 0;
    }
    frame->setBackground(background);

    const int32_t knobWidth = knobStrip->getWidth();
    const int32_t knobHeight = knobStrip->getHeight() / kStripFrames;
    for (int32_t i = 0; i < kKnobCount; ++i) {
        knobs[i] = nullptr;
        const float current = effect ? effect->getParameter(i) : 0.0f;
        auto* knob =
            new (std::nothrow) FilmstripKnob(knobRect(i, knobWidth, knobHeight), this, i,
                                             kStripFrames, knobHeight, knobStrip, Point(0, 0));
        if (!knob) continue; // a knob that could not be made is left out
        knob->setValue(current);
        if (!frame->addView(knob)) {
            knob->forget();
            continue;
        }
        knobs[i] = knob;
    }
    return 1;
}

void SwirletEditor::close() {
    releaseFrame();
    for (FilmstripKnob*& knob : knobs)
        knob = nullptr;
    if (knobStrip) knobStrip->forget();
    knobStrip = nullptr;
}

void SwirletEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    if (index >= 0 && index < kKnobCount && knobs[index]) knobs[index]->setValue(value);
    postUpdate();
}

void SwirletEditor::valueChanged(DrawContext* context, Control* control) {
    if (!control) return;
    if (effect) effect->automateParameter(control->getTag(), control->getValue());
    if (context) control->update(context);
}
