// Key events of X11 as the toolkit's KeyEvent: the keyboard layout's character through
// XLookupString (Latin-1, the toolkit's 8-bit text), the editing and movement keys by keysym.
#pragma once

#include "gui/platform/platform.h"

#include <X11/Xlib.h>

namespace x11_keys {

// A KeyPress or KeyRelease; code Unknown for keys the toolkit does not use (modifiers alone,
// function keys, characters outside Latin-1).
platform::KeyEvent translate(XKeyEvent& event);

} // namespace x11_keys
