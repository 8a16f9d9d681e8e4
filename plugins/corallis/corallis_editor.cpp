// CorallisEditor: layout, opening and closing, and the parameter flow both ways.
#include "plugins/corallis/corallis_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/buttons.h"
#include "gui/editor_frame.h"
#include "gui/knob.h"

#include <new>
#include <utility>

namespace {

constexpr int32_t kKnobTop = 29;
constexpr int32_t kKnobSize = 36;
constexpr int32_t kDisplayTop = 65;
constexpr int32_t kDisplayBottom = 77;

// The knobs from left to right: parameter, knob left edge, and the display's offset from that
// edge and width.
struct KnobPlace {
    int32_t parameter;
    int32_t left;
    int32_t displayOffset;
    int32_t displayWidth;
};
constexpr KnobPlace kKnobs[CorallisEditor::kKnobCount] = {
    {0, 36, -16, 44},  {3, 77, -6, 34},  {1, 118, -9, 44}, {2, 159, -1, 41},
    {4, 229, -16, 44}, {7, 270, -6, 34}, {5, 311, -9, 44}, {6, 352, -1, 41},
    {12, 399, 1, 34},  {8, 512, 1, 34},  {9, 553, 1, 34},
};

// The mode buttons from top to bottom: top edge, tag and table entry. Row 1 is SerialMod
// inverted: lit while the ensemble runs in parallel.
struct ButtonPlace {
    int32_t top;
    int32_t tag;
    int32_t entry;
};
constexpr int32_t kButtonLeft = 447;
constexpr int32_t kSerialMod = 10;
constexpr int32_t kNegDelay = 11;
constexpr int32_t kSlowMod = 13;
constexpr int32_t kSpeed1 = 2;
constexpr int32_t kSpeed2 = 6;
constexpr ButtonPlace kButtons[4] = {
    {16, kSerialMod, kSerialMod},
    {31, CorallisEditor::kInvertedSerialTag, CorallisEditor::kInvertedSerialEntry},
    {46, kNegDelay, kNegDelay},
    {61, kSlowMod, kSlowMod},
};

constexpr Colour kDisplayBack{9, 92, 81, 0};
constexpr int32_t kDisplayFont = 6;
constexpr int32_t kAlignRight = 2;

} // namespace

ParameterDisplay::ParameterDisplay(const Rect& size, int32_t parameter)
    : ValueDisplay(size, nullptr, 0) {
    setTag(parameter);
}

void ParameterDisplay::convert(float, TextBuffer& text, void* data) {
    auto* self = static_cast<ParameterDisplay*>(data);
    if (!self) return;
    EditorBase* editor = self->getEditor();
    EffectBase* effect = editor ? editor->getEffect() : nullptr;
    const int32_t tag = self->getTag();
    if (!effect || tag < 0 || tag >= CorallisEditor::kParameterCount) return;
    // Room beyond the effect's 8 characters, zeroed so a short answer still ends.
    char value[64] = {};
    char label[16] = {};
    effect->getParamDisplay(tag, value);
    effect->getParamLabel(tag, label);
    value[sizeof(value) - 1] = '\0';
    label[sizeof(label) - 1] = '\0';
    text.append(value);
    text.append(label);
}

CorallisEditor::CorallisEditor(EffectBase* owner) : EditorBase(owner) {
    background = new (std::nothrow) Bitmap(kBackgroundId);
    if (background) {
        rect.top = 0;
        rect.left = 0;
        rect.bottom = static_cast<int16_t>(background->getHeight());
        rect.right = static_cast<int16_t>(background->getWidth());
    }
}

CorallisEditor::~CorallisEditor() {
    // The host may close the effect with the editor open: the frame forgets this editor and
    // goes with the controls.
    if (frame) frame->clearEditor();
    close();
    if (background) background->forget();
    background = nullptr;
}

EditorInterface* createCorallisEditor(EffectBase& effect) {
    return new (std::nothrow) CorallisEditor(&effect);
}

Control* CorallisEditor::control(int32_t entry) const {
    if (!frame || entry < 0 || entry > kInvertedSerialEntry) return nullptr;
    return controls[entry];
}

ParameterDisplay* CorallisEditor::display(int32_t index) const {
    if (!frame || index < 0 || index >= kParameterCount) return nullptr;
    return displays[index];
}

int32_t CorallisEditor::open(void* parentWindow) {
    EditorBase::open(parentWindow);
    if (frame) return 1; // already open: the host asked twice
    if (!parentWindow || !background) {
        systemWindow = nullptr;
        return 0;
    }
    if (!knobStrip) knobStrip = new (std::nothrow) Bitmap(kKnobStripId);
    if (!button) button = new (std::nothrow) Bitmap(kButtonId);
    if (!knobStrip || !button) {
        close();
        return 0;
    }

    const Rect size(0, 0, background->getWidth(), background->getHeight());
    frame = new (std::nothrow) EditorFrame(size, parentWindow, this);
    if (!frame) {
        close();
        return 0;
    }
    if (!frame->isOpen()) {
        // No display, or a window id the window system does not know.
        close();
        systemWindow = nullptr;
        return 0;
    }
    frame->setBackground(background);

    for (int32_t order = 0; order < kKnobCount; ++order)
        addKnobWithDisplay(order);
    for (int32_t row = 0; row < 4; ++row)
        addButton(row);
    return 1;
}

void CorallisEditor::addKnobWithDisplay(int32_t order) {
    const KnobPlace& place = kKnobs[order];
    const int32_t tag = place.parameter;
    const float current = effect ? effect->getParameter(tag) : 0.0f;
    controls[tag] = nullptr;
    displays[tag] = nullptr;

    // A control that could not be made is left out; the others still appear.
    auto* knob = new (std::nothrow)
        FilmstripKnob(Rect(Point(place.left, kKnobTop), kKnobSize, kKnobSize), this, tag,
                      kStripFrames, kKnobSize, knobStrip, Point(0, 0));
    if (knob) {
        knob->setValue(current);
        if (frame->addView(knob))
            controls[tag] = knob;
        else
            knob->forget();
    }

    const int32_t left = place.left + place.displayOffset;
    auto* text = new (std::nothrow)
        ParameterDisplay(Rect(left, kDisplayTop, left + place.displayWidth, kDisplayBottom), tag);
    if (!text) return;
    text->setHoriAlign(kAlignRight);
    text->setFont(kDisplayFont);
    text->setFontColour(GreenColour);
    text->setBackColour(kDisplayBack);
    text->setFrameColour(BlackColour);
    text->setStringConvert(&ParameterDisplay::convert, text);
    text->setValue(current);
    if (frame->addView(text))
        displays[tag] = text;
    else
        text->forget();
}

void CorallisEditor::addButton(int32_t row) {
    const ButtonPlace& place = kButtons[row];
    controls[place.entry] = nullptr;
    const int32_t width = button->getWidth();
    const int32_t height = button->getHeight() / 2;
    // Held in order even for a bitmap of odd measures.
    Rect where(kButtonLeft, place.top, kButtonLeft + width, place.top + height);
    if (where.left > where.right) std::swap(where.left, where.right);
    if (where.top > where.bottom) std::swap(where.top, where.bottom);

    auto* toggle = new (std::nothrow) ToggleButton(where, this, place.tag, button);
    if (!toggle) return;
    const float serial = effect ? effect->getParameter(kSerialMod) : 0.0f;
    if (place.tag == kInvertedSerialTag)
        toggle->setValue(1.0f - serial);
    else
        toggle->setValue(effect ? effect->getParameter(place.tag) : 0.0f);
    if (frame->addView(toggle))
        controls[place.entry] = toggle;
    else
        toggle->forget();
}

void CorallisEditor::close() {
    releaseFrame();
    for (Control*& entry : controls)
        entry = nullptr;
    for (ParameterDisplay*& entry : displays)
        entry = nullptr;
    if (knobStrip) knobStrip->forget();
    knobStrip = nullptr;
    if (button) button->forget();
    button = nullptr;
}

void CorallisEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    // The effect forwards every index; only its parameters have controls here. Index 14 in
    // particular is the inverted button's table entry, not a parameter.
    if (index < 0 || index >= kParameterCount) return;
    if (controls[index]) controls[index]->setValue(value);
    if (displays[index]) displays[index]->setValue(value);
    if (index == kSerialMod && controls[kInvertedSerialEntry]) {
        controls[kInvertedSerialEntry]->setValue(1.0f - value);
        postUpdate();
        return;
    }
    if (index == kSlowMod) {
        // The speeds' texts depend on the mode; their values do not change.
        if (displays[kSpeed1]) displays[kSpeed1]->setDirty(true);
        if (displays[kSpeed2]) displays[kSpeed2]->setDirty(true);
    }
    postUpdate();
}

void CorallisEditor::valueChanged(DrawContext* context, Control* changed) {
    if (!changed) return;
    const int32_t tag = changed->getTag();
    const float v = changed->getValue();
    if (effect) {
        if (tag == kInvertedSerialTag)
            effect->automateParameter(kSerialMod, 1.0f - v);
        else
            effect->automateParameter(tag, v);
    }
    if (context) changed->update(context);
}
