// The desktop's dialog programs (zenity, then kdialog): the command line each gets for a
// request, and running one of them. Each is started without a shell.
#pragma once

#include "gui/platform/posix/dialog_types.h"

#include <string>
#include <vector>

namespace desktop_dialogs {

std::vector<std::string> zenityArguments(const DialogRequest& request);
std::vector<std::string> kdialogArguments(const DialogRequest& request);

// Runs the program the arguments name: Unavailable when it is not installed, Cancelled when it
// reports a cancel (status 1), Failed when it dies or answers with anything else; its answer
// (one path a line) unchecked when it reports success.
DialogOutcome runDialogProgram(const std::vector<std::string>& argv, const IdlePump& idle);

} // namespace desktop_dialogs
