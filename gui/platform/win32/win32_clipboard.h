// The Windows clipboard with the toolkit's 8-bit text: written as Unicode text (CF_UNICODETEXT,
// from Latin-1), read as Unicode text (characters outside Latin-1 become '?'). Windows has no
// primary selection: only platform::Selection::Clipboard is served.
#pragma once

#include <windows.h>

#include <cstddef>

namespace win32_clipboard {

// Puts `text` on the clipboard with `owner` as its owner; false when the clipboard is busy.
bool setText(HWND owner, const char* text);
// The clipboard's text, cut to capacity - 1 with a terminating zero; false when it holds none.
bool getText(HWND owner, char* buffer, size_t capacity);

} // namespace win32_clipboard
