// Lookup of the embedded font files by role.
#include "gui/text/embedded_fonts.h"

extern const unsigned char font_LiberationSans_Regular[];
extern const size_t font_LiberationSans_Regular_size;
extern const unsigned char font_LiberationSans_Bold[];
extern const size_t font_LiberationSans_Bold_size;
extern const unsigned char font_DejaVuSans[];
extern const size_t font_DejaVuSans_size;
#if TOOLKIT_NEWER
extern const unsigned char font_LiberationSans_Italic[];
extern const size_t font_LiberationSans_Italic_size;
extern const unsigned char font_LiberationSans_BoldItalic[];
extern const size_t font_LiberationSans_BoldItalic_size;
#endif

FontData embeddedFont(FontFile file) {
    switch (file) {
    case FontFile::SansRegular:
        return {font_LiberationSans_Regular, font_LiberationSans_Regular_size};
    case FontFile::SansBold:
        return {font_LiberationSans_Bold, font_LiberationSans_Bold_size};
    case FontFile::Symbol:
        return {font_DejaVuSans, font_DejaVuSans_size};
#if TOOLKIT_NEWER
    case FontFile::SansItalic:
        return {font_LiberationSans_Italic, font_LiberationSans_Italic_size};
    case FontFile::SansBoldItalic:
        return {font_LiberationSans_BoldItalic, font_LiberationSans_BoldItalic_size};
#endif
    default:
        return {};
    }
}
