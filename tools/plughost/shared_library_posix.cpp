// Plug-in libraries on Linux: dlopen with every symbol resolved at once and kept local.
#include "tools/plughost/shared_library.h"

#include <dlfcn.h>

void* openLibrary(const std::string& path, std::string& reason) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* error = dlerror();
        reason = error ? error : "unknown error";
    }
    return library;
}

void* findSymbol(void* library, const char* name) {
    return dlsym(library, name);
}
