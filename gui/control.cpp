// Control: value, bounds, dirty tracking and the shared steps of a user change.
#include "gui/control.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"

Control::Control(const Rect& rect, ControlListener* owner, int32_t controlTag, Bitmap* bitmap)
    : View(rect), listener(owner), tag(controlTag) {
    mouseEnabled = true;
    transparent = false;
    setBackground(bitmap);
}

Control::~Control() {
    setBackground(nullptr);
}

bool Control::isDirty() const {
    return value != oldValue || View::isDirty();
}

void Control::setDirty(bool flag) {
    View::setDirty(flag);
    if (flag)
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    else
        oldValue = value;
}

void Control::doIdleStuff() {
    if (frame) frame->runIdlePump();
}

void Control::setBackground(Bitmap* bitmap) {
    // The new one is remembered first, so handing in the current background keeps it alive.
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
}

void Control::bounceValue() {
    if (value > maxValue)
        value = maxValue;
    else if (value < minValue)
        value = minValue;
}

void Control::reportChange(DrawContext* context) {
    // Both variants skip the call without a listener: the older one's unconditional call
    // would go through a null pointer.
    if (!listener || (value == reportedValue && !isDirty())) return;
    reportedValue = value;
    listener->valueChanged(context, this);
}

void Control::resetToDefault(DrawContext* context) {
    value = getDefaultValue();
    reportChange(context);
}

bool Control::applyWheel(DrawContext* context, float distance) {
    if (!getMouseEnabled()) return false;
    float step = distance * wheelStep;
    if (buttonsOf(context) & MouseShift) step *= 0.1f;
    value += step;
    bounceValue();
    reportChange(context);
    return true;
}

void Control::beginGesture() {
    if (frame) frame->beginEdit(tag);
}

void Control::endGesture() {
    if (frame) frame->endEdit(tag);
}

int32_t Control::buttonsOf(DrawContext* context) {
    return context ? context->getMouseButtons() : 0;
}
