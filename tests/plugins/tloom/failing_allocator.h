// Makes large heap allocations fail on demand, so tests can see how code copes with running out
// of memory. Link failing_allocator.cpp into the test; it replaces malloc for the whole process.
#pragma once

#include <cstddef>

namespace failing_allocator {
// From now on, requests of at least minBytes fail, after the first `spared` such requests have
// been let through.
void arm(size_t minBytes, int spared = 0);
// Back to normal allocation. Answers how many requests were refused.
int disarm();
} // namespace failing_allocator
