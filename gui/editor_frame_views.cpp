// EditorFrame: the view list, the background, and the modal and edit views.
#include "gui/editor_frame.h"

#include "gui/bitmap.h"

#include <algorithm>
#include <new>

namespace {

constexpr int32_t kViewArrayStep = 10;

} // namespace

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
