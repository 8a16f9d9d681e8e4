// X11Platform: the toolkit's services on an X server reached through Xlib. Stateless apart
// from the process-wide window bookkeeping; each window opens its own connection.
#pragma once

#include "gui/platform/platform.h"

class X11Platform final : public platform::Platform {
  public:
    bool registerWindowClass(const char* name) override;
    void unregisterWindowClass(const char* name) override;
    std::unique_ptr<platform::Window>
    createChildWindow(const platform::WindowSpec& windowSpec) override;
    uint32_t ticks() override;
    void sleep(uint32_t milliseconds) override;
    // X keeps no double-click time of its own; this is the common desktop setting.
    uint32_t doubleClickTime() override { return 400; }
};

// The process's one instance.
X11Platform& x11Platform();
