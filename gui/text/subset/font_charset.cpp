// Build-time helper: writes the Unicode code points that one of the toolkit's 8-bit code pages
// can draw, one "U+XXXX" a line, so the embedded fonts can be cut down to exactly those glyphs.
// Usage: font_charset ansi|symbol OUTPUT
#include "gui/text/char_map.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "ansi") != 0 && std::strcmp(argv[1], "symbol") != 0)) {
        std::fprintf(stderr, "usage: font_charset ansi|symbol OUTPUT\n");
        return 2;
    }
    const bool symbol = std::strcmp(argv[1], "symbol") == 0;
    std::FILE* out = std::fopen(argv[2], "w");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    // Character 0 ends a text and is never drawn.
    for (int character = 1; character < 256; ++character) {
        const auto c = static_cast<unsigned char>(character);
        const uint32_t code = symbol ? symbolToUnicode(c) : ansiToUnicode(c);
        if (code) std::fprintf(out, "U+%04X\n", static_cast<unsigned>(code));
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
