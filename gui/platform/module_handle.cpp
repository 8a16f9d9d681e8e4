// The module handle through dladdr.
#include "gui/platform/module_handle.h"

#include <dlfcn.h>

namespace platform {

uintptr_t moduleHandle() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&moduleHandle), &info)) return 0;
    return reinterpret_cast<uintptr_t>(info.dli_fbase);
}

} // namespace platform
