// Conversions between UTF-16 and UTF-8 (the system's converters) and Latin-1 (by value).
#include "gui/platform/win32/win32_wide_text.h"

#include <windows.h>

#include <climits>

namespace wide_text {

std::string toUtf8(const wchar_t* text, size_t length) {
    if (!text || length == 0 || length > INT_MAX / 3) return {};
    const int count = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, count, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, count, result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring fromUtf8(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int count = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), count, nullptr, 0);
    if (size <= 0) return {};
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), count, result.data(), size);
    return result;
}

std::wstring fromLatin1(const char* text) {
    std::wstring result;
    if (!text) return result;
    for (const char* c = text; *c; ++c)
        result.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return result;
}

std::string toLatin1(const wchar_t* text, size_t length) {
    std::string result;
    if (!text) return result;
    result.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        const wchar_t c = text[i];
        result.push_back(c <= 0xff ? static_cast<char>(c) : '?');
        // A character beyond the basic plane is one '?', not one per half.
        if (c >= 0xd800 && c < 0xdc00 && i + 1 < length && text[i + 1] >= 0xdc00 &&
            text[i + 1] < 0xe000)
            ++i;
    }
    return result;
}

} // namespace wide_text
