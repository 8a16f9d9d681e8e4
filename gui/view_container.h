// ViewContainer: a view that holds views of its own, in a doubly linked list, in coordinates
// relative to its top-left corner. It composes them in an offscreen surface of its size
// (background bitmap or colour first) and copies the result out in one block, and passes
// mouse presses, drops and wheel turns on, translated to its own coordinates.
//
// State: first and last list node (each node: view, next, previous; the node holds the
// reference its creator gave up), background bitmap (one reference), update mode (0: redraw
// the whole container when it is dirty; 1: a clean container updates only its dirty children
// into the offscreen; others: no update), the offscreen context (rebuilt when the size
// changes), background colour (black). GUI thread only.
#pragma once

#include "gui/colour.h"
#include "gui/view.h"

#include <cstdint>
#include <memory>

class Bitmap;
class OffscreenContext;

class ViewContainer : public View {
  public:
    ViewContainer(const Rect& size, EditorFrame* frame, Bitmap* background = nullptr);
    ~ViewContainer() override;

    // Takes over the caller's reference; the child's frame becomes the container's frame and
    // its parent view the container. False when no list node could be had.
    virtual bool addView(View* view);
    virtual bool removeView(View* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    virtual bool isChild(View* view) const;
    virtual int32_t getViewCount() const;

    virtual void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const { return background; }
    virtual void setBackgroundColour(const Colour& colour);
    Colour getBackgroundColour() const { return backgroundColour; }
    void setMode(int32_t newMode) { mode = newMode; }
    int32_t getMode() const { return mode; }

    // ---- View ----
    void draw(DrawContext* context) override;
    void update(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    void looseFocus(DrawContext* context) override;
    void takeFocus(DrawContext* context) override;
    bool isDirty() const override;
    void setViewSize(const Rect& rect) override;
    void setParentFrame(EditorFrame* newFrame) override;

  private:
    struct Node {
        View* view;
        Node* next;
        Node* previous;
    };

    // The offscreen, made when first needed and after a size change.
    OffscreenContext* canvas();
    void paintBackground(OffscreenContext& target);
    void copyOut(DrawContext* context);
    // The child that takes a point given in container coordinates: mouse-enabled, mouseable
    // area containing it (edges included), last added first.
    View* childAt(const Point& local) const;
    // Moves a context into the container's coordinates for the span of one call.
    class Translation;

    Node* first = nullptr;
    Node* last = nullptr;
    int32_t count = 0;
    Bitmap* background = nullptr;
    int32_t mode = 0;
    std::unique_ptr<OffscreenContext> offscreen;
    Colour backgroundColour = BlackColour;
};
