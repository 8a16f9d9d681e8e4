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

// Right-aligned green text on the panel's dark teal, in a black frame, with the unit.
constexpr DisplayLook kDisplayLook{6, 2, GreenColour, {9, 92, 81, 0}, BlackColour, true};

} // namespace

CorallisEditor::CorallisEditor(EffectBase* owner)
    : PanelEditor(owner, kBackgroundId, {kKnobStripId, kButtonId}) {}

EditorInterface* createCorallisEditor(EffectBase& effect) {
    return new (std::nothrow) CorallisEditor(&effect);
}

void CorallisEditor::addControls() {
    for (int32_t order = 0; order < kKnobCount; ++order)
        addKnobWithDisplay(order);
    for (int32_t row = 0; row < 4; ++row)
        addButton(row);
}

void CorallisEditor::addKnobWithDisplay(int32_t order) {
    const KnobPlace& place = kKnobs[order];
    const int32_t tag = place.parameter;
    addKnob(Rect(Point(place.left, kKnobTop), kKnobSize, kKnobSize), tag, kStripFrames, kKnobSize,
            controlBitmap(0));
    const int32_t left = place.left + place.displayOffset;
    addDisplay(Rect(left, kDisplayTop, left + place.displayWidth, kDisplayBottom), tag,
               kDisplayLook);
}

void CorallisEditor::addButton(int32_t row) {
    const ButtonPlace& place = kButtons[row];
    Bitmap* button = controlBitmap(1);
    const int32_t width = button->getWidth();
    const int32_t height = button->getHeight() / 2;
    // Held in order even for a bitmap of odd measures.
    Rect where(kButtonLeft, place.top, kButtonLeft + width, place.top + height);
    if (where.left > where.right) std::swap(where.left, where.right);
    if (where.top > where.bottom) std::swap(where.top, where.bottom);

    auto* toggle = new (std::nothrow) ToggleButton(where, this, place.tag, button);
    if (!toggle) return;
    if (place.tag == kInvertedSerialTag)
        toggle->setValue(1.0f - parameterValue(kSerialMod));
    else
        toggle->setValue(parameterValue(place.tag));
    addControl(place.entry, toggle);
}

void CorallisEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    // The effect forwards every index; only its parameters have controls here. Index 14 in
    // particular is the inverted button's table entry, not a parameter.
    if (index < 0 || index >= kParameterCount) return;
    PanelEditor::setParameter(index, value);
    if (index == kSerialMod) {
        if (Control* inverted = control(kInvertedSerialEntry)) inverted->setValue(1.0f - value);
    } else if (index == kSlowMod) {
        // The speeds' texts depend on the mode; their values do not change.
        if (ParameterDisplay* speed = display(kSpeed1)) speed->setDirty(true);
        if (ParameterDisplay* speed = display(kSpeed2)) speed->setDirty(true);
    }
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
