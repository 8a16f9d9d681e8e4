// File URIs: the local file paths named by "file" URIs, alone (a file dialog's answer) or in a
// "text/uri-list" block (the format in which desktop programs drag files). Lines end with CR LF (a
// bare LF is taken too); lines starting with '#' are comments. Only "file" URIs (scheme in any
// case) whose host part is empty or "localhost" name local files; their paths are percent-decoded.
// Other schemes, other hosts and malformed lines are skipped, never cut or guessed at.
#pragma once

#include "gui/platform/common/path_limit.h"
#include "gui/platform/platform.h"

#include <cstddef>
#include <string>
#include <vector>

namespace file_uri {

using platform::kMaxPathBytes;

// The local path of one URI (no line ending), or false when it names none: another scheme
// or host, a relative or empty path, a '%' not followed by two hex digits, an escaped zero
// byte, or a path longer than kMaxPathBytes.
bool filePathFromUri(const char* uri, size_t length, std::string& path);

// The local paths of a URI list of `size` bytes (not terminated), in order.
std::vector<std::string> filePaths(const char* data, size_t size);

// What a back end hands on for a dropped URI list: its local paths, each with a link as its
// last part replaced by its target (by `system`).
std::vector<std::string> droppedFiles(const char* data, size_t size, platform::System& system);

} // namespace file_uri
