// Win32 key translation: key messages (WM_KEYDOWN, WM_KEYUP and their WM_SYS twins, WM_CHAR)
// as the toolkit's key records. A key that types a character comes with the character that
// TranslateMessage made for it (Latin-1; others are Unknown), looked up without Control, so
// that Control-C answers 'c'.
#pragma once

#include "gui/platform/platform.h"

#include <windows.h>

namespace win32_keys {

// The modifiers held now (GetKeyState: as of the message being handled).
uint32_t heldModifiers();
// The record of a key going down or up; `typed` is the character that the key typed (from its
// WM_CHAR, 0 when none was found). Keys the toolkit tells no code for are Unknown.
platform::KeyEvent translateKey(UINT message, WPARAM virtualKey, wchar_t typed);
// The record of a WM_CHAR that no key-down message claimed.
platform::KeyEvent translateChar(wchar_t typed);

} // namespace win32_keys
