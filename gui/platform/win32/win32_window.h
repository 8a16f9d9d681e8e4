// Win32Window: a frame's child window inside the host's window. The host's message loop (or
// processEvents, which drains the window's own queue) dispatches its messages to the window
// procedure, which hands them to the listener at once: WM_PAINT becomes a paint of the update
// rectangle, button presses become mouse presses (with the mouse captured until the press is
// handled, so a drag that leaves the window keeps reporting), keys become key records (keys
// no view takes, and the wheel, go on to the host's window), and focus changes are reported
// once the message that caused them is done. Buttons and modifiers in drag loops come from
// GetAsyncKeyState, the position from GetCursorPos.
//
// State: the window and its parent, its size, the listener (none after detach), the cursor
// shown, whether the window is gone (destroyed with its parent), the arrival tick of the last
// press, the button latched for the next poll, the focus holder to give the keyboard back to,
// the drop listener kept for the drop receiver.
#pragma once

#include "gui/platform/platform.h"
#include "gui/platform/win32/win32_drop.h"

#include <windows.h>

#include <memory>

namespace win32_window {
// The procedure of every window this library makes (frame windows and popup panels).
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// What a window of this library answers its messages with; its address is the window's user
// data while it exists.
class MessageTarget {
  public:
    virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~MessageTarget() = default;
};

// Makes a visible window of this library's class `className` (frame or panel) whose messages
// go to `target`; null when the system refused.
HWND createWindow(DWORD extendedStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  int x, int y, int width, int height, HWND parent, MessageTarget* target);
// Destroys a window made by createWindow, delivering nothing more to its target.
void destroyWindow(HWND window);
} // namespace win32_window

class Win32Window final : public platform::Window, private win32_window::MessageTarget {
  public:
    // Null when the parent is not a window, or the window cannot be made.
    static std::unique_ptr<Win32Window> create(const platform::WindowSpec& windowSpec);
    ~Win32Window() override;

    bool isUsable() const override;
    void processEvents(platform::EventFilter filter) override;
    void detach() override {
        listener = nullptr;
        dropListener = nullptr;
        if (drops) drops->detach();
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
    MenuPresenter* nativeMenuPresenter() override;
    EditBoxPeerFactory* nativeEditBoxPeers() override;

    uintptr_t nativeHandle() const override { return reinterpret_cast<uintptr_t>(window); }
    // For the drop receiver, tests and diagnostics.
    HWND hwnd() const { return window; }
    platform::DropListener* getDropListener() const { return dropListener; }

  private:
    Win32Window() = default;
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    // Whether the window is still in the platform's registry (messages reach only such windows).
    bool isListed() const;
    void reportIfGone();
    // A key message: true when the listener took it.
    bool deliverKey(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
    HWND parent = nullptr;
    int width = 0;
    int height = 0;
    platform::WindowListener* listener = nullptr;
    platform::DropListener* dropListener = nullptr;
    std::unique_ptr<Win32DropRegistration> drops; // OLE drops, while the window exists
    int32_t cursorType = platform::kCursorDefault;
    bool gone = false;
    bool goneReported = false;
    uint32_t pressTime = 0;
    // The button of the press being handled, reported held by the next poll even when it was
    // let go before the press was read (a click shorter than the host's idle period).
    uint32_t latchedButtons = 0;
    HWND focusBefore = nullptr; // who had the keyboard before the window took it
    bool focusTaken = false;
};
