// runDesktopDialog: the desktop's own file dialog for a request. Tried in order: the
// file-chooser portal, zenity, kdialog; the first that can be shown decides. Whatever it
// answers is checked (acceptDialogPaths) and an answer that fails the check counts as failed.
#pragma once

#include "gui/platform/posix/dialog_types.h"

namespace desktop_dialogs {

DialogOutcome runDesktopDialog(const DialogRequest& request, const IdlePump& idle);

} // namespace desktop_dialogs
