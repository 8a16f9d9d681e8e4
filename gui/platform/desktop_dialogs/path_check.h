// acceptDialogPaths: the check every desktop dialog's answer passes before the toolkit trusts
// it. A dialog program or portal is another process; what it prints is input, not truth.
#pragma once

#include "gui/platform/desktop_dialogs/dialog_request.h"

#include <string>
#include <vector>

namespace desktop_dialogs {

// Longest path accepted, in bytes without the terminating zero (the system's PATH_MAX less 1).
constexpr size_t kMaxPathBytes = 4095;

// True when every path is acceptable for the mode: absolute, at most kMaxPathBytes, valid
// UTF-8 without control characters, and naming what the mode selects (an existing file for
// the load modes, an existing directory for a directory, a name inside an existing directory
// for save). Load and save take exactly one path, multiple load at least one.
bool acceptDialogPaths(DialogMode mode, const std::vector<std::string>& paths);

// Strict UTF-8 (no overlong forms, surrogates or values above U+10FFFF) without C0 or C1
// control characters.
bool isCleanUtf8(const std::string& text);

// Splits a dialog program's output into lines (the last line's newline is optional).
std::vector<std::string> splitLines(const std::string& output);

} // namespace desktop_dialogs
