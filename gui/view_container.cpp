// ViewContainer: the child list, offscreen composition and translated input.
#include "gui/view_container.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/offscreen_context.h"

#include <new>

// Shifts a context's drawing offset and window position by the container's top-left corner
// while its children handle input, and puts both back afterwards.
class ViewContainer::Translation {
  public:
    Translation(DrawContext* context, const Rect& size) : context(context) {
        if (!context) return;
        savedOffset = context->getOffset();
        savedWindow = context->getWindowOffset();
        context->setOffset(Point(savedOffset.h + size.left, savedOffset.v + size.top));
        context->setWindowOffset(Point(savedWindow.h + size.left, savedWindow.v + size.top));
    }
    ~Translation() {
        if (!context) return;
        context->setOffset(savedOffset);
        context->setWindowOffset(savedWindow);
    }
    Translation(const Translation&) = delete;
    Translation& operator=(const Translation&) = delete;

  private:
    DrawContext* context;
    Point savedOffset;
    Point savedWindow;
};

ViewContainer::ViewContainer(const Rect& rect, EditorFrame* owner, Bitmap* bitmap) : View(rect) {
    frame = owner;
    setBackground(bitmap);
}

ViewContainer::~ViewContainer() {
    removeAll(true);
    setBackground(nullptr);
}

// ---- the child list ----

bool ViewContainer::addView(View* view) {
    if (!view) return false;
    Node* node = new (std::nothrow) Node{view, nullptr, last};
    if (!node) return false;
    if (last)
        last->next = node;
    else
        first = node;
    last = node;
    ++count;
    view->setParentFrame(frame);
    view->parentView = this;
#if TOOLKIT_NEWER
    view->attached(this);
#endif
    setDirty(true);
    return true;
}

bool ViewContainer::removeView(View* view, bool withForget) {
    for (Node* node = first; node; node = node->next) {
        if (node->view != view) continue;
        (node->previous ? node->previous->next : first) = node->next;
        (node->next ? node->next->previous : last) = node->previous;
        delete node;
        --count;
#if TOOLKIT_NEWER
        view->removed(this);
#endif
        if (withForget) view->forget();
        setDirty(true);
        break;
    }
    return true;
}

bool ViewContainer::removeAll(bool withForget) {
    Node* node = first;
    first = last = nullptr;
    count = 0;
    while (node) {
        Node* next = node->next;
#if TOOLKIT_NEWER
        node->view->removed(this);
#endif
        if (withForget) node->view->forget();
        delete node;
        node = next;
    }
    return true;
}

bool ViewContainer::isChild(View* view) const {
    for (Node* node = first; node; node = node->next)
        if (node->view == view) return true;
    return false;
}

int32_t ViewContainer::getViewCount() const {
    return count;
}

void ViewContainer::setBackground(Bitmap* bitmap) {
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
    setDirty(true);
}

void ViewContainer::setBackgroundColour(const Colour& colour) {
    backgroundColour = colour;
    setDirty(true);
}

void ViewContainer::setParentFrame(EditorFrame* newFrame) {
    View::setParentFrame(newFrame);
    // Children added before the container joined a frame belong to that frame too.
    for (Node* node = first; node; node = node->next)
        node->view->setParentFrame(newFrame);
}

void ViewContainer::setViewSize(const Rect& rect) {
    View::setViewSize(rect);
    offscreen.reset();
}

// ---- drawing ----

OffscreenContext* ViewContainer::canvas() {
    if (!offscreen) {
        const int32_t width = size.getWidth() > 0 ? size.getWidth() : 0;
        const int32_t height = size.getHeight() > 0 ? size.getHeight() : 0;
        offscreen.reset(new (std::nothrow)
                            OffscreenContext(frame, width, height, backgroundColour));
        if (offscreen) offscreen->setClipRect(Rect(0, 0, width, height));
    }
    return offscreen.get();
}

void ViewContainer::paintBackground(OffscreenContext& target) {
    const Rect whole(0, 0, target.getWidth(), target.getHeight());
    if (background) {
        background->draw(&target, whole, Point(0, 0));
        return;
    }
    // fillRect leaves the top row and left column; the outline covers them.
    target.setFillColour(backgroundColour);
    target.setFrameColour(backgroundColour);
    target.fillRect(whole);
    target.drawRect(whole);
}

void ViewContainer::copyOut(DrawContext* context) {
    if (offscreen && context) offscreen->copyTo(context, size, Point(0, 0));
}

void ViewContainer::draw(DrawContext* context) {
    OffscreenContext* target = canvas();
    if (!target) return;
    paintBackground(*target);
    for (Node* node = first; node; node = node->next)
        node->view->draw(target);
    copyOut(context);
    View::setDirty(false);
}

void ViewContainer::update(DrawContext* context) {
    if (mode == 0) {
        if (!isDirty()) return;
        draw(context);
        for (Node* node = first; node; node = node->next)
            node->view->setDirty(false);
        return;
    }
    if (mode != 1) return;
    if (View::isDirty()) {
        draw(context);
        for (Node* node = first; node; node = node->next)
            node->view->setDirty(false);
        return;
    }
    OffscreenContext* target = canvas();
    if (!target) return;
    bool changed = false;
    for (Node* node = first; node; node = node->next) {
        if (!node->view->isDirty()) continue;
        node->view->update(target);
        changed = true;
    }
    if (changed) copyOut(context);
}

bool ViewContainer::isDirty() const {
    if (View::isDirty()) return true;
    for (Node* node = first; node; node = node->next)
        if (node->view->isDirty()) return true;
    return false;
}

// ---- input ----

View* ViewContainer::childAt(const Point& local) const {
    for (Node* node = last; node; node = node->previous) {
        View* view = node->view;
        Rect area;
        if (view->getMouseEnabled() && view->getMouseableArea(area).pointInsideInclusive(local))
            return view;
    }
    return nullptr;
}

void ViewContainer::mouse(DrawContext* context, Point& where) {
    Point local(where.h - size.left, where.v - size.top);
    View* view = childAt(local);
    if (!view) return;
    Translation translation(context, size);
    view->remember();
    view->mouse(context, local);
    view->forget();
}

bool ViewContainer::onDrop(void** items, int32_t dropCount, int32_t type, Point& where) {
    Point local(where.h - size.left, where.v - size.top);
    for (Node* node = last; node; node = node->previous) {
        View* view = node->view;
        Rect area;
        if (view->getMouseEnabled() && view->getMouseableArea(area).pointInsideInclusive(local) &&
            view->onDrop(items, dropCount, type, local))
            return true;
    }
    return false;
}

bool ViewContainer::onWheel(DrawContext* context, const Point& where, float distance) {
    const Point local(where.h - size.left, where.v - size.top);
    View* view = childAt(local);
    if (!view) return false;
    Translation translation(context, size);
    return view->onWheel(context, local, distance);
}

void ViewContainer::looseFocus(DrawContext* context) {
    for (Node* node = first; node; node = node->next)
        node->view->looseFocus(context);
}

void ViewContainer::takeFocus(DrawContext* context) {
    for (Node* node = first; node; node = node->next)
        node->view->takeFocus(context);
}
