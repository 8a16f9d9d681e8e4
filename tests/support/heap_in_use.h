// The bytes the C library's heap has handed out and not got back: for checks that repeated
// work keeps no memory. glibc reports them itself; on Windows the C runtime's heap is walked.
#pragma once

#include <cstddef>
#include <malloc.h>

inline size_t heapBytesInUse() {
#ifdef _WIN32
    size_t used = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY) used += entry._size;
    return used;
#else
    return mallinfo2().uordblks;
#endif
}
