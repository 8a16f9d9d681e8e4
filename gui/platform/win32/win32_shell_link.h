// Shell links (".lnk" files): a dropped or chosen link is handed on as the file it points to.
// Resolution asks the system's shell-link object, without any user interface and without
// letting it rewrite the link file when the target has moved, waiting at most kTimeoutMs for
// a target it has to search for. A link that cannot be resolved stays as it was given.
//
// GUI thread (COM is initialised for the call when the thread has not done it yet).
#pragma once

#include <cstdint>
#include <string>

namespace shell_link {

constexpr uint32_t kTimeoutMs = 500;

// Whether the name ends in ".lnk", in any case.
bool isShellLink(const std::wstring& path);

// The target's path of the link at `path`; false (target untouched) when `path` is no link or
// the link cannot be loaded, resolved or names no file-system path.
bool resolve(const std::wstring& path, std::wstring& target);

// A UTF-8 path with a link replaced by its target's path; anything else as given.
std::string resolvedPath(const std::string& path);

} // namespace shell_link
