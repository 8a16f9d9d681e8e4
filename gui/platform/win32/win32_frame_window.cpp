// The handle of a Win32 frame window.
#include "gui/platform/win32/win32_frame_window.h"

#include "gui/platform/win32/win32_window.h"

HWND win32WindowHandle(platform::Window* window) {
    auto* own = dynamic_cast<Win32Window*>(window);
    if (!own || !own->isUsable()) return nullptr;
    return own->hwnd();
}
