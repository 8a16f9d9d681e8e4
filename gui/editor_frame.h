// EditorFrame: the root of an editor's user interface. It owns a child window inside the
// host's window (through the platform layer), the picture of the editor (a back surface that
// every view draws into) and the flat list of views on it; it turns the window's paints and
// mouse presses into view calls, redraws dirty views when the host's idle comes, and routes
// automation gestures and the idle pump to the editor.
//
// State: editor (not owned), the host's window, background bitmap (one reference), the view
// array (count, capacity, each entry holding its creator's reference), modal and edit views
// (not owned), firstDraw (until the first full paint), open (the window is usable), the drop
// flag, the platform window, host-window mode and its record, the cursor saved by the first
// setCursor; then the back surface, the presenter (what the window shows and the areas waiting
// to be shown: only pixels that changed are sent), the pointer source of its contexts.
// Process-wide: the window class name and its use count.
//
// Threads: everything on the host's GUI thread. A frame is released with forget() (or
// deleted); a release during one of its own event dispatches (a host that closes the editor
// from inside the idle pump) takes effect when that dispatch returns.
#pragma once

#include "frame/aeffect.h"
#include "gui/change_presenter.h"
#include "gui/context_host.h"
#include "gui/platform/pixel_surface.h"
#include "gui/platform/platform.h"
#include "gui/toolkit_variant.h"
#include "gui/view.h"
#include "gui/window_pointer.h"

#include <cstdint>
#include <memory>

class Bitmap;
class DrawContext;
class DropTarget;
class EditBox;
class EditBoxPeerFactory;
class EditorBase;
class MenuPresenter;

class EditorFrame : public View, public ContextHost, private platform::WindowListener {
  public:
    // A frame over `size` whose window is made inside `parentWindow` (the host's native
    // window) when one is given. isOpen() tells whether that worked.
    EditorFrame(const Rect& size, void* parentWindow, EditorBase* editor);
    // A frame that asks the host to open a window of its own (see openHostWindow).
    EditorFrame(const Rect& size, const char* title, EditorBase* editor, int32_t style);
    ~EditorFrame() override;

    // ---- View ----
    void draw(DrawContext* context) override;
#if TOOLKIT_NEWER
    void drawRect(DrawContext* context, const Rect& updateRect) override;
#endif
    void mouse(DrawContext* context, Point& where) override;
    void update(DrawContext* context) override;
#if TOOLKIT_NEWER
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
#endif
    bool onDrop(void** items, int32_t count, int32_t type, Point& where) override;
    bool onWheel(DrawContext* context, const Point& where, float distance) override;

    // ---- view list ----
    // Takes over the caller's reference; false (view not added, not owned) when the list
    // cannot grow.
    virtual bool addView(View* view);
    virtual bool removeView(View* view, bool withForget = true);
    virtual bool removeAll(bool withForget = true);
    virtual bool isChild(View* view) const;
#if TOOLKIT_NEWER
    virtual int32_t getViewCount() const;
    virtual View* getView(int32_t index) const;
#endif

    void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const {
        return background;
    }

    // Draws one child (or the whole frame for none or a non-child) now and shows it.
    void drawView(View* view);
    // Handles the window's waiting events, then redraws and shows what is dirty.
    void idle();
    // Shows a waiting paint of the window at once (the idle pump's paint step).
    void dispatchPendingPaint();
    bool isSomethingDirty() const;

    bool setModalView(View* view);
    View* getModalView() const {
        return modalView;
    }
    void setEditView(View* view);
    View* getEditView() const {
        return editView;
    }
    // The edit box open on this frame (one at a time): the window's keys and focus changes go
    // to it, and a press inside it stays in it instead of ending the edit.
    void setActiveEditBox(EditBox* box) {
        activeEditBox = box;
    }
    EditBox* getActiveEditBox() const {
        return activeEditBox;
    }

    // Pointer position relative to the frame's window.
    void getCurrentLocation(Point& where);
    // The topmost child whose size holds the pointer (edges included), enabled or not.
    View* getViewUnderMouse();
    // 0 restores the cursor saved by the first call, 1 to 6 the wait, horizontal, vertical,
    // four-way and the two diagonal resize cursors; anything else does nothing.
    void setCursor(int32_t type);

    // The host's automation gesture; false (nothing done) without an editor.
    bool beginEdit(int32_t index);
    bool endEdit(int32_t index);
#if TOOLKIT_NEWER
    EditorBase* getEditor() override {
        return editor;
    }
#else
    EditorBase* getEditor() {
        return editor;
    }
#endif
    // The editor is going away while the frame may still be in use.
    void clearEditor() {
        editor = nullptr;
    }
    bool hasEditor() const {
        return editor != nullptr;
    }

    // ---- ContextHost: what its contexts and views ask of the frame ----
    Rect getHostArea() const override {
        return size;
    }
    // The editor's idle pump (nothing without an editor).
    void runIdlePump() override;

    // The host window's position and size cannot be learned reliably from an X11 child
    // window (hosts nest and decorate their windows in many ways): both answer false.
    bool getPosition(int32_t& x, int32_t& y) const;
    bool getSize(Rect& rect) const;
    // Resizes the frame, its window and its picture and asks the host to fit its window;
    // false when not open, unchanged or not positive.
    bool setSize(int32_t width, int32_t height);

    // Host-window mode: asks the host for a window and makes the frame's window inside it.
    // When already open only answers false.
    bool openHostWindow(const Point* position = nullptr);
    void closeHostWindow();

    bool isOpen() const {
        return open;
    }
    bool hasWindow() const {
        return window != nullptr;
    }
    void* getParentWindow() const {
        return parentWindow;
    }
    bool isFirstDraw() const {
        return firstDraw;
    }
    const VstWindow* getHostWindowRecord() const {
        return hostWindowRecord;
    }

    // The editor's picture and the window showing it (tests, snapshots).
    PixelSurface& getSurface() {
        return surface;
    }
    const PixelSurface& getSurface() const {
        return surface;
    }
    platform::Window* getPlatformWindow() const {
        return window.get();
    }
    // The drop target on the window (none without a window).
    DropTarget* getDropTarget() const {
        return dropActive ? dropTarget.get() : nullptr;
    }
    PointerSource* getPointerSource() {
        return &pointer;
    }
    // What shows this frame's popup menus and makes its edit boxes' peers: the one a test or
    // another embedding set, else the window system's native one, else none (the toolkit's
    // own, drawn through the window). Not owned.
    void setMenuPresenter(MenuPresenter* presenter) {
        menuPresenter = presenter;
    }
    MenuPresenter* getMenuPresenter() const {
        if (menuPresenter) return menuPresenter;
        return window ? window->nativeMenuPresenter() : nullptr;
    }
    void setEditBoxPeerFactory(EditBoxPeerFactory* factory) {
        peerFactory = factory;
    }
    EditBoxPeerFactory* getEditBoxPeerFactory() const {
        if (peerFactory) return peerFactory;
        return window ? window->nativeEditBoxPeers() : nullptr;
    }

    // "Plugin" and the module handle's low 32 bits as eight lower-case hex digits.
    static void formatWindowClassName(uintptr_t handle, char (&name)[16]);
    static const char* windowClassName();
    // Frame windows of this module alive now.
    static int32_t windowClassUseCount();

  private:
    // ---- platform::WindowListener ----
    void windowPaint(const platform::Area& area) override;
    void windowButtonDown(int32_t x, int32_t y) override;
    void windowDestroyed() override;
    bool windowKey(const platform::KeyEvent& key) override;
    void windowFocus(bool gained) override;

    void createWindow();
    void destroyWindow();
    bool hits(View* view, const Point& where);
#if TOOLKIT_NEWER
    // Offers a key to the edited view, then the modal view, then every view from the top down,
    // through `handler` (a view's key-down or key-up), until one answers other than -1.
    int32_t offerKey(VstKeyCode& keyCode, int32_t (View::*handler)(VstKeyCode&));
#endif
    // Runs the window's events; false when the frame was released meanwhile (and is gone).
    bool pumpEvents(platform::EventFilter filter);
    bool inDispatch() const {
        return dispatchDepth > 0;
    }

    // Presenting: exposed areas go out whole; everything else only where pixels changed.
    void presentExposed(const Rect& area);
    void presentChanges(const Rect& candidate);
    // Presents the queued areas' changes, or the whole frame's after drawing the frame could
    // not follow.
    void flushDamage();
    // Runs `handle` for an event of the window: the frame stays alive through it (a listener
    // may close the editor), counts as dispatching, and afterwards presents what was drawn,
    // unless it was released meanwhile.
    template <class Handler> void dispatchWindowEvent(Handler handle);

    EditorBase* editor;
    void* parentWindow = nullptr;
    Bitmap* background = nullptr;
    int32_t viewCount = 0;
    int32_t viewCapacity = 0;
    View** views = nullptr;
    View* modalView = nullptr;
    View* editView = nullptr;
    EditBox* activeEditBox = nullptr;
    bool firstDraw = true;
    bool open = true;
    bool dropActive = false;
    std::unique_ptr<DropTarget> dropTarget; // outlives the window that reports to it
    std::unique_ptr<platform::Window> window;
    bool hostWindowMode = false;
    VstWindow* hostWindowRecord = nullptr;
    int32_t defaultCursor = platform::kCursorDefault;
    bool cursorSaved = false;

    PixelSurface surface;
    ChangePresenter presenter;
    WindowPointer pointer;
    platform::Platform* windowPlatform = nullptr; // the platform the window came from
    bool classCounted = false;
    int32_t dispatchDepth = 0;
    bool unknownDamage = false; // views drew through a context the frame cannot follow
    MenuPresenter* menuPresenter = nullptr;
    EditBoxPeerFactory* peerFactory = nullptr;
};
