// File dialogs, a part of the platform contract's system services: what the toolkit asks of
// the system's file dialog (DialogRequest) and what it gets back (DialogOutcome), free of the
// host's record so that each system's dialogs deal with plain strings.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

enum class DialogMode { Load, Save, LoadMultiple, Directory };

// One entry of the dialog's file-type list: its display text and glob patterns ("*.wav").
struct DialogFilter {
    std::string label;
    std::vector<std::string> patterns;
};

struct DialogRequest {
    DialogMode mode = DialogMode::Load;
    std::string title;
    std::string initialDirectory; // empty: the dialog's own choice
    std::vector<DialogFilter> filters;
    // The native window the dialog belongs to (the host's window holding the editor), 0: none.
    uintptr_t parentWindow = 0;
};

enum class DialogStatus {
    Chosen,      // the user chose; `paths` holds the answer
    Cancelled,   // the user closed the dialog without choosing
    Failed,      // the dialog ran but broke (died, answered nonsense): no other dialog is tried
    Unavailable, // this kind of dialog cannot be shown here: the next one is tried
};

struct DialogOutcome {
    DialogStatus status = DialogStatus::Unavailable;
    std::vector<std::string> paths;
};

// Called again and again while a dialog is open, so that the editor and the host keep going.
// It answers false when the dialog must be given up (whoever asked for it is gone): the
// dialog is then closed and its outcome is Cancelled.
using IdlePump = std::function<bool()>;

} // namespace platform
