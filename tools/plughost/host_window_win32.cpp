// plughost's host window on Windows: a captioned top-level window of plughost's own class whose
// inside is the editor's size, its messages handled by pump(), and its pixels (the editor's
// child window included) read back through a DIB section.
#include "tools/plughost/editor_host.h"

#include <windows.h>

namespace {

constexpr wchar_t kClassName[] = L"PlughostHostWindow";

// Set by the window procedure once the user closed the window.
bool closedByUser = false;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        closedByUser = true;
        return 0;
    case WM_ERASEBKGND:
        return 1; // the editor covers everything
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool registerHostClass() {
    static bool registered = false;
    if (registered) return true;
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = hostProcedure;
    description.hInstance = GetModuleHandleW(nullptr);
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    description.lpszClassName = kClassName;
    registered = RegisterClassExW(&description) != 0;
    return registered;
}

std::wstring wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), length);
    result.resize(static_cast<size_t>(length - 1));
    return result;
}

} // namespace

std::unique_ptr<DisplaySession> openDisplaySession(std::string&) {
    return std::make_unique<DisplaySession>();
}

std::unique_ptr<HostWindow> HostWindow::create(int32_t width, int32_t height,
                                               const std::string& title, std::string& error) {
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        error = "the editor's size " + std::to_string(width) + " x " + std::to_string(height) +
                " cannot be shown";
        return nullptr;
    }
    if (!registerHostClass()) {
        error = "cannot register the host window's class";
        return nullptr;
    }
    // A fixed-size window: caption, system menu and minimise box, no sizing border.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND window = CreateWindowExW(0, kClassName, wide(title).c_str(), style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        error = "cannot create the host window (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    std::unique_ptr<HostWindow> host(new HostWindow);
    host->window = window;
    host->width = width;
    host->height = height;
    closedByUser = false;
    return host;
}

HostWindow::~HostWindow() {
    if (window && IsWindow(window)) DestroyWindow(window);
}

void* HostWindow::parentHandle() const {
    return window;
}

bool HostWindow::pump() {
    MSG message;
    while (!closed && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (closedByUser || !IsWindow(window)) closed = true;
    return !closed;
}

void HostWindow::exposeAll() {
    // The editor's child window paints before this returns.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void HostWindow::sync() {
    GdiFlush();
}

bool HostWindow::capture(std::vector<uint8_t>& rgb, int32_t& outWidth, int32_t& outHeight) {
    HDC windowDevice = GetDC(window);
    if (!windowDevice) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(windowDevice);
    HBITMAP section =
        memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool copied = false;
    if (section && bits) {
        HGDIOBJ before = SelectObject(memory, section);
        copied = BitBlt(memory, 0, 0, width, height, windowDevice, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        if (copied) {
            const auto* pixels = static_cast<const uint32_t*>(bits);
            const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
            rgb.resize(count * 3);
            for (size_t i = 0; i < count; ++i) {
                rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
                rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
                rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
            }
        }
        SelectObject(memory, before);
    }
    if (section) DeleteObject(section);
    if (memory) DeleteDC(memory);
    ReleaseDC(window, windowDevice);
    if (!copied) return false;
    outWidth = width;
    outHeight = height;
    return true;
}
