// acceptDialogPaths: the check every desktop dialog's answer passes before the toolkit trusts
// it. A dialog program or portal is another process; what it prints is input, not truth.
#pragma once

#include "gui/platform/common/path_limit.h"
#include "gui/platform/posix/dialog_types.h"

#include <string>
#include <vector>

namespace desktop_dialogs {

using platform::kMaxPathBytes;

// True when every path is acceptable for the mode: absolute, at most kMaxPathBytes, valid
// UTF-8 without control characters, and naming what the mode selects (an existing file for
// the load modes, an existing directory for a directory, a name inside an existing directory
// for save). Load and save take exactly one path, multiple load at least one.
bool acceptDialogPaths(DialogMode mode, const std::vector<std::string>& paths);

// Splits a dialog program's output into lines (the last line's newline is optional).
std::vector<std::string> splitLines(const std::string& output);

} // namespace desktop_dialogs
