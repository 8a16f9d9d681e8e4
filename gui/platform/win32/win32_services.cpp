// Win32Services: GetModuleHandleExW, GetTickCount, Sleep, ShellExecuteW and the file
// attributes.
#include "gui/platform/win32/win32_services.h"

#include "gui/platform/common/embedded_resources.h"
#include "gui/platform/common/path_limit.h"
#include "gui/platform/win32/win32_file_dialog.h"
#include "gui/platform/win32/win32_shell_link.h"
#include "gui/platform/win32/win32_text.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>

namespace {

bool isWebAddress(const char* url) {
    return std::strncmp(url, "https://", 8) == 0 || std::strncmp(url, "http://", 7) == 0;
}

// "C:\..." or "C:/...", and UNC paths ("\\server\share").
bool isAbsolute(const std::string& path) {
    if (path.size() >= 3 &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':' && (path[2] == '\\' || path[2] == '/'))
        return true;
    return path.size() >= 3 && (path[0] == '\\' || path[0] == '/') && path[0] == path[1];
}

} // namespace

uintptr_t Win32Services::moduleHandle() {
    // The library holding this function: the toolkit's own DLL (or the program in tests), not
    // the host's executable that GetModuleHandle(nullptr) would answer.
    static const int anchor = 0;
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&anchor), &module))
        return 0;
    return reinterpret_cast<uintptr_t>(module);
}

bool Win32Services::findResource(int32_t id, const unsigned char*& data, size_t& size) {
    return ::findResource(linkedBitmapTable(), id, data, size);
}

uint32_t Win32Services::ticks() {
    return GetTickCount();
}

void Win32Services::sleep(uint32_t milliseconds) {
    Sleep(milliseconds);
}

bool Win32Services::openWebPage(const char* url) {
    if (!url || !isWebAddress(url) || std::strlen(url) > platform::kMaxPathBytes) return false;
    const std::wstring address = win32_text::fromLatin1(url);
    // The user's browser opens the page; the shell returns once it has started it. Values
    // above 32 mean success.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

platform::DialogOutcome Win32Services::runFileDialog(const platform::DialogRequest& request,
                                                     const platform::IdlePump& idle) {
    return win32_file_dialog::run(request, idle);
}

bool Win32Services::isDirectory(const std::string& path) {
    if (!isAbsolute(path) || path.size() > platform::kMaxPathBytes) return false;
    const std::wstring wide = win32_text::fromPath(path);
    if (wide.empty()) return false;
    // The attributes of the final target: a folder's symbolic link or junction counts as the
    // folder when the folder exists.
    const HANDLE handle = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    return known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string Win32Services::resolveLink(const std::string& path) {
    return shell_link::resolvedPath(path);
}
