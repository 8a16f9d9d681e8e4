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

constexpr Colour kDisplayText = {0, 255, 0, 0};
constexpr Colour kDisplayBack = {9, 92, 81, 0};
constexpr Colour kDisplayFrame = {0, 0, 0, 0};

// The label a parameter brings is at most this long, its terminating zero included.
constexpr int32_t kLabelSize = 16;

// Whether two views' rectangles share a pixel (both edges drawn, as the display boxes are).
bool overlaps(const View* a, const View* b) {
    const Rect& p = a->getViewSize();
    const Rect& q = b->getViewSize();
    return p.left <= q.right && q.left <= p.right && p.top <= q.bottom && q.top <= p.bottom;
}

} // namespace

GrimfoldEditor::GrimfoldEditor(EffectBase* owner) : EditorBase(owner) {
    background = new (std::nothrow) Bitmap(kBackgroundId);
    if (background) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = static_cast<int16_t>(background->getHeight());
        rect.right = static_cast<int16_t>(background->getWidth());
    }
}

GrimfoldEditor::~GrimfoldEditor() {
    // The host may close the effect with the editor open (even from inside a drag's idle
    // pump): the frame forgets this editor, which ends such a drag, and goes.
    if (frame) frame->clearEditor();
    close();
    if (background) background->forget();
    background = nullptr;
}

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

Control* GrimfoldEditor::control(int32_t index) const {
    if (!frame || index < 0 || index >= kControlCount) return nullptr;
    return controls[index];
}

ParameterDisplay* GrimfoldEditor::display(int32_t index) const {
    if (!frame || index < 0 || index >= kControlCount) return nullptr;
    return displays[index];
}

void GrimfoldEditor::convertParameter(float, TextBuffer& text, void* data) {
    // The display's own value only decides when it redraws; the text is the effect's now.
    auto* shown = static_cast<ParameterDisplay*>(data);
    EditorFrame* owner = shown ? shown->getFrame() : nullptr;
    EditorBase* editor = owner ? owner->getEditor() : nullptr;
    EffectBase* effect = editor ? editor->getEffect() : nullptr;
    if (!effect) return;
    const int32_t tag = shown->getTag();
    if (tag < 0 || tag >= kControlCount) return;
    // Both buffers are larger than anything the effect writes, and end in zero whatever it does.
    char value[TextBuffer::kMaxLength + 1] = {};
    char label[kLabelSize] = {};
    effect->getParamDisplay(tag, value);
    effect->getParamLabel(tag, label);
    value[TextBuffer::kMaxLength] = 0;
    label[kLabelSize - 1] = 0;
    text.append(value);
    text.append(label);
}

int32_t GrimfoldEditor::open(void* parentWindow) {
    EditorBase::open(parentWindow);
    if (frame) return 1; // already open: the host asked twice
    if (!parentWindow || !background) {
        systemWindow = nullptr;
        return 0;
    }
    if (!knobStrip) knobStrip = new (std::nothrow) Bitmap(kKnobStripId);
    if (!buttonBitmap) buttonBitmap = new (std::nothrow) Bitmap(kButtonId);
    if (!knobStrip || !buttonBitmap) {
        close();
        systemWindow = nullptr;
        return 0;
    }

    const Rect size(0, 0, background->getWidth(), background->getHeight());
    frame = new (std::nothrow) EditorFrame(size, parentWindow, this);
    if (!frame) {
        close();
        systemWindow = nullptr;
        return 0;
    }
    if (!frame->isOpen()) {
        // No display, or a window id the window system does not know.
        close();
        systemWindow = nullptr;
        return 0;
    }
    frame->setBackground(background);

    for (Control*& entry : controls)
        entry = nullptr;
    for (ParameterDisplay*& entry : displays)
        entry = nullptr;

    for (int32_t i = 0; i < kKnobCount; ++i) {
        const float current = effect ? effect->getParameter(i) : 0.0f;
        auto* knob = new (std::nothrow)
            FilmstripKnob(knobRect(i), this, i, kStripFrames, kFrameHeight, knobStrip, Point(0, 0));
        if (knob) { // a control that could not be made is left out
            knob->setValue(current);
            if (frame->addView(knob))
                controls[i] = knob;
            else
                knob->forget();
        }

        auto* shown = new (std::nothrow) ParameterDisplay(displayRect(i), nullptr, 0);
        if (!shown) continue;
        shown->setTag(i);
        shown->setHoriAlign(1);
        shown->setFont(kDisplayFont);
        shown->setFontColour(kDisplayText);
        shown->setBackColour(kDisplayBack);
        shown->setFrameColour(kDisplayFrame);
        shown->setStringConvert(&GrimfoldEditor::convertParameter, shown);
        shown->setValue(current);
        if (frame->addView(shown))
            displays[i] = shown;
        else
            shown->forget();
    }

    const Rect buttonRect(Point(kButtonLeft, kButtonTop), buttonBitmap->getWidth(),
                          buttonBitmap->getHeight() / 2);
    auto* button = new (std::nothrow) ToggleButton(buttonRect, this, kOversampleTag, buttonBitmap);
    if (button) {
        button->setValue(effect ? effect->getParameter(kOversampleTag) : 0.0f);
        if (frame->addView(button))
            controls[kOversampleTag] = button;
        else
            button->forget();
    }
    return 1;
}

void GrimfoldEditor::close() {
    releaseFrame();
    for (Control*& entry : controls)
        entry = nullptr;
    for (ParameterDisplay*& entry : displays)
        entry = nullptr;
    if (knobStrip) knobStrip->forget();
    knobStrip = nullptr;
    if (buttonBitmap) buttonBitmap->forget();
    buttonBitmap = nullptr;
}

void GrimfoldEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    if (index < 0 || index >= kControlCount) return; // not one of this editor's parameters
    if (controls[index]) controls[index]->setValue(value);
    if (displays[index]) {
        displays[index]->setValue(value);
        // Neighbouring displays of a group share their edge columns, and the one drawn later
        // covers the shared edge: redrawing this display alone would paint over its right
        // neighbour's frame, so the rest of its row is redrawn after it, in drawing order.
        if (displays[index]->isDirty())
            for (int32_t i = index; i + 1 < kKnobCount; ++i) {
                if (!displays[i] || !displays[i + 1] || !overlaps(displays[i], displays[i + 1]))
                    break;
                displays[i + 1]->setDirty(true);
            }
    }
    postUpdate();
}

void GrimfoldEditor::valueChanged(DrawContext* context, Control* control) {
    if (!control) return;
    const int32_t tag = control->getTag();
    if (tag < 0 || tag >= kControlCount) return;
    if (effect) effect->automateParameter(tag, control->getValue());
    if (context) control->update(context);
}
