// The font table and the font a setFont call describes.
#include "gui/font.h"

#include <cstring>

namespace {

constexpr FontTableEntry fontTable[FontCount] = {
    {12, "Arial", FontWeightBold, FontFamily::SansSerif, FontPitch::Variable},
    {18, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {14, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {12, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {11, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {10, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {9, "Arial", FontWeightNormal, FontFamily::SansSerif, FontPitch::Variable},
    {13, "Symbol", FontWeightNormal, FontFamily::Decorative, FontPitch::Default},
};

} // namespace

int32_t validFontId(int32_t fontId) {
    return fontId >= 0 && fontId < FontCount ? fontId : 0;
}

const FontTableEntry& fontTableEntry(int32_t fontId) {
    return fontTable[validFontId(fontId)];
}

FontSpec describeFont(int32_t fontId, int32_t size, int32_t style) {
    FontSpec fontSpec;
    fontSpec.id = validFontId(fontId);
    const FontTableEntry& entry = fontTable[fontSpec.id];
    fontSpec.size = size == 0 ? entry.size : size;
    fontSpec.weight = entry.weight;
    if (style & FontStyleBold) fontSpec.weight = FontWeightBold;
    fontSpec.italic = (style & FontStyleItalic) != 0;
    fontSpec.underline = (style & FontStyleUnderline) != 0;
    fontSpec.typeface = std::strcmp(entry.face, "Symbol") == 0 ? Typeface::Symbol : Typeface::Sans;
    return fontSpec;
}
