// Code pages of the toolkit's 8-bit text: the ANSI (Western) page for "Arial" and the Symbol
// page, whose letters are Greek, for "Symbol".
#pragma once

#include <cstdint>

// Unicode code point of an ANSI character (0 for the unassigned ones).
uint32_t ansiToUnicode(unsigned char character);
// Unicode code point of a Symbol-page character (0 for the unassigned ones).
uint32_t symbolToUnicode(unsigned char character);
