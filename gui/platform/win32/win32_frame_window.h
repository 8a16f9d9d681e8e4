// The system window behind a frame's platform window, for the native pieces that need it
// (the edit control's parent, the popup menu's owner).
#pragma once

#include "gui/platform/platform.h"

#include <windows.h>

// The window's handle when it is a Win32 window that exists; null otherwise.
HWND win32WindowHandle(platform::Window* window);
