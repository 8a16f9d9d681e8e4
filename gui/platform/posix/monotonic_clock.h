// The system's monotonic millisecond tick (wrapping at 2^32) and a plain sleep, shared by the
// window-system back ends.
#pragma once

#include <cstdint>

namespace platform {
uint32_t monotonicTicks();
void sleepMilliseconds(uint32_t milliseconds);
} // namespace platform
