// Buttons: the toggle, the overlay panel, the two-frame and the momentary button.
#include "gui/buttons.h"

#include "gui/control_support.h"

#include <cmath>

using control_support::drawRegion;
using control_support::leftHeld;
using control_support::pressButtons;
using control_support::tell;
using control_support::track;

namespace {

// The value a held two-state button shows: flipped over the button, as pressed off it.
float heldValue(float atPress, const Rect& size, const Point& where) {
    if (!size.pointInsideInclusive(where)) return atPress;
    return atPress == 0.0f ? 1.0f : 0.0f;
}

// The press of a button that acts while held: the drag hands `follow` the held value for each
// pointer position (to store and report), and `release` runs when the left button comes up.
// False when the press does not count (mouse disabled, not the left button).
template <class Follow, class Release>
bool holdPress(Control& button, DrawContext* context, Point& where, Follow follow,
               Release release) {
    if (!(pressButtons(button, context) & MouseLeft)) return false;
    const float atPress = button.getValue();
    track(
        button, context, where,
        [&](int32_t, const Point& at) { follow(heldValue(atPress, button.getViewSize(), at)); },
        leftHeld, release);
    return true;
}

} // namespace

// ---- ToggleButton ----

ToggleButton::ToggleButton(const Rect& rect, ControlListener* owner, int32_t controlTag,
                           Bitmap* bitmap)
    : Control(rect, owner, controlTag, bitmap) {}

void ToggleButton::draw(DrawContext* context) {
    // Any value other than 0 shows the lower half, so 0.5 looks on.
    const int32_t y = (value != 0.0f && background) ? background->getHeight() / 2 : 0;
    drawRegion(background, context, size, Point(0, y), transparent);
    setDirty(false);
}

void ToggleButton::mouse(DrawContext* context, Point&) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    // The click tests the truncated value: 0.5 counts as off and becomes 1.
    value = std::trunc(value) != 0.0f ? 0.0f : 1.0f;
#if TOOLKIT_NEWER
    doIdleStuff();
#else
    draw(context);
#endif
    tell(*this, context);
}

// ---- OverlayImage ----

OverlayImage::OverlayImage(const Rect& rect, ControlListener* owner, int32_t controlTag,
                           Bitmap* bitmap, const Rect& shownRect, const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), displayRect(shownRect), offset(sourceOffset) {}

OverlayImage::~OverlayImage() {
    if (frame && frame->getModalView() == this) frame->setModalView(nullptr);
}

void OverlayImage::draw(DrawContext* context) {
    if (value != 0.0f) drawRegion(background, context, displayRect, offset, transparent);
    setDirty(false);
}

void OverlayImage::mouse(DrawContext* context, Point&) {
    const int32_t buttons = pressButtons(*this, context);
    if (!(buttons & MouseLeft)) return;
    value = value == 0.0f ? 1.0f : 0.0f;
    if (value == 1.0f) {
        if (frame && frame->setModalView(this)) {
            savedSize = size;
            size = displayRect;
            grown = true;
            draw(context);
            tell(*this, context);
        }
        setDirty(true);
        return;
    }
    // Only an opening that grew the control gives a rectangle back: after a failed grab the
    // saved one was never set and would shrink the control to nothing.
    if (grown) {
        size = savedSize;
        grown = false;
    }
    if (frame) {
        // Release the modal view only when it is this one; another view may hold it.
        if (frame->getModalView() == this) frame->setModalView(nullptr);
        frame->draw(context);
    }
    tell(*this, context);
    setDirty(true);
}

// ---- TwoFrameButton ----

TwoFrameButton::TwoFrameButton(const Rect& rect, ControlListener* owner, int32_t controlTag,
                               int32_t height, Bitmap* bitmap, const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), frameHeight(height) {}

void TwoFrameButton::draw(DrawContext* context) {
    bounceValue();
    drawRegion(background, context, size, Point(0, value != 0.0f ? frameHeight : 0), transparent);
    buttonState = value;
    setDirty(false);
}

void TwoFrameButton::mouse(DrawContext* context, Point& where) {
    const auto follow = [&](float held) {
        value = held;
        reportChange(context);
    };
    if (holdPress(*this, context, where, follow, [] {})) buttonState = value;
}

// ---- MomentaryButton ----

MomentaryButton::MomentaryButton(const Rect& rect, ControlListener* owner, int32_t controlTag,
                                 int32_t height, Bitmap* bitmap, const Point& sourceOffset)
    : Control(rect, owner, controlTag, bitmap), offset(sourceOffset), frameHeight(height) {}

void MomentaryButton::draw(DrawContext* context) {
    bounceValue();
    const int32_t y = offset.v + (value != 0.0f ? frameHeight : 0);
    drawRegion(background, context, size, Point(offset.h, y), transparent);
    setDirty(false);
}

void MomentaryButton::mouse(DrawContext* context, Point& where) {
    const auto follow = [&](float held) {
        value = held;
        reportChange(context);
    };
    holdPress(*this, context, where, follow, [&] {
        // The release is always heard, changed or not: the host sees the button let go.
        value = 0.0f;
        tell(*this, context);
    });
}
