// X11Platform: the platform contract on an X server reached through Xlib: the window roles
// here and in the other x11/ files, the system services from posix/. Its state is the window
// bookkeeping of the process (one instance); each window opens its own connection.
#pragma once

#include "gui/platform/common/window_registry.h"
#include "gui/platform/posix/posix_services.h"

class X11Platform final : public PosixServices {
  public:
    bool registerWindowClass(const char* name) override;
    void unregisterWindowClass(const char* name) override;
    std::unique_ptr<platform::Window>
    createChildWindow(const platform::WindowSpec& windowSpec) override;
    // X keeps no double-click time of its own; this is the common desktop setting.
    uint32_t doubleClickTime() override { return 400; }

    // The classes and the frame windows that exist now.
    platform::WindowRegistry& registry() { return windows; }

  private:
    platform::WindowRegistry windows;
};

// The process's one instance.
X11Platform& x11Platform();
