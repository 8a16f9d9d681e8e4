// Opening a plug-in library and finding its entry, the one place where plughost's host code
// differs between Linux (dlopen) and Windows (LoadLibrary).
#pragma once

#include <string>

// Loads the library at `path` for good (plug-ins may leave threads behind, so it is never
// unloaded), or answers null with the cause, one line without the path, in `reason`.
void* openLibrary(const std::string& path, std::string& reason);
// The address of an exported symbol, or null.
void* findSymbol(void* library, const char* name);
