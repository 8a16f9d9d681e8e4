// Win32PopupLayer: panel windows, the capture and the messages read while a menu is open.
#include "gui/platform/win32/win32_popup.h"

#include "gui/platform/common/popup_panel_list.h"
#include "gui/platform/win32/win32_keys.h"

#include <algorithm>

namespace {

// Paints `picture` at the panel's top-left corner through `device`.
void paintPicture(HDC device, const PixelSurface& picture) {
    if (picture.width <= 0 || picture.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(
        device, 0, 0, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0,
        0, static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
}

int32_t buttonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return 1;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return 2;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return 3;
    default:
        return 0;
    }
}

} // namespace

std::unique_ptr<Win32PopupLayer> Win32PopupLayer::open(HWND frameWindow) {
    if (!frameWindow || !IsWindow(frameWindow)) return nullptr;
    wchar_t name[256] = {};
    if (!GetClassNameW(frameWindow, name, 256)) return nullptr;
    std::unique_ptr<Win32PopupLayer> layer(new Win32PopupLayer(frameWindow));
    layer->owner = GetAncestor(frameWindow, GA_ROOT);
    layer->panelClass = std::wstring(name) + L"Menu";
    return layer;
}

Win32PopupLayer::~Win32PopupLayer() {
    releaseCapture();
    for (auto& panel : panels)
        destroyPanel(*panel);
    panels.clear();
}

bool Win32PopupLayer::isUsable() const {
    return !lost && IsWindow(frameWindow);
}

platform::Area Win32PopupLayer::screenArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(frameWindow, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

std::unique_ptr<Win32PopupLayer::Panel> Win32PopupLayer::makePanel(const platform::Area& area) {
    auto panel = std::make_unique<Panel>();
    panel->layer = this;
    panel->area = area;
    const int width = std::max(1, area.right - area.left);
    const int height = std::max(1, area.bottom - area.top);
    panel->window = win32_window::createWindow(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                               panelClass.c_str(), L"Menu", WS_POPUP, area.left,
                                               area.top, width, height, owner, panel.get());
    if (!panel->window) return nullptr;
    SetWindowPos(panel->window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return panel;
}

void Win32PopupLayer::destroyPanel(Panel& panel) {
    win32_window::destroyWindow(panel.window);
    panel.window = nullptr;
}

void Win32PopupLayer::releaseCapture() {
    if (!captured) return;
    captured = false;
    releasing = true;
    if (!panels.empty() && GetCapture() == panels.front()->window) ReleaseCapture();
    releasing = false;
}

bool Win32PopupLayer::isPanel(HWND window) const {
    for (const auto& panel : panels)
        if (panel->window == window) return true;
    return false;
}

void Win32PopupLayer::showPanels(const platform::PopupPanel* shown, size_t count) {
    if (!isUsable()) return;
    const HWND captureWindow = panels.empty() ? nullptr : panels.front()->window;
    // Panels from the first one whose place changed are made again; the ones before stay.
    const size_t keep = platform::keptPanels(panels, shown, count);
    if (keep == 0) releaseCapture();
    if (!platform::replacePanelsAfter(
            panels, keep, shown, count, [this](Panel& panel) { destroyPanel(panel); },
            [this](const platform::Area& area) { return makePanel(area); })) {
        lost = true;
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        Panel& panel = *panels[i];
        if (shown[i].pixels) panel.picture = *shown[i].pixels;
        if (HDC device = GetDC(panel.window)) {
            paintPicture(device, panel.picture);
            ReleaseDC(panel.window, device);
        }
        ValidateRect(panel.window, nullptr);
    }
    if (!panels.empty() && (!captured || panels.front()->window != captureWindow)) {
        SetCapture(panels.front()->window);
        captured = GetCapture() == panels.front()->window;
        if (!captured) lost = true;
    }
}

LRESULT Win32PopupLayer::Panel::handleMessage(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC device = BeginPaint(hwnd, &paint);
        if (device) paintPicture(device, picture);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // the host's window keeps the activation
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the menu cannot go on.
        if (layer->captured && !layer->releasing) {
            layer->captured = false;
            layer->lost = true;
        }
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void Win32PopupLayer::processEvents(platform::PopupListener& listener) {
    if (!isUsable()) return;
    MSG message;
    for (auto& panel : panels)
        if (PeekMessageW(&message, panel->window, WM_PAINT, WM_PAINT, PM_REMOVE))
            DispatchMessageW(&message);
    // Every mouse and key message of the thread is the menu's while it is open.
    while (!lost && PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        if (message.message == WM_MOUSEMOVE) {
            listener.popupPointer(platform::PopupPointer::Move, message.pt.x, message.pt.y, 0);
            continue;
        }
        const int32_t button = buttonOf(message.message);
        if (button == 0) continue; // wheel turns
        const bool press =
            message.message == WM_LBUTTONDOWN || message.message == WM_MBUTTONDOWN ||
            message.message == WM_RBUTTONDOWN || message.message == WM_LBUTTONDBLCLK ||
            message.message == WM_MBUTTONDBLCLK || message.message == WM_RBUTTONDBLCLK;
        listener.popupPointer(press ? platform::PopupPointer::Press
                                    : platform::PopupPointer::Release,
                              message.pt.x, message.pt.y, button);
    }
    while (!lost && PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (message.message != WM_KEYDOWN && message.message != WM_KEYUP &&
            message.message != WM_SYSKEYDOWN && message.message != WM_SYSKEYUP)
            continue; // characters come with their keys
        wchar_t typed = 0;
        MSG character;
        if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
            PeekMessageW(&character, message.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
            typed = static_cast<wchar_t>(character.wParam);
        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
            // TranslateMessage would queue the WM_CHAR only now: ask for it the same way.
            TranslateMessage(&message);
            if (!typed && PeekMessageW(&character, message.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
                typed = static_cast<wchar_t>(character.wParam);
        }
        const WPARAM extended = (message.lParam & (1 << 24)) ? 0x10000u : 0u;
        const platform::KeyEvent key =
            win32_keys::translateKey(message.message, (message.wParam & 0xFFFFu) | extended, typed);
        if (key.code != platform::KeyCode::Unknown) listener.popupKey(key);
    }
    if (!IsWindow(frameWindow)) lost = true;
}
