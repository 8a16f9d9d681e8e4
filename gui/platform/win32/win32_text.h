// Text at the Win32 boundary: the system speaks UTF-16; the toolkit's texts are Latin-1 and
// its paths UTF-8 (or, when not valid UTF-8, the system's ANSI code page, as hosts hand them).
#pragma once

#include <string>

namespace win32_text {

// Latin-1 as UTF-16: every byte is the code unit of the same value.
std::wstring fromLatin1(const std::string& latin1);
// UTF-16 as Latin-1: code units above U+00FF become '?'.
std::string toLatin1(const std::wstring& text);
// A path as the wide string the system's file functions take; empty when it cannot be read.
std::wstring fromPath(const std::string& path);
// A wide path as UTF-8.
std::string toPath(const std::wstring& path);

} // namespace win32_text
