// View: the base of everything an editor shows (controls and decorations): a rectangle in
// frame coordinates, a reference count, a dirty flag and the input and drawing hooks the
// frame calls. The newer toolkit variant adds partial redraws, key events, notifications and
// attach/remove callbacks.
//
// State: reference count (starts at 1; the forget() that takes it from 1 destroys the view),
// size, mouseable area, the frame and (newer) parent view it belongs to (not owned), dirty
// (older: starts true, newer: false), mouse-enabled (true), transparent (false).
// Threads: the host's GUI thread only; setDirty may also come from a control's setValue on a
// host parameter thread, where it is a plain flag store.
#pragma once

#include "frame/aeffect.h"
#include "gui/geometry.h"
#include "gui/toolkit_variant.h"

#include <cstdint>

class DrawContext;
class EditorBase;
class EditorFrame;

class View {
  public:
    explicit View(const Rect& size);
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    virtual ~View();

    virtual void draw(DrawContext* context);
#if TOOLKIT_NEWER
    virtual void drawRect(DrawContext* context, const Rect& updateRect);
    // True when updateRect and the view's size overlap (edges count).
    virtual bool checkUpdate(const Rect& updateRect);
#endif
    virtual void mouse(DrawContext* context, Point& where);
    // Draws the view when it is dirty, then marks it clean.
    virtual void update(DrawContext* context);
#if TOOLKIT_NEWER
    virtual void notify(View* sender, const char* message);
    // -1: not handled.
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
#endif
    // type 0: items is an array of count file paths; type 1: items points at one pointer to
    // the dropped text, count its size in bytes.
    virtual bool onDrop(void** items, int32_t count, int32_t type, Point& where);
    virtual bool onWheel(DrawContext* context, const Point& where, float distance);
    virtual void looseFocus(DrawContext* context);
    virtual void takeFocus(DrawContext* context);

    virtual bool isDirty() const;
    virtual void setDirty(bool flag = true);
    virtual void setMouseEnabled(bool flag);
    virtual bool getMouseEnabled() const;
    virtual void setMouseableArea(const Rect& rect);
    virtual Rect& getMouseableArea(Rect& rect) const;
#if TOOLKIT_NEWER
    // True when where lies inside the view's size, all four edges included.
    virtual bool hitTest(const Point& where);
#endif
    virtual void setTransparency(bool flag);
    virtual bool getTransparency() const;
    virtual void setViewSize(const Rect& rect);
    virtual void setParentFrame(EditorFrame* newFrame);
#if TOOLKIT_NEWER
    virtual void setParentView(View* view);
    // The frame's editor, or none without a frame.
    virtual EditorBase* getEditor();
    virtual bool removed(View* parent);
    virtual bool attached(View* parent);
#endif
    // Drops one reference; the call that takes the count from 1 destroys the view. At a count
    // of 0 or less nothing happens.
    virtual void forget();
    virtual void remember();
    virtual int32_t getReferenceCount() const;

    // Draws the view now, through its frame (nothing without a frame).
    void redraw();

    const Rect& getViewSize() const {
        return size;
    }
    EditorFrame* getFrame() const {
        return frame;
    }
    View* getParentView() const {
        return parentView;
    }

  protected:
    friend class ViewContainer; // sets the parent view of its children in both variants

    int32_t referenceCount = 1;
    Rect size;
    Rect mouseableArea;
    EditorFrame* frame = nullptr;
    View* parentView = nullptr;
#if TOOLKIT_NEWER
    bool dirty = false;
#else
    bool dirty = true;
#endif
    bool mouseEnabled = true;
    bool transparent = false;
};
