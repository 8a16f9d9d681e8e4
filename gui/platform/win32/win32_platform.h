// Win32Platform: the platform contract on Windows: window classes and child windows here and
// in the other win32/ files, the system services from win32_services. Its state is the window
// bookkeeping of the library (one instance per loaded DLL, since each carries its own copy).
//
// Window classes are registered as classes of this library's module, not as global classes:
// Windows tells such classes apart by name and module, so two plug-ins in one host, or two
// copies of one plug-in, never share, replace or unregister each other's class even when
// their names agree. Each registered name has a twin (name + "Menu") for popup panels.
#pragma once

#include "gui/platform/common/window_registry.h"
#include "gui/platform/win32/win32_services.h"

#include <windows.h>

#include <string>

class Win32Platform final : public Win32Services {
  public:
    bool registerWindowClass(const char* name) override;
    void unregisterWindowClass(const char* name) override;
    std::unique_ptr<platform::Window>
    createChildWindow(const platform::WindowSpec& windowSpec) override;
    uint32_t doubleClickTime() override { return GetDoubleClickTime(); }

    // The classes and the frame windows that exist now.
    platform::WindowRegistry& registry() { return windows; }
    HINSTANCE instance() { return reinterpret_cast<HINSTANCE>(moduleHandle()); }
    // The class name of popup panels made for frame windows of class `name`.
    static std::wstring panelClassName(const char* name);

  private:
    platform::WindowRegistry windows;
};

// The library's one instance.
Win32Platform& win32Platform();
