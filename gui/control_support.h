// Pieces the bitmap controls (buttons, switches, sliders, displays) share: drawing a region of
// a bitmap with the view's transparency, safe conversions of computed positions to pixels,
// the unconditional listener call some controls make, and the mouse-tracking loop with its
// automation gesture.
//
// GUI thread only, like the controls that use them.
#pragma once

#include "gui/bitmap.h"
#include "gui/control.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"

#include <cmath>
#include <cstdint>

namespace control_support {

// trunc() into a pixel or index; a value that is not a number gives 0 and values beyond the
// 32-bit range saturate, so no computed position is an undefined conversion.
inline int32_t truncate(float x) {
    if (!(x == x)) return 0;
    if (x >= 2147483520.0f) return INT32_MAX;
    if (x <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(x);
}

inline int32_t clampIndex(int32_t index, int32_t last) {
    if (index < 0) return 0;
    return index > last ? last : index;
}

// Draws `bitmap` into `rect` from `source`, leaving the key colour out when `transparent`.
// Nothing without a bitmap or a context.
inline void drawRegion(Bitmap* bitmap, DrawContext* context, const Rect& rect, const Point& source,
                       bool transparent) {
    if (!bitmap || !context) return;
    if (transparent)
        bitmap->drawTransparent(context, rect, source);
    else
        bitmap->draw(context, rect, source);
}

// The listener hears about the control whether or not its value differs from what is drawn
// (releases of momentary controls, toggles); a control without a listener stays silent.
inline void tell(Control& control, DrawContext* context) {
    if (ControlListener* listener = control.getListener())
        listener->valueChanged(context, &control);
}

// Runs a drag: `handle(buttons, where)` sees the pointer (control-relative positions are the
// caller's business) on the first pass and after every move or change of buttons; the loop polls
// the pointer and keeps the host serviced until `keepGoing(buttons)` is false; then `release()`
// runs. The frame's automation gesture brackets all of it. When the editor goes away during the
// idle pump (the host closed it) the loop ends at once, without release and without touching the
// frame again.
template <class Handle, class KeepGoing, class Release>
void track(Control& control, DrawContext* context, Point where, Handle handle, KeepGoing keepGoing,
           Release release) {
    EditorFrame* frame = control.getFrame();
    const bool reporting = frame && frame->hasEditor();
    if (frame) frame->beginEdit(control.getTag());
    Point handled;
    bool firstPass = true;
    int32_t buttons = 0;
    int32_t handledButtons = 0;
    do {
        buttons = context->getMouseButtons();
        if (firstPass || where != handled || buttons != handledButtons) {
            firstPass = false;
            handled = where;
            handledButtons = buttons;
            handle(buttons, where);
        }
        context->getMouseLocation(where);
        control.doIdleStuff();
        frame = control.getFrame();
        if (reporting && (!frame || !frame->hasEditor())) return;
    } while (keepGoing(buttons));
    release();
    if (frame) frame->endEdit(control.getTag());
}

// The loop condition of most drags: the left button is still down.
inline bool leftHeld(int32_t buttons) {
    return (buttons & MouseLeft) != 0;
}

// The buttons of a press as the control sees them: 0 when its mouse is disabled (or there is
// no context), so that only a press with the left bit set goes on. Read once per press: every
// read is a poll of the pointer.
inline int32_t pressButtons(const Control& control, DrawContext* context) {
    if (!control.getMouseEnabled() || !context) return 0;
    return context->getMouseButtons();
}

} // namespace control_support
