// Monotonic ticks and sleep through the POSIX clock.
#include "gui/platform/posix/monotonic_clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

uint32_t monotonicTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void sleepMilliseconds(uint32_t milliseconds) {
    timespec pause{static_cast<time_t>(milliseconds / 1000u),
                   static_cast<long>(milliseconds % 1000u) * 1000000L};
    // A signal cuts the pause short; the rest is slept so callers get the time they asked.
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

} // namespace platform
