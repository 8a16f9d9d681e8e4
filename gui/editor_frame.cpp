// EditorFrame: window, painting, dispatch, view list and presentation of changed pixels.
#include "gui/editor_frame.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_base.h"
#include "gui/platform/module_handle.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Frame windows of this module alive now; the window class exists while it is above 0.
int32_t classUseCount = 0;

constexpr int32_t kViewArrayStep = 10;

// The frame's views draw their right and bottom edges too (hit-testing counts them as
// inside), so the pixels a view may have changed reach one past each.
Rect paintedArea(const Rect& size) {
    return {size.left, size.top, size.right + 1, size.bottom + 1};
}

int32_t surfaceWidth(const Rect& size) {
    return std::max(0, size.getWidth());
}
int32_t surfaceHeight(const Rect& size) {
    return std::max(0, size.getHeight());
}

} // namespace

// ---- construction and destruction ----

EditorFrame::EditorFrame(const Rect& rect, void* parent, EditorBase* owner)
    : View(rect), editor(owner), parentWindow(parent),
      surface(surfaceWidth(rect), surfaceHeight(rect)),
      presenter(surfaceWidth(rect), surfaceHeight(rect)) {
    if (parentWindow) createWindow();
}

EditorFrame::EditorFrame(const Rect& rect, const char* title, EditorBase* owner, int32_t style)
    : View(rect), editor(owner), surface(surfaceWidth(rect), surfaceHeight(rect)),
      presenter(surfaceWidth(rect), surfaceHeight(rect)) {
    hostWindowMode = true;
    open = false;
    hostWindowRecord = new (std::nothrow) VstWindow{};
    if (hostWindowRecord) {
        if (title) {
            std::strncpy(hostWindowRecord->title, title, sizeof(hostWindowRecord->title) - 1);
        }
        hostWindowRecord->xPos = static_cast<int16_t>(rect.left);
        hostWindowRecord->yPos = static_cast<int16_t>(rect.top);
        hostWindowRecord->width = static_cast<int16_t>(rect.getWidth());
        hostWindowRecord->height = static_cast<int16_t>(rect.getHeight());
        hostWindowRecord->style = style;
    }
}

EditorFrame::~EditorFrame() {
    setCursor(platform::kCursorDefault);
    // No drop target is registered on this platform, so there is none to revoke.
    dropActive = false;
    removeAll(true);
    setBackground(nullptr);
    destroyWindow();
    if (hostWindowMode) {
        closeHostWindow();
        delete hostWindowRecord;
        hostWindowRecord = nullptr;
    }
}

void EditorFrame::formatWindowClassName(uintptr_t handle, char (&name)[16]) {
    std::snprintf(name, sizeof(name), "Plugin%08x", static_cast<unsigned>(handle & 0xffffffffu));
}

const char* EditorFrame::windowClassName() {
    static char name[16] = {0};
    if (!name[0]) formatWindowClassName(platform::moduleHandle(), name);
    return name;
}

int32_t EditorFrame::windowClassUseCount() {
    return classUseCount;
}

void EditorFrame::createWindow() {
    windowPlatform = &platform::current();
    if (classUseCount == 0) windowPlatform->registerWindowClass(windowClassName());
    ++classUseCount;
    classCounted = true;
    platform::WindowSpec windowSpec;
    windowSpec.parent = parentWindow;
    windowSpec.width = size.getWidth();
    windowSpec.height = size.getHeight();
    windowSpec.className = windowClassName();
    windowSpec.title = "Window";
    windowSpec.listener = this;
    window = windowPlatform->createChildWindow(windowSpec);
    pointer.setWindow(window.get());
    if (!window) {
        // A window that could not be made counts for nothing.
        destroyWindow();
        open = false;
        parentWindow = nullptr;
    }
}

void EditorFrame::destroyWindow() {
    if (window) {
        window->detach();
        pointer.setWindow(nullptr);
        window.reset();
    }
    if (classCounted) {
        classCounted = false;
        if (--classUseCount == 0 && windowPlatform)
            windowPlatform->unregisterWindowClass(windowClassName());
    }
}

// ---- the window's events ----

bool EditorFrame::pumpEvents(platform::EventFilter filter) {
    if (!window) return true;
    remember();
    window->processEvents(filter);
    const bool released = referenceCount == 1;
    forget();
    return !released;
}

void EditorFrame::windowPaint(const platform::Area& area) {
    const Rect updateRect(area.left, area.top, area.right, area.bottom);
    {
        DrawContext context(this, &surface, &pointer);
        // As on a window system without a back buffer, a paint reaches only the exposed area.
        context.setDeviceClip(updateRect);
#if TOOLKIT_NEWER
        drawRect(&context, updateRect);
#else
        draw(&context);
#endif
    }
    presentExposed(updateRect);
}

void EditorFrame::windowButtonDown(int32_t x, int32_t y) {
    Point where(x, y);
    remember();
    ++dispatchDepth;
    {
        DrawContext context(this, &surface, &pointer);
        unknownDamage = true;
        mouse(&context, where);
    }
    --dispatchDepth;
    const bool released = referenceCount == 1;
    forget();
    if (!released) flushDamage();
}

void EditorFrame::windowDestroyed() {
    open = false;
    parentWindow = nullptr;
}

void EditorFrame::dispatchPendingPaint() {
    pumpEvents(platform::EventFilter::PaintOnly);
}

// ---- painting ----

void EditorFrame::draw(DrawContext* context) {
    firstDraw = false;
    if (background) {
        const Rect area(0, 0, background->getWidth(), background->getHeight());
        background->draw(context, area, Point(0, 0));
    }
    // A full draw shows every view but cleans none: dirty views are still redrawn by idle.
    for (int32_t i = 0; i < viewCount; ++i) {
        View* view = views[i];
        const bool wasDirty = view->isDirty();
        view->draw(context);
        view->setDirty(wasDirty);
    }
    if (modalView) modalView->draw(context);
}

#if TOOLKIT_NEWER
void EditorFrame::drawRect(DrawContext* context, const Rect& updateRect) {
    firstDraw = false;
    if (background) background->draw(context, updateRect, updateRect.getTopLeft());
    for (int32_t i = 0; i < viewCount; ++i) {
        View* view = views[i];
        if (view->checkUpdate(updateRect)) view->drawRect(context, updateRect);
    }
    if (modalView && modalView->checkUpdate(updateRect)) modalView->draw(context);
}
#endif

void EditorFrame::update(DrawContext* context) {
    if (!open) return;
    if (modalView) {
        modalView->update(context);
        return;
    }
    if (isDirty()) {
        draw(context);
        setDirty(false);
        return;
    }
    for (int32_t i = 0; i < viewCount; ++i)
        views[i]->update(context);
}

void EditorFrame::drawView(View* view) {
    View* target = (view && isChild(view)) ? view : nullptr;
    {
        DrawContext context(this, &surface, &pointer);
        if (target)
            target->draw(&context);
        else
            draw(&context);
    }
    presentChanges(target ? paintedArea(target->getViewSize()) : paintedArea(size));
}

bool EditorFrame::isSomethingDirty() const {
    if (modalView || isDirty()) return true;
    for (int32_t i = 0; i < viewCount; ++i)
        if (views[i]->isDirty()) return true;
    return false;
}

void EditorFrame::idle() {
    if (!pumpEvents(inDispatch() ? platform::EventFilter::PaintOnly : platform::EventFilter::All))
        return;
    if (!open || firstDraw || !isSomethingDirty()) {
        flushDamage();
        return;
    }
    // What update() is about to redraw, so that only those pixels are looked at afterwards.
    if (modalView) {
        if (modalView->isDirty()) presenter.queue(paintedArea(modalView->getViewSize()));
    } else if (isDirty()) {
        presenter.queue(paintedArea(size));
    } else {
        for (int32_t i = 0; i < viewCount; ++i)
            if (views[i]->isDirty()) presenter.queue(paintedArea(views[i]->getViewSize()));
    }
    {
        DrawContext context(this, &surface, &pointer);
        update(&context);
    }
    flushDamage();
}

// ---- presenting ----

void EditorFrame::presentExposed(const Rect& area) {
    presenter.presentExposed(window.get(), surface, area);
}

void EditorFrame::presentChanges(const Rect& candidate) {
    presenter.presentChanges(window.get(), surface, candidate);
}

void EditorFrame::flushDamage() {
    if (unknownDamage) {
        unknownDamage = inDispatch(); // a tracking loop keeps drawing through its context
        presenter.clearQueue();
        presentChanges(paintedArea(size));
        return;
    }
    presenter.flush(window.get(), surface);
}

// ---- input ----

bool EditorFrame::hits(View* view, const Point& where) {
#if TOOLKIT_NEWER
    return view->hitTest(where);
#else
    return view->getViewSize().pointInsideInclusive(where);
#endif
}

void EditorFrame::mouse(DrawContext* context, Point& where) {
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
    if (editView) {
        const int32_t result = editView->onKeyDown(keyCode);
        if (result != -1) return result;
    }
    if (modalView) {
        const int32_t result = modalView->onKeyDown(keyCode);
        if (result != -1) return result;
    }
    for (int32_t i = viewCount - 1; i >= 0; --i) {
        const int32_t result = views[i]->onKeyDown(keyCode);
        if (result != -1) return result;
    }
    return -1;
}

int32_t EditorFrame::onKeyUp(VstKeyCode& keyCode) {
    if (editView) {
        const int32_t result = editView->onKeyUp(keyCode);
        if (result != -1) return result;
    }
    if (modalView) {
        const int32_t result = modalView->onKeyUp(keyCode);
        if (result != -1) return result;
    }
    for (int32_t i = viewCount - 1; i >= 0; --i) {
        const int32_t result = views[i]->onKeyUp(keyCode);
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

// ---- modal and edit views ----

bool EditorFrame::setModalView(View* view) {
    if (view && modalView) return false;
#if TOOLKIT_NEWER
    if (modalView) modalView->removed(this);
#endif
    modalView = view;
#if TOOLKIT_NEWER
    if (modalView) modalView->attached(this);
#endif
    return true;
}

void EditorFrame::setEditView(View* view) {
    View* previous = editView;
    editView = view;
    if (previous) previous->looseFocus(nullptr);
}

// ---- the view list ----

void EditorFrame::setBackground(Bitmap* bitmap) {
    // The new one first: setting the bitmap that is already there must not destroy it.
    if (bitmap) bitmap->remember();
    if (background) background->forget();
    background = bitmap;
}

bool EditorFrame::addView(View* view) {
    if (!view) return false;
    if (viewCount == viewCapacity) {
        const int32_t capacity = viewCapacity + kViewArrayStep;
        View** grown = new (std::nothrow) View*[static_cast<size_t>(capacity)];
        if (!grown) return false;
        if (views) std::copy(views, views + viewCount, grown);
        delete[] views;
        views = grown;
        viewCapacity = capacity;
    }
    views[viewCount++] = view;
    view->setParentFrame(this);
#if TOOLKIT_NEWER
    view->attached(this);
#endif
    return true;
}

bool EditorFrame::removeView(View* view, bool withForget) {
    for (int32_t i = 0; i < viewCount; ++i) {
        if (views[i] != view) continue;
        std::copy(views + i + 1, views + viewCount, views + i);
        --viewCount;
        // Nothing may keep pointing at a view the frame no longer holds.
        if (modalView == view) modalView = nullptr;
        if (editView == view) editView = nullptr;
#if TOOLKIT_NEWER
        view->removed(this);
#endif
        if (withForget) view->forget();
        break;
    }
    return true;
}

bool EditorFrame::removeAll(bool withForget) {
    if (editView) {
        View* previous = editView;
        editView = nullptr;
        previous->looseFocus(nullptr);
    }
    // Detach the array first: a view's destructor must not see a half-emptied list.
    View** list = views;
    const int32_t count = viewCount;
    views = nullptr;
    viewCount = 0;
    viewCapacity = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (list[i] == modalView) modalView = nullptr;
#if TOOLKIT_NEWER
        list[i]->removed(this);
#endif
        if (withForget) list[i]->forget();
    }
    delete[] list;
    return true;
}

bool EditorFrame::isChild(View* view) const {
    if (!view) return false;
    for (int32_t i = 0; i < viewCount; ++i)
        if (views[i] == view) return true;
    return false;
}

#if TOOLKIT_NEWER
int32_t EditorFrame::getViewCount() const {
    return viewCount;
}

View* EditorFrame::getView(int32_t index) const {
    return (index >= 0 && index < viewCount) ? views[index] : nullptr;
}
#endif

// ---- sizes and host windows ----

bool EditorFrame::getPosition(int32_t& x, int32_t& y) const {
    x = y = 0;
    return false;
}

bool EditorFrame::getSize(Rect& rect) const {
    rect = Rect();
    return false;
}

bool EditorFrame::setSize(int32_t width, int32_t height) {
    if (!open || width <= 0 || height <= 0) return false;
    if (width == size.getWidth() && height == size.getHeight()) return false;
    size = Rect(size.left, size.top, size.left + width, size.top + height);
    surface = PixelSurface(width, height);
    presenter.resize(width, height);
    if (window) window->resize(width, height);
    if (editor && editor->getEffect()) editor->getEffect()->sizeWindow(width, height);
    // The new picture is empty: everything is drawn again.
    setDirty(true);
    return true;
}

bool EditorFrame::openHostWindow(const Point* position) {
    if (open) return false;
    if (!hostWindowRecord || !editor || !editor->getEffect()) return false;
    if (position) {
        hostWindowRecord->xPos = static_cast<int16_t>(position->h);
        hostWindowRecord->yPos = static_cast<int16_t>(position->v);
    }
    void* hostWindow = editor->getEffect()->openHostWindow(hostWindowRecord);
    if (!hostWindow) return false;
    parentWindow = hostWindow;
    open = true;
    firstDraw = true;
    createWindow();
    return open;
}

void EditorFrame::closeHostWindow() {
    // The frame's window lives inside the host's: it goes first.
    destroyWindow();
    open = false;
    if (hostWindowRecord && editor && editor->getEffect() && parentWindow)
        editor->getEffect()->closeHostWindow(hostWindowRecord);
    parentWindow = nullptr;
}
