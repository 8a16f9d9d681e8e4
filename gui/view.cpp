// View: the defaults every drawable element starts from.
#include "gui/view.h"

#include "gui/editor_frame.h"

View::View(const Rect& rect) : size(rect), mouseableArea(rect) {}

View::~View() = default;

void View::draw(DrawContext*) {}

#if TOOLKIT_NEWER
void View::drawRect(DrawContext* context, const Rect&) {
    draw(context);
}

bool View::checkUpdate(const Rect& updateRect) {
    return !(updateRect.right < size.left || size.right < updateRect.left ||
             updateRect.bottom < size.top || size.bottom < updateRect.top);
}
#endif

void View::mouse(DrawContext*, Point&) {}

void View::update(DrawContext* context) {
    if (isDirty()) {
        draw(context);
        setDirty(false);
    }
}

#if TOOLKIT_NEWER
void View::notify(View*, const char*) {}
int32_t View::onKeyDown(VstKeyCode&) {
    return -1;
}
int32_t View::onKeyUp(VstKeyCode&) {
    return -1;
}
#endif

bool View::onDrop(void**, int32_t, int32_t, Point&) {
    return false;
}
bool View::onWheel(DrawContext*, const Point&, float) {
    return false;
}
void View::looseFocus(DrawContext*) {}
void View::takeFocus(DrawContext*) {}

bool View::isDirty() const {
    return dirty;
}
void View::setDirty(bool flag) {
    dirty = flag;
}
void View::setMouseEnabled(bool flag) {
    mouseEnabled = flag;
}
bool View::getMouseEnabled() const {
    return mouseEnabled;
}
void View::setMouseableArea(const Rect& rect) {
    mouseableArea = rect;
}

Rect& View::getMouseableArea(Rect& rect) const {
    rect = mouseableArea;
    return rect;
}

#if TOOLKIT_NEWER
bool View::hitTest(const Point& where) {
    return size.pointInsideInclusive(where);
}
#endif

void View::setTransparency(bool flag) {
    transparent = flag;
}
bool View::getTransparency() const {
    return transparent;
}

void View::setViewSize(const Rect& rect) {
    size = rect;
    setDirty(true);
}

void View::setParentFrame(EditorFrame* newFrame) {
    frame = newFrame;
}

#if TOOLKIT_NEWER
void View::setParentView(View* view) {
    parentView = view;
}
EditorBase* View::getEditor() {
    return frame ? frame->getEditor() : nullptr;
}
bool View::removed(View*) {
    return true;
}
bool View::attached(View*) {
    return true;
}
#endif

void View::forget() {
    if (referenceCount <= 0) return;
    if (--referenceCount == 0) delete this;
}

void View::remember() {
    ++referenceCount;
}
int32_t View::getReferenceCount() const {
    return referenceCount;
}

void View::redraw() {
    if (frame) frame->drawView(this);
}
