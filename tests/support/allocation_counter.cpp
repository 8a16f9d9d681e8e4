// Interposes the C allocator: the executable's definitions win over libc's for every library in
// the process, including plug-ins whose C++ runtime is linked in statically. Under a sanitizer,
// which owns the allocator, the same count comes from its allocation hook instead.
#include "tests/support/allocation_counter.h"

#include <atomic>
#include <cstdlib>

// GCC names the sanitizers by macro, clang by feature test.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ALLOCATION_COUNTER_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ALLOCATION_COUNTER_HOOK 1
#endif
#endif

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
}

namespace {
std::atomic<bool> counting{false};
std::atomic<size_t> calls{0};
inline void note() {
    if (counting.load(std::memory_order_relaxed)) calls.fetch_add(1, std::memory_order_relaxed);
}
} // namespace

namespace allocation_counter {
void start() {
    calls = 0;
    counting = true;
}
size_t stop() {
    counting = false;
    return calls.load();
}
} // namespace allocation_counter

#ifdef ALLOCATION_COUNTER_HOOK
// The sanitizer runtime calls this on every allocation it makes.
extern "C" __attribute__((visibility("default"))) void
__sanitizer_malloc_hook(const volatile void*, size_t) {
    note();
}
#else
extern "C" {
__attribute__((visibility("default"))) void* malloc(size_t size) {
    note();
    return __libc_malloc(size);
}
__attribute__((visibility("default"))) void* calloc(size_t count, size_t size) {
    note();
    return __libc_calloc(count, size);
}
__attribute__((visibility("default"))) void* realloc(void* pointer, size_t size) {
    note();
    return __libc_realloc(pointer, size);
}
__attribute__((visibility("default"))) void* memalign(size_t alignment, size_t size) {
    note();
    return __libc_memalign(alignment, size);
}
__attribute__((visibility("default"))) void* aligned_alloc(size_t alignment, size_t size) {
    note();
    return __libc_memalign(alignment, size);
}
__attribute__((visibility("default"))) int posix_memalign(void** out, size_t alignment,
                                                          size_t size) {
    note();
    void* pointer = __libc_memalign(alignment, size);
    if (!pointer) return 12; // ENOMEM
    *out = pointer;
    return 0;
}
}
#endif
