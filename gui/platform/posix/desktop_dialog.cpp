// The order of the desktop dialogs and the check of their answers.
#include "gui/platform/posix/desktop_dialog.h"

#include "gui/platform/posix/dialog_programs.h"
#include "gui/platform/posix/path_check.h"
#include "gui/platform/posix/portal_client.h"

namespace desktop_dialogs {

DialogOutcome runDesktopDialog(const DialogRequest& request, const IdlePump& idle) {
    DialogOutcome outcome = runPortalDialog(request, idle);
    if (outcome.status == DialogStatus::Unavailable)
        outcome = runDialogProgram(zenityArguments(request), idle);
    if (outcome.status == DialogStatus::Unavailable)
        outcome = runDialogProgram(kdialogArguments(request), idle);
    if (outcome.status == DialogStatus::Chosen && !acceptDialogPaths(request.mode, outcome.paths))
        outcome.status = DialogStatus::Failed;
    if (outcome.status != DialogStatus::Chosen) outcome.paths.clear();
    return outcome;
}

} // namespace desktop_dialogs
