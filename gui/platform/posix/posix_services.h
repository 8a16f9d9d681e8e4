// PosixServices: the system services of the platform contract on Linux and other POSIX
// systems: the module handle through the dynamic linker, resources from the table linked into
// the library (common/embedded_resources.h), the monotonic clock, web pages
// through xdg-open, the desktop's file dialogs (desktop_dialog.h) and path checks with links
// resolved. The window back ends on this system derive from it and add the window roles.
//
// Stateless. GUI thread only, like the whole contract.
#pragma once

#include "gui/platform/platform.h"

class PosixServices : public platform::Platform {
  public:
    uintptr_t moduleHandle() override;
    bool findResource(int32_t id, const unsigned char*& data, size_t& size) override;
    uint32_t ticks() override;
    void sleep(uint32_t milliseconds) override;
    bool openWebPage(const char* url) override;
    platform::DialogOutcome runFileDialog(const platform::DialogRequest& request,
                                          const platform::IdlePump& idle) override;
    bool isDirectory(const std::string& path) override;
    std::string resolveLink(const std::string& path) override;
};
