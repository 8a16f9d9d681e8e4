// Plug-in libraries on Windows: LoadLibrary, with the system's message as the cause. A library
// built for the other architecture is named as such, since that is the usual mistake with a
// 32-bit and a 64-bit host side by side.
#include "tools/plughost/shared_library.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

// "32-bit", "64-bit" or "" from the machine field of a PE file's header.
std::string architectureOf(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "";
    unsigned char header[64];
    std::string answer;
    if (std::fread(header, 1, sizeof header, file) == sizeof header && header[0] == 'M' &&
        header[1] == 'Z') {
        const uint32_t peOffset = header[60] | header[61] << 8 | header[62] << 16 |
                                  static_cast<uint32_t>(header[63]) << 24;
        unsigned char pe[6];
        if (std::fseek(file, static_cast<long>(peOffset), SEEK_SET) == 0 &&
            std::fread(pe, 1, sizeof pe, file) == sizeof pe && pe[0] == 'P' && pe[1] == 'E') {
            const unsigned machine = pe[4] | pe[5] << 8;
            if (machine == IMAGE_FILE_MACHINE_I386) answer = "32-bit";
            if (machine == IMAGE_FILE_MACHINE_AMD64) answer = "64-bit";
        }
    }
    std::fclose(file);
    return answer;
}

std::string systemMessage(DWORD code) {
    char text[512] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    if (const size_t insert = message.find("%1"); insert != std::string::npos)
        message.replace(insert, 2, "this file");
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

} // namespace

void* openLibrary(const std::string& path, std::string& reason) {
    // No "cannot find a DLL" message boxes for libraries that need something missing.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryA(path.c_str());
    const DWORD error = library ? 0 : GetLastError();
    SetErrorMode(previousMode);
    if (library) return reinterpret_cast<void*>(library);
    const std::string own = sizeof(void*) == 8 ? "64-bit" : "32-bit";
    const std::string theirs = architectureOf(path);
    if (error == ERROR_BAD_EXE_FORMAT && !theirs.empty() && theirs != own)
        reason = "it is a " + theirs + " library and this plughost is " + own;
    else
        reason = systemMessage(error);
    return nullptr;
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
