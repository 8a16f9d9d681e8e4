// X11Window: a frame's child window inside the host's X11 window, on a connection of its own.
// Events are read only when the toolkit asks (the host's effEditIdle and the idle pump), on
// the host's GUI thread: exposures are merged into one paint, presses of buttons 1 to 3 become
// mouse presses, buttons and modifiers in drag loops come from XQueryPointer, keys and focus
// changes go to the listener, and keys it does not take go on to the host's window; selection
// requests of other programs are answered.
//
// State: the connection, the window and its size, the presenter, the cursors made so far and
// the one shown, the listener and drop listener (none after detach), the drag-protocol
// receiver, whether the window is gone (destroyed with its parent or connection lost), the
// arrival tick of the last press, the focus holder to give the keyboard back to, the selections.
#pragma once

#include "gui/platform/platform.h"
#include "gui/platform/x11/x11_connection.h"
#include "gui/platform/x11/x11_drop.h"
#include "gui/platform/x11/x11_presenter.h"
#include "gui/platform/x11/x11_selection.h"

#include <X11/Xlib.h>

#include <memory>

class X11Window final : public platform::Window {
  public:
    // Null when the parent is not a window of the display, or there is no display.
    static std::unique_ptr<X11Window> create(const platform::WindowSpec& windowSpec);
    ~X11Window() override;

    bool isUsable() const override;
    void processEvents(platform::EventFilter filter) override;
    void detach() override {
        listener = nullptr;
        dropListener = nullptr;
    }
    bool takeLeftButtonPress() override;
    uint32_t lastPressTime() const override { return pressTime; }
    void present(const PixelSurface& surface, const platform::Area& area) override;
    uint32_t pointerButtons() override;
    bool pointerPosition(platform::PointerPosition& position) override;
    bool screenOrigin(int32_t& x, int32_t& y) override;
    bool resize(int32_t width, int32_t height) override;
    int32_t getCursor() const override { return cursorType; }
    void setCursor(int32_t type) override;
    bool takeKeyboardFocus() override;
    void giveBackKeyboardFocus() override;
    bool setSelectionText(platform::Selection which, const char* text) override;
    bool getSelectionText(platform::Selection which, char* buffer, size_t capacity) override;
    std::unique_ptr<platform::PopupLayer> openPopupLayer() override;
    uintptr_t nativeHandle() const override { return window; }

    // For tests and diagnostics.
    unsigned long nativeId() const { return window; }
    bool usesSharedMemory() const { return presenter && presenter->usesSharedMemory(); }
    bool isDragging() const { return drops && drops->isDragging(); }

  private:
    X11Window() = default;
    bool nextEvent(platform::EventFilter filter, XEvent& event);
    void reportIfGone();
    // Sends a key event that nothing in the editor took on to the host's window.
    void passKeyToParent(const XEvent& event);
    // Whether the window is still in the platform's registry (events reach only such windows).
    bool isListed() const;
    // XQueryPointer: false when the window or the connection is gone.
    bool queryPointer(int& rootX, int& rootY, int& windowX, int& windowY, unsigned& mask,
                      bool& sameScreen);

    std::unique_ptr<X11Connection> connection;
    ::Window window = 0;
    int width = 0;
    int height = 0;
    platform::WindowListener* listener = nullptr;
    platform::DropListener* dropListener = nullptr;
    std::unique_ptr<X11DropReceiver> drops; // only when the window description named a drop listener
    std::unique_ptr<X11Presenter> presenter;
    Visual* visual = nullptr;
    int depth = 0;
    Cursor cursors[7] = {};
    int32_t cursorType = platform::kCursorDefault;
    bool gone = false;
    bool goneReported = false;
    uint32_t pressTime = 0;
    // The button of the press being handled, reported held by the next poll even when it was
    // let go before the press was read (a click shorter than the host's idle period).
    uint32_t latchedButtons = 0;
    ::Window parent = 0;
    ::Window focusBefore = 0; // who had the keyboard before the window took it
    bool focusTaken = false;
    std::unique_ptr<X11Selection> selection;
};
