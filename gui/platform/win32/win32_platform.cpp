// Win32Platform: window classes of this module and child windows; the library's platform.
#include "gui/platform/win32/win32_platform.h"

#include "gui/platform/win32/win32_text.h"
#include "gui/platform/win32/win32_window.h"

namespace {

bool registerClass(HINSTANCE instance, const std::wstring& name) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    description.lpfnWndProc = win32_window::windowProcedure;
    description.hInstance = instance;
    description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    description.lpszClassName = name.c_str();
    if (RegisterClassExW(&description)) return true;
    // Left registered by a window that outlived its class's last user: still ours to use.
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS &&
           GetClassInfoExW(instance, name.c_str(), &existing) &&
           existing.lpfnWndProc == win32_window::windowProcedure;
}

} // namespace

std::wstring Win32Platform::panelClassName(const char* name) {
    return win32_text::fromLatin1(name) + L"Menu";
}

bool Win32Platform::registerWindowClass(const char* name) {
    if (!name || !*name) return false;
    if (windows.hasClass(name)) {
        windows.addClass(name);
        return true;
    }
    HINSTANCE module = instance();
    const std::wstring frameClass = win32_text::fromLatin1(name);
    const std::wstring panelClass = panelClassName(name);
    if (!module || !registerClass(module, frameClass)) return false;
    if (!registerClass(module, panelClass)) {
        UnregisterClassW(frameClass.c_str(), module);
        return false;
    }
    windows.addClass(name);
    return true;
}

void Win32Platform::unregisterWindowClass(const char* name) {
    if (!name || !windows.hasClass(name)) return;
    windows.removeClass(name);
    if (windows.hasClass(name)) return;
    // Fails harmlessly while a window of the class still exists; the class then goes with the
    // module.
    UnregisterClassW(win32_text::fromLatin1(name).c_str(), instance());
    UnregisterClassW(panelClassName(name).c_str(), instance());
}

std::unique_ptr<platform::Window>
Win32Platform::createChildWindow(const platform::WindowSpec& windowSpec) {
    if (!windowSpec.className || !windows.hasClass(windowSpec.className)) return nullptr;
    return Win32Window::create(windowSpec);
}

Win32Platform& win32Platform() {
    static Win32Platform instance;
    return instance;
}

platform::Platform& platform::current() {
    return win32Platform();
}
