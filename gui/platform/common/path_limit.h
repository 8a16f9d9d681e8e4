// The longest path the toolkit hands on or accepts, in bytes without the terminating zero:
// the system's limit (PATH_MAX, 4096 with the zero). Longer ones are refused, never cut, as a
// cut path would name another file.
#pragma once

#include <cstddef>

namespace platform {
constexpr size_t kMaxPathBytes = 4095;
} // namespace platform
