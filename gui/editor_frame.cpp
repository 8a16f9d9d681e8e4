// EditorFrame: construction, the window and its events, painting, presenting, sizes and host
// windows. Input dispatch and the view list have files of their own.
#include "gui/editor_frame.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/drop_target.h"
#include "gui/edit_box.h"
#include "gui/editor_base.h"
#include "gui/host_keys.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// Frame windows of this module alive now; the window class exists while it is above 0.
int32_t classUseCount = 0;

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
    // The drop target goes with the window (destroyWindow), once nothing can report to it.
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
    if (!name[0]) formatWindowClassName(platform::current().moduleHandle(), name);
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
    dropTarget.reset(new (std::nothrow) DropTarget(this));
    windowSpec.dropListener = dropTarget.get();
    window = windowPlatform->createChildWindow(windowSpec);
    pointer.setWindow(window.get());
    dropActive = window && dropTarget;
    if (!window) {
        // A window that could not be made counts for nothing.
        destroyWindow();
        open = false;
        parentWindow = nullptr;
    }
}

void EditorFrame::destroyWindow() {
    // An edit box still open keeps its text but lets go of the window it took focus on.
    if (activeEditBox) activeEditBox->dropPeer();
    if (window) {
        window->detach();
        pointer.setWindow(nullptr);
        window.reset();
    }
    dropActive = false;
    dropTarget.reset();
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

template <class Handler> void EditorFrame::dispatchWindowEvent(Handler handle) {
    remember();
    ++dispatchDepth;
    handle();
    --dispatchDepth;
    const bool released = referenceCount == 1;
    forget();
    if (!released) flushDamage();
}

void EditorFrame::windowButtonDown(int32_t x, int32_t y) {
    dispatchWindowEvent([&] {
        // The views report to listeners and may draw through contexts of their own, also in
        // the tracking loops they run meanwhile.
        unknownDamage = true;
        Point where(x, y);
        DrawContext context(this, &surface, &pointer);
        mouse(&context, where);
    });
}

bool EditorFrame::windowKey(const platform::KeyEvent& key) {
    if (activeEditBox) {
        dispatchWindowEvent([&] {
            activeEditBox->keyEvent(key); // Enter may end the edit and destroy the box
            // A key that ended the edit let the field, and its listener, draw through
            // contexts of their own; keys typed into the box are tracked by it.
            if (!activeEditBox) unknownDamage = true;
        });
        return true;
    }
#if TOOLKIT_NEWER
    // Keys typed into the editor's own window go where the host's key calls go: the edit view
    // first (a knob that was clicked), then the other views.
    VstKeyCode keyCode;
    if (!toHostKey(key, keyCode)) return false;
    int32_t result = -1;
    dispatchWindowEvent([&] {
        unknownDamage = true; // the views report and may draw through contexts of their own
        result = key.pressed ? onKeyDown(keyCode) : onKeyUp(keyCode);
    });
    return result != -1;
#else
    (void)key;
    return false; // no view of the older variant takes keys
#endif
}

void EditorFrame::windowFocus(bool gained) {
    if (gained || !activeEditBox) return;
    dispatchWindowEvent([&] {
        unknownDamage = true; // the edit ends, drawn as after Enter
        activeEditBox->focusLost();
    });
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
    if (presenter.queuedCount() > 0) presenter.flush(window.get(), surface);
}

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
