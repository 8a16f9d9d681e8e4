// The system's file dialog on Windows: the common item dialogs (open, save, open with several
// files chosen, and the open dialog's folder mode for a directory), owned by the request's
// parent window, with its title, its starting folder and its file types (each type's label
// and patterns joined with ';'). The editor's idle pump runs while the dialog is open; when
// it answers false the dialog is closed and the outcome is Cancelled. Paths come back as
// UTF-8; a chosen path longer than the path limit fails the dialog rather than being cut.
// Unavailable when COM or the dialog cannot be had on this thread; Failed when the dialog
// could not be shown or answered nothing usable.
//
// Stateless. GUI thread; run() blocks until the dialog closes.
#pragma once

#include "gui/platform/file_dialog.h"

#include <string>
#include <vector>

namespace win32_file_dialog {

platform::DialogOutcome run(const platform::DialogRequest& request, const platform::IdlePump& idle);

// The dialog's type list: one (label, "pattern;pattern") pair per filter with patterns.
std::vector<std::pair<std::wstring, std::wstring>>
fileTypes(const std::vector<platform::DialogFilter>& filters);

} // namespace win32_file_dialog
