// URI lists: the local file paths named by a "text/uri-list" block, the format in which
// desktop programs drag files. Lines end with CR LF (a bare LF is taken too); lines starting
// with '#' are comments. Only "file" URIs (scheme in any case) whose host part is empty or
// "localhost" name local files; their paths are percent-decoded. Other schemes, other hosts
// and malformed lines are skipped, never cut or guessed at.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace uri_list {

// The longest path the system can open, terminating zero included; longer ones are skipped.
constexpr size_t kMaxPathBytes = 4096;

// The local path of one URI (no line ending), or false when it names none: another scheme
// or host, a relative or empty path, a '%' not followed by two hex digits, an escaped zero
// byte, or a path of kMaxPathBytes or more.
bool filePathFromUri(const char* uri, size_t length, std::string& path);

// The local paths of a URI list of `size` bytes (not terminated), in order.
std::vector<std::string> filePaths(const char* data, size_t size);

} // namespace uri_list
