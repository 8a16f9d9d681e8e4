// Counts heap allocations on Windows, where a program cannot replace the C runtime's malloc for
// the DLLs it loads: start() points the malloc, calloc and realloc imports of the test program
// and of every DLL it loaded from outside the system folder (the plug-ins) at counting
// wrappers, which then call the C runtime's own functions.
#include "tests/support/allocation_counter.h"

#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstring>

namespace {

std::atomic<bool> counting{false};
std::atomic<size_t> calls{0};

using MallocProc = void*(__cdecl*)(size_t);
using CallocProc = void*(__cdecl*)(size_t, size_t);
using ReallocProc = void*(__cdecl*)(void*, size_t);
MallocProc runtimeMalloc;
CallocProc runtimeCalloc;
ReallocProc runtimeRealloc;

inline void note() {
    if (counting.load(std::memory_order_relaxed)) calls.fetch_add(1, std::memory_order_relaxed);
}
void* __cdecl countedMalloc(size_t size) {
    note();
    return runtimeMalloc(size);
}
void* __cdecl countedCalloc(size_t count, size_t size) {
    note();
    return runtimeCalloc(count, size);
}
void* __cdecl countedRealloc(void* pointer, size_t size) {
    note();
    return runtimeRealloc(pointer, size);
}

// Rewrites the module's import slots of the C runtime's allocation functions.
void redirectImports(HMODULE module) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library) {
        if (_stricmp(reinterpret_cast<char*>(base + library->Name), "msvcrt.dll") != 0) continue;
        if (!library->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name = reinterpret_cast<char*>(
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
            void* wrapper = std::strcmp(name, "malloc") == 0    ? (void*)countedMalloc
                            : std::strcmp(name, "calloc") == 0  ? (void*)countedCalloc
                            : std::strcmp(name, "realloc") == 0 ? (void*)countedRealloc
                                                                : nullptr;
            if (!wrapper) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                           &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(wrapper);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
        }
    }
}

void* runtimeFunction(HMODULE runtime, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(runtime, name));
}

void redirectEveryModule() {
    HMODULE runtime = GetModuleHandleA("msvcrt.dll");
    runtimeMalloc = reinterpret_cast<MallocProc>(runtimeFunction(runtime, "malloc"));
    runtimeCalloc = reinterpret_cast<CallocProc>(runtimeFunction(runtime, "calloc"));
    runtimeRealloc = reinterpret_cast<ReallocProc>(runtimeFunction(runtime, "realloc"));
    char system[MAX_PATH];
    const UINT systemLength = GetSystemDirectoryA(system, MAX_PATH);
    HMODULE modules[512];
    DWORD bytes = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &bytes)) return;
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        char path[MAX_PATH];
        if (!GetModuleFileNameA(modules[i], path, MAX_PATH)) continue;
        if (systemLength && _strnicmp(path, system, systemLength) == 0) continue;
        redirectImports(modules[i]);
    }
}

} // namespace

namespace allocation_counter {
void start() {
    redirectEveryModule();
    calls = 0;
    counting = true;
}
size_t stop() {
    counting = false;
    return calls.load();
}
} // namespace allocation_counter
