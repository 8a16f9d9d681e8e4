// EditorFrame: input dispatch (mouse presses, wheel, drops, keys), the pointer and cursor, and
// the automation gestures and idle pump it routes to the editor.
#include "gui/editor_frame.h"

#include "frame/effect_base.h"
#include "gui/draw_context.h"
#include "gui/edit_box.h"
#include "gui/editor_base.h"

// ---- input ----

bool EditorFrame::hits(View* view, const Point& where) {
#if TOOLKIT_NEWER
    return view->hitTest(where);
#else
    return view->getViewSize().pointInsideInclusive(where);
#endif
}

void EditorFrame::mouse(DrawContext* context, Point& where) {
    // A press inside the open edit box places the caret or selects there; the edit goes on.
    if (activeEditBox && activeEditBox->contains(where)) {
        activeEditBox->press(where, context ? context->getMouseButtons() : 0);
        return;
    }
    if (editView) {
        // A click anywhere ends text entry.
        View* previous = editView;
        previous->looseFocus(nullptr);
        if (editView == previous) editView = nullptr;
    }
    View* target = nullptr;
    if (modalView) {
        if (hits(modalView, where)) target = modalView;
    } else {
        for (int32_t i = viewCount - 1; i >= 0; --i) {
            View* view = views[i];
            if (view->getMouseEnabled() && hits(view, where)) {
                target = view;
                break;
            }
        }
    }
    if (!target) return;
    // The view may be removed by what its click does (an editor closing, a list rebuilt):
    // it lives until its handler returns.
    target->remember();
    target->mouse(context, where);
    target->forget();
}

bool EditorFrame::onWheel(DrawContext* context, const Point&, float distance) {
    View* view = getViewUnderMouse();
    if (!view) return false;
    Point location;
    getCurrentLocation(location);
#if TOOLKIT_NEWER
    if (context) return view->onWheel(context, location, distance);
#else
    (void)context;
#endif
    view->remember();
    bool handled = false;
    {
        DrawContext own(this, &surface, &pointer);
        unknownDamage = true;
        handled = view->onWheel(&own, location, distance);
    }
    view->forget();
    flushDamage();
    return handled;
}

bool EditorFrame::onDrop(void** items, int32_t count, int32_t type, Point& where) {
    if (modalView || editView) return false;
    for (int32_t i = viewCount - 1; i >= 0; --i) {
        View* view = views[i];
        if (view->getMouseEnabled() && view->getViewSize().pointInsideInclusive(where) &&
            view->onDrop(items, count, type, where))
            return true;
    }
    return false;
}

#if TOOLKIT_NEWER
int32_t EditorFrame::onKeyDown(VstKeyCode& keyCode) {
    return offerKey(keyCode, &View::onKeyDown);
}

int32_t EditorFrame::onKeyUp(VstKeyCode& keyCode) {
    return offerKey(keyCode, &View::onKeyUp);
}

int32_t EditorFrame::offerKey(VstKeyCode& keyCode, int32_t (View::*handler)(VstKeyCode&)) {
    if (editView) {
        const int32_t result = (editView->*handler)(keyCode);
        if (result != -1) return result;
    }
    if (modalView) {
        const int32_t result = (modalView->*handler)(keyCode);
        if (result != -1) return result;
    }
    for (int32_t i = viewCount - 1; i >= 0; --i) {
        const int32_t result = (views[i]->*handler)(keyCode);
        if (result != -1) return result;
    }
    return -1;
}
#endif

void EditorFrame::getCurrentLocation(Point& where) {
    if (!window) {
        where = Point(0, 0);
        return;
    }
    const Point screen = pointer.getPointerPosition();
    const Point origin = pointer.getWindowPosition();
    where = Point(screen.h - origin.h, screen.v - origin.v);
}

View* EditorFrame::getViewUnderMouse() {
    Point where;
    getCurrentLocation(where);
    for (int32_t i = viewCount - 1; i >= 0; --i)
        if (views[i]->getViewSize().pointInsideInclusive(where)) return views[i];
    return nullptr;
}

void EditorFrame::setCursor(int32_t type) {
    if (!cursorSaved) {
        cursorSaved = true;
        defaultCursor = window ? window->getCursor() : platform::kCursorDefault;
    }
    if (type < platform::kCursorDefault || type > platform::kCursorSizeNWSE) return;
    if (!window) return;
    const int32_t shape = type == platform::kCursorDefault ? defaultCursor : type;
    if (window->getCursor() != shape) window->setCursor(shape);
}

void EditorFrame::runIdlePump() {
    if (editor) editor->doIdleStuff();
}

bool EditorFrame::beginEdit(int32_t index) {
    if (!editor || !editor->getEffect()) return false;
    return editor->getEffect()->beginEdit(index);
}

bool EditorFrame::endEdit(int32_t index) {
    if (!editor || !editor->getEffect()) return false;
    return editor->getEffect()->endEdit(index);
}
