// The font files built into the library (turned into byte arrays at build time).
#pragma once

#include <cstddef>

enum class FontFile { SansRegular, SansBold, SansItalic, SansBoldItalic, Symbol };

struct FontData {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

// The bytes of one font file; empty when this variant does not carry it (the italic faces are
// built into the newer variant only, which is the one that can ask for them).
FontData embeddedFont(FontFile file);
