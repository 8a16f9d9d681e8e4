// Text conversions at the Win32 boundary.
#include "gui/platform/win32/win32_text.h"

#include "gui/platform/common/utf8.h"

#include <windows.h>

std::wstring win32_text::fromLatin1(const std::string& latin1) {
    std::wstring wide;
    wide.reserve(latin1.size());
    for (const char c : latin1)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return wide;
}

std::string win32_text::toLatin1(const std::wstring& text) {
    std::string latin1;
    latin1.reserve(text.size());
    for (const wchar_t c : text)
        latin1.push_back(static_cast<unsigned>(c) <= 0xFFu ? static_cast<char>(c) : '?');
    return latin1;
}

std::wstring win32_text::fromPath(const std::string& path) {
    if (path.empty() || path.size() > 0x7FFFFFFFu) return {};
    const UINT codePage = utf8::isClean(path) ? CP_UTF8 : CP_ACP;
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(codePage, 0, path.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, path.data(), size, wide.data(), length);
    return wide;
}

std::string win32_text::toPath(const std::wstring& path) {
    if (path.empty() || path.size() > 0x7FFFFFFFu) return {};
    const int size = static_cast<int>(path.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, path.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}
