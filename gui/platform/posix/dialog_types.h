// The contract's file-dialog types under the names the desktop dialogs use.
#pragma once

#include "gui/platform/file_dialog.h"

namespace desktop_dialogs {
using platform::DialogFilter;
using platform::DialogMode;
using platform::DialogOutcome;
using platform::DialogRequest;
using platform::DialogStatus;
using platform::IdlePump;
} // namespace desktop_dialogs
