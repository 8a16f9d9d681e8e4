// The handle of the library the toolkit is linked into: its load address, found through the
// dynamic linker from one of the library's own functions. Window classes are named after it.
#pragma once

#include <cstdint>

namespace platform {
uintptr_t moduleHandle();
} // namespace platform
