// The font table (ids 0..7 with their default sizes, faces and weights) and the description
// of a selected font that the text renderer draws with.
#pragma once

#include <cstdint>

inline constexpr int32_t FontCount = 8;

// Style bits of the newer variant's three-argument setFont.
inline constexpr int32_t FontStyleBold = 1;
inline constexpr int32_t FontStyleItalic = 2;
inline constexpr int32_t FontStyleUnderline = 4;

inline constexpr int32_t FontWeightNormal = 400;
inline constexpr int32_t FontWeightBold = 700;

enum class FontFamily : int32_t { SansSerif, Decorative };
enum class FontPitch : int32_t { Variable, Default };

struct FontTableEntry {
    int32_t size;     // default character height in pixels
    const char* face; // "Arial" or "Symbol"
    int32_t weight;   // 400 or 700
    FontFamily family;
    FontPitch pitch;
};

// The table entry of a font id; ids outside 0..7 are treated as 0.
const FontTableEntry& fontTableEntry(int32_t fontId);
// fontId when it lies in 0..7, else 0.
int32_t validFontId(int32_t fontId);

// The typefaces embedded in the library.
enum class Typeface : int32_t {
    Sans,   // "Arial": Liberation Sans
    Symbol, // "Symbol": DejaVu Sans with the Symbol letter-to-Greek mapping
};

// A font as a context selected it: everything the renderer needs to draw and measure text.
struct FontSpec {
    int32_t id = 0;
    int32_t size = 0; // character height (em size) in pixels
    int32_t weight = FontWeightNormal;
    bool italic = false;
    bool underline = false;
    Typeface typeface = Typeface::Sans;

    bool operator==(const FontSpec& other) const = default;
};

// The font setFont(fontId, size[, style]) describes: id fallback, default size for size 0,
// the table's face, weight 700 for font 0 and for the bold style bit.
FontSpec describeFont(int32_t fontId, int32_t size, int32_t style = 0);
