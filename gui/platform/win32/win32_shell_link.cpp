// Shell-link resolution through the shell's link object and its persist-file interface.
#include "gui/platform/win32/win32_shell_link.h"

#include "gui/platform/win32/win32_com.h"
#include "gui/platform/win32/win32_text.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cwctype>
#include <vector>

namespace shell_link {

namespace {
// Room for a target path: the longest path the wide file functions take.
constexpr int kTargetRoom = 32768;
} // namespace

bool isShellLink(const std::wstring& path) {
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || path.size() - dot != 4) return false;
    const wchar_t expected[] = L".lnk";
    for (size_t i = 0; i < 4; ++i)
        if (std::towlower(path[dot + i]) != expected[i]) return false;
    return true;
}

bool resolve(const std::wstring& path, std::wstring& target) {
    if (!isShellLink(path)) return false;
    ComApartment com;
    if (!com.isUsable()) return false;
    ComRef<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.putVoid())))
        return false;
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid()))) return false;
    if (FAILED(file->Load(path.c_str(), STGM_READ))) return false;
    // SLR_NO_UI takes the time-out from the high word. The link file is never rewritten:
    // a drop or a dialog must not change the user's files.
    const DWORD flags = SLR_NO_UI | SLR_ANY_MATCH | SLR_NOUPDATE | (kTimeoutMs << 16);
    if (FAILED(link->Resolve(nullptr, flags))) return false;
    std::vector<wchar_t> buffer(kTargetRoom, L'\0');
    if (link->GetPath(buffer.data(), kTargetRoom, nullptr, 0) != S_OK || buffer[0] == 0)
        return false;
    buffer.back() = 0;
    target.assign(buffer.data());
    return true;
}

std::string resolvedPath(const std::string& path) {
    std::wstring target;
    if (!resolve(win32_text::fromPath(path), target)) return path;
    return win32_text::toPath(target);
}

} // namespace shell_link
