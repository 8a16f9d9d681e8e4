// Text between the system's wide (UTF-16) strings and the toolkit's: UTF-8 for paths and
// dropped text (what the other back ends hand on too), Latin-1 for the toolkit's own 8-bit
// texts (entries of menus, edit boxes).
#pragma once

#include <cstddef>
#include <string>

namespace wide_text {

// UTF-16 as UTF-8; unpaired surrogates become U+FFFD.
std::string toUtf8(const wchar_t* text, size_t length);
inline std::string toUtf8(const std::wstring& text) {
    return toUtf8(text.data(), text.size());
}
// UTF-8 as UTF-16; malformed sequences become U+FFFD.
std::wstring fromUtf8(const std::string& text);

// Latin-1 bytes as UTF-16 (each byte is the character of its value).
std::wstring fromLatin1(const char* text);
// UTF-16 as Latin-1: characters beyond U+00FF become '?'.
std::string toLatin1(const wchar_t* text, size_t length);

} // namespace wide_text
