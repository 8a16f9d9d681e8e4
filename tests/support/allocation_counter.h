// Counts heap allocations made anywhere in the process (plug-ins loaded with dlopen included)
// while counting is switched on. Link allocation_counter.cpp into the test and use
// AllocationCounter around the calls that must not allocate.
#pragma once

#include <cstddef>

namespace allocation_counter {
void start();
// Stops counting and answers the number of allocation calls since start().
size_t stop();
} // namespace allocation_counter
