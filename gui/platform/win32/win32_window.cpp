// Win32Window: creation inside the host's window, the window procedure, pointer polling,
// cursors, presenting, focus and the clipboard.
#include "gui/platform/win32/win32_window.h"

#include "gui/platform/pixel_surface.h"
#include "gui/platform/win32/win32_clipboard.h"
#include "gui/platform/win32/win32_keys.h"
#include "gui/platform/win32/win32_native_pieces.h"
#include "gui/platform/win32/win32_platform.h"
#include "gui/platform/win32/win32_popup.h"
#include "gui/platform/win32/win32_text.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

namespace {

// Posted to the window itself when its focus changed: the change is reported once the call
// that caused it (SetFocus inside the toolkit, say) has returned, as on other systems.
constexpr UINT kFocusChanged = WM_APP + 0x46;
// At most this many queued messages per processEvents call, so that a flood cannot hold the
// host's thread.
constexpr int kMessagesPerCall = 256;

// System cursors for the CursorType values 1 to 6 (shared: never destroyed).
const LPCWSTR kCursorShapes[7] = {nullptr,
                                  reinterpret_cast<LPCWSTR>(IDC_WAIT),
                                  reinterpret_cast<LPCWSTR>(IDC_SIZEWE),
                                  reinterpret_cast<LPCWSTR>(IDC_SIZENS),
                                  reinterpret_cast<LPCWSTR>(IDC_SIZEALL),
                                  reinterpret_cast<LPCWSTR>(IDC_SIZENESW),
                                  reinterpret_cast<LPCWSTR>(IDC_SIZENWSE)};

bool isDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

// ---- the window procedure of the library's windows ----

LRESULT CALLBACK win32_window::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* target = reinterpret_cast<MessageTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!target) return DefWindowProcW(window, message, wParam, lParam);
    return target->handleMessage(window, message, wParam, lParam);
}

HWND win32_window::createWindow(DWORD extendedStyle, const wchar_t* className, const wchar_t* title,
                                DWORD style, int x, int y, int width, int height, HWND parent,
                                MessageTarget* target) {
    return CreateWindowExW(extendedStyle, className, title, style, x, y, width, height, parent,
                           nullptr, win32Platform().instance(), target);
}

void win32_window::destroyWindow(HWND window) {
    if (!window || !IsWindow(window)) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
}

// ---- creation and destruction ----

std::unique_ptr<Win32Window> Win32Window::create(const platform::WindowSpec& windowSpec) {
    const auto parent = static_cast<HWND>(windowSpec.parent);
    if (!parent || !IsWindow(parent)) return nullptr;
    Win32Window* made = new (std::nothrow) Win32Window;
    if (!made) return nullptr;
    std::unique_ptr<Win32Window> result(made);
    result->parent = parent;
    result->width = std::max(1, windowSpec.width);
    result->height = std::max(1, windowSpec.height);
    const std::wstring className = win32_text::fromLatin1(windowSpec.className);
    const std::wstring title = win32_text::fromLatin1(windowSpec.title ? windowSpec.title : "");
    result->window = win32_window::createWindow(
        0, className.c_str(), title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
        result->width, result->height, parent, result.get());
    if (!result->window) return nullptr;
    // The listener hears only what happens once the window is complete.
    result->listener = windowSpec.listener;
    result->dropListener = windowSpec.dropListener;
    if (result->dropListener)
        result->drops =
            std::make_unique<Win32DropRegistration>(result->window, result->dropListener);
    win32Platform().registry().addWindow(result.get());
    return result;
}

Win32Window::~Win32Window() {
    win32Platform().registry().removeWindow(this);
    listener = nullptr;
    if (!window || gone) return;
    giveBackKeyboardFocus();
    if (GetCapture() == window) ReleaseCapture();
    drops.reset(); // revoked while the window still exists
    win32_window::destroyWindow(window);
}

bool Win32Window::isUsable() const {
    return !gone && window && IsWindow(window);
}

bool Win32Window::isListed() const {
    return win32Platform().registry().hasWindow(this);
}

void Win32Window::reportIfGone() {
    if (isUsable() || goneReported) return;
    gone = true;
    goneReported = true;
    if (listener) listener->windowDestroyed();
}

// ---- messages ----

void Win32Window::processEvents(platform::EventFilter filter) {
    if (!isUsable()) {
        reportIfGone();
        return;
    }
    const HWND handle = window;
    MSG message;
    if (filter == platform::EventFilter::PaintOnly) {
        // Inside a tracking loop: the exposures only; presses and keys stay queued.
        if (PeekMessageW(&message, handle, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
    } else {
        for (int i = 0; i < kMessagesPerCall && IsWindow(handle) &&
                        PeekMessageW(&message, handle, 0, 0, PM_REMOVE);
             ++i) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam)); // the host's, not ours
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    reportIfGone();
}

bool Win32Window::deliverKey(UINT message, WPARAM wParam, LPARAM lParam) {
    platform::KeyEvent key;
    if (message == WM_CHAR || message == WM_SYSCHAR) {
        key = win32_keys::translateChar(static_cast<wchar_t>(wParam));
    } else {
        // The character this key typed: TranslateMessage queued its WM_CHAR before the key
        // message was dispatched.
        wchar_t typed = 0;
        MSG character;
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) &&
            PeekMessageW(&character, window, WM_CHAR, WM_CHAR, PM_REMOVE))
            typed = static_cast<wchar_t>(character.wParam);
        const WPARAM extended = (lParam & (1 << 24)) ? 0x10000u : 0u;
        key = win32_keys::translateKey(message, (wParam & 0xFFFFu) | extended, typed);
    }
    if (key.code == platform::KeyCode::Unknown || !listener || !isListed()) return false;
    return listener->windowKey(key);
}

LRESULT Win32Window::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The native edit control's colours and the owner-drawn entries of a popup menu.
    LRESULT answer = 0;
    if (win32NativePieces().answer(message, wParam, lParam, answer)) return answer;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hwnd, &paint);
        const RECT area = paint.rcPaint;
        EndPaint(hwnd, &paint);
        if (!IsRectEmpty(&area) && listener && isListed())
            listener->windowPaint({area.left, area.top, area.right, area.bottom});
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painting covers everything: no flash of the background colour first
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (!listener || !isListed()) return 0;
        pressTime = static_cast<uint32_t>(GetMessageTime());
        latchedButtons = message == WM_LBUTTONDOWN   ? platform::kButtonLeft
                         : message == WM_MBUTTONDOWN ? platform::kButtonMiddle
                                                     : platform::kButtonRight;
        // Held until the press is handled: a drag that leaves the window keeps reporting here.
        SetCapture(hwnd);
        listener->windowButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        // The listener may have closed the editor and with it this object (the registry
        // compares addresses only).
        if (GetCapture() == hwnd) ReleaseCapture();
        if (isListed()) latchedButtons = 0;
        return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR: {
        if (deliverKey(message, wParam, lParam)) return 0;
        // A key no view took goes on to the host's window, so that its shortcuts work.
        if (IsWindow(parent)) PostMessageW(parent, message, wParam, lParam);
        return 0;
    }
    case WM_GETDLGCODE:
        // While the editor takes text, a host's dialog manager leaves every key to it.
        return focusTaken ? DLGC_WANTALLKEYS | DLGC_WANTCHARS : 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // Into a control on the window (the native edit box): the editor keeps the keys.
        if (message == WM_KILLFOCUS && wParam && IsChild(hwnd, reinterpret_cast<HWND>(wParam)))
            return 0;
        if (message == WM_KILLFOCUS) focusTaken = false;
        PostMessageW(hwnd, kFocusChanged, message == WM_SETFOCUS, 0);
        return 0;
    case kFocusChanged:
        if (listener && isListed()) listener->windowFocus(wParam != 0);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && cursorType != platform::kCursorDefault) {
            SetCursor(LoadCursorW(nullptr, kCursorShapes[cursorType]));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        // Destroyed with the host's window: nothing reaches this object any more.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        drops.reset();
        gone = true;
        goneReported = true;
        if (listener && isListed()) listener->windowDestroyed();
        return 0;
    default:
        break;
    }
    // The wheel among them: DefWindowProc hands it to the host's window.
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

MenuPresenter* Win32Window::nativeMenuPresenter() {
    return win32NativePieces().menus;
}

EditBoxPeerFactory* Win32Window::nativeEditBoxPeers() {
    return win32NativePieces().editBoxes;
}

bool Win32Window::takeLeftButtonPress() {
    if (!isUsable()) return false;
    MSG message;
    // Other messages, presses of other buttons included, stay queued in their order.
    if (!PeekMessageW(&message, window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE)) return false;
    pressTime = static_cast<uint32_t>(message.time);
    latchedButtons = platform::kButtonLeft;
    return true;
}

// ---- presenting ----

void Win32Window::present(const PixelSurface& surface, const platform::Area& area) {
    if (!isUsable()) return;
    const platform::Area clipped{std::max(area.left, 0), std::max(area.top, 0),
                                 std::min({area.right, surface.width, width}),
                                 std::min({area.bottom, surface.height, height})};
    if (clipped.isEmpty()) return;
    const int rows = clipped.bottom - clipped.top;
    // The surface's rows from the area's top, as a top-down 32-bit DIB of the surface's width
    // whose bytes are blue, green, red, unused: the surface's 0x00RRGGBB words as they are.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = surface.width;
    info.bmiHeader.biHeight = -rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC device = GetDC(window);
    if (!device) return;
    SetDIBitsToDevice(device, clipped.left, clipped.top,
                      static_cast<DWORD>(clipped.right - clipped.left), static_cast<DWORD>(rows),
                      clipped.left, 0, 0, static_cast<UINT>(rows), surface.row(clipped.top), &info,
                      DIB_RGB_COLORS);
    ReleaseDC(window, device);
}

// ---- pointer ----

uint32_t Win32Window::pointerButtons() {
    if (!isUsable()) return 0;
    // GetAsyncKeyState reads the physical buttons; the user may have swapped left and right.
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    uint32_t bits = 0;
    if (isDown(swapped ? VK_RBUTTON : VK_LBUTTON)) bits |= platform::kButtonLeft;
    if (isDown(VK_MBUTTON)) bits |= platform::kButtonMiddle;
    if (isDown(swapped ? VK_LBUTTON : VK_RBUTTON)) bits |= platform::kButtonRight;
    if (isDown(VK_SHIFT)) bits |= platform::kModShift;
    if (isDown(VK_CONTROL)) bits |= platform::kModControl;
    if (isDown(VK_MENU)) bits |= platform::kModAlt;
    const uint32_t latched = latchedButtons;
    latchedButtons = 0;
    return bits | latched;
}

bool Win32Window::pointerPosition(platform::PointerPosition& position) {
    position = platform::PointerPosition{};
    POINT where{};
    if (!isUsable() || !GetCursorPos(&where)) return false;
    position.screenX = where.x;
    position.screenY = where.y;
    if (ScreenToClient(window, &where)) {
        position.windowX = where.x;
        position.windowY = where.y;
    }
    return true;
}

bool Win32Window::screenOrigin(int32_t& x, int32_t& y) {
    x = y = 0;
    POINT origin{};
    if (!isUsable() || !ClientToScreen(window, &origin)) return false;
    x = origin.x;
    y = origin.y;
    return true;
}

bool Win32Window::resize(int32_t newWidth, int32_t newHeight) {
    if (!isUsable() || newWidth <= 0 || newHeight <= 0) return false;
    if (!SetWindowPos(window, nullptr, 0, 0, newWidth, newHeight,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    width = newWidth;
    height = newHeight;
    return true;
}

void Win32Window::setCursor(int32_t type) {
    if (type < platform::kCursorDefault || type > platform::kCursorSizeNWSE) return;
    cursorType = type;
    if (!isUsable()) return;
    // Shown at once when the pointer is over the window (or held by it); WM_SETCURSOR keeps it.
    POINT where{};
    if (!GetCursorPos(&where)) return;
    if (GetCapture() != window && WindowFromPoint(where) != window) return;
    SetCursor(type == platform::kCursorDefault
                  ? reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR))
                  : LoadCursorW(nullptr, kCursorShapes[type]));
}

// ---- keyboard focus, clipboard, popups ----

bool Win32Window::takeKeyboardFocus() {
    if (!isUsable()) return false;
    const HWND before = SetFocus(window);
    if (GetFocus() != window) return false;
    if (before != window) focusBefore = before;
    focusTaken = true;
    return true;
}

void Win32Window::giveBackKeyboardFocus() {
    if (!focusTaken) return;
    focusTaken = false;
    if (!isUsable() || GetFocus() != window) return; // someone moved it meanwhile: leave it
    // Back to the window that had it (the host's), or to the host's window when that is gone.
    SetFocus(focusBefore && IsWindow(focusBefore) ? focusBefore : parent);
}

bool Win32Window::setSelectionText(platform::Selection which, const char* text) {
    if (which != platform::Selection::Clipboard || !isUsable()) return false;
    return win32_clipboard::setText(window, text);
}

bool Win32Window::getSelectionText(platform::Selection which, char* buffer, size_t capacity) {
    if (which != platform::Selection::Clipboard || !isUsable()) return false;
    return win32_clipboard::getText(window, buffer, capacity);
}

std::unique_ptr<platform::PopupLayer> Win32Window::openPopupLayer() {
    if (!isUsable()) return nullptr;
    return Win32PopupLayer::open(window);
}
