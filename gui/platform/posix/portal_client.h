// runPortalDialog: the desktop's file-chooser portal on the session bus (OpenFile, SaveFile),
// the only dialog a sandboxed host can reach. The D-Bus client library is loaded when first
// needed, so the plug-in loads and falls back to the dialog programs where it is missing.
//
// Unavailable: no library, no session bus, or no portal answering the call. Otherwise the
// portal's Response: 0 chosen (file:// URIs decoded to paths), 1 cancelled, anything else, a
// URI that is not a local file or a bus that goes away while waiting: failed.
#pragma once

#include "gui/platform/posix/dialog_types.h"

#include <string>

namespace desktop_dialogs {

DialogOutcome runPortalDialog(const DialogRequest& request, const IdlePump& idle);

// The local path a file:// URI names (percent escapes decoded), or false for anything else:
// other schemes, other hosts, bad escapes, an escaped zero byte, a query or a fragment
// (decoded as dropped URIs are, common/file_uri.h).
bool fileUriToPath(const std::string& uri, std::string& path);

} // namespace desktop_dialogs
