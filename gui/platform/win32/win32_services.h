// Win32Services: the system services of the platform contract on Windows: the module handle of
// the library holding this code (GetModuleHandleExW from an address of its own), resources
// from the table linked into that library (common/embedded_resources.h, the same bytes and
// codec as on Linux), the tick count and Sleep, web pages through the shell's "open" verb,
// path checks, the common item dialogs (win32_file_dialog.h) and shell links resolved
// (win32_shell_link.h). The window back end (win32/)
// derives from it and adds the window roles; the headless back end derives from it on Windows.
//
// Stateless. GUI thread only, like the whole contract.
#pragma once

#include "gui/platform/platform.h"

class Win32Services : public platform::Platform {
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
