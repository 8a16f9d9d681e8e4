// The host's key record (VstKeyCode: character, virtual key, modifier bits) and the platform's
// key events, each way: keys the host sends reach an open edit box as platform keys, and keys
// the editor's own window receives reach the frame's views as the host's key record.
#pragma once

#include "frame/aeffect.h"
#include "gui/platform/platform.h"

// The platform key for a host key record; KeyCode::Unknown when it names none.
platform::KeyEvent fromHostKey(const VstKeyCode& keyCode);
// The host key record for a platform key; false for a key the record has no code for.
bool toHostKey(const platform::KeyEvent& key, VstKeyCode& keyCode);
