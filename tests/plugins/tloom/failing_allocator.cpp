// Interposes malloc: the executable's definition wins over libc's for every library in the
// process, so operator new fails too while the allocator is armed.
#include "tests/plugins/tloom/failing_allocator.h"

#include <atomic>

extern "C" void* __libc_malloc(size_t);

namespace {
std::atomic<bool> armed{false};
std::atomic<size_t> threshold{0};
std::atomic<int> spare{0};
std::atomic<int> refused{0};
} // namespace

namespace failing_allocator {
void arm(size_t minBytes, int spared) {
    threshold = minBytes;
    spare = spared;
    refused = 0;
    armed = true;
}
int disarm() {
    armed = false;
    return refused.load();
}
} // namespace failing_allocator

extern "C" __attribute__((visibility("default"))) void* malloc(size_t size) {
    if (armed.load(std::memory_order_relaxed) && size >= threshold.load()) {
        if (spare.fetch_sub(1) <= 0) {
            refused.fetch_add(1);
            return nullptr;
        }
    }
    return __libc_malloc(size);
}
