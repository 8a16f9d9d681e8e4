// UTF-8 and the toolkit's 8-bit text: the toolkit's texts are Latin-1, desktops speak UTF-8.
#pragma once

#include <string>

namespace utf8 {

// Strict UTF-8 (no overlong forms, surrogates or values above U+10FFFF) without C0 or C1
// control characters.
bool isClean(const std::string& text);

// Latin-1 text as UTF-8.
std::string fromLatin1(const std::string& latin1);

// UTF-8 text as Latin-1: characters beyond U+00FF and stray bytes become '?'; a character cut
// off at the end is dropped.
std::string toLatin1(const std::string& text);

// An 8-bit text of the host's as a desktop shows it: control characters as spaces, and text
// that is not clean UTF-8 read as Latin-1 (its C1 controls as spaces too).
std::string forDisplay(const std::string& text);

} // namespace utf8
