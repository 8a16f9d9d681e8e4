// FreeType text: faces opened from memory, hinted glyphs rendered to 8-bit coverage and
// cached per character, blended into the surface in the text colour.
#include "gui/text/font_engine.h"

#include "gui/text/char_map.h"
#include "gui/text/embedded_fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>

struct FontEngine::Glyph {
    bool loaded = false;
    int32_t advance = 0;
    int32_t left = 0; // bitmap position relative to the pen and the baseline (up positive)
    int32_t top = 0;
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage;
};

struct FontEngine::Instance {
    FontSpec fontSpec;
    FT_Face face = nullptr;
    bool emboldened = false; // synthetic bold: no bold file for this face
    bool slanted = false;    // synthetic italic: no italic file for this variant
    LineMetrics metrics;
    uint64_t lastUse = 0;
    std::array<Glyph, 256> glyphs;

    ~Instance() {
        if (face) FT_Done_Face(face);
    }
};

namespace {

int32_t roundToPixels(double value) {
    return static_cast<int32_t>(std::lround(value));
}

uint32_t blend(uint32_t under, uint32_t over, uint32_t coverage) {
    if (coverage >= 255) return over;
    const uint32_t keep = 255 - coverage;
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF;
        const uint32_t b = (over >> shift) & 0xFF;
        result |= ((b * coverage + a * keep + 127) / 255) << shift;
    }
    return result;
}

} // namespace

FontEngine& FontEngine::instance() {
    static FontEngine engine;
    return engine;
}

FontEngine::~FontEngine() {
    instances.clear();
    if (library) FT_Done_FreeType(static_cast<FT_Library>(library));
}

FontEngine::Instance* FontEngine::find(const FontSpec& requested) {
    if (failed) return nullptr;
    FontSpec fontSpec = requested;
    fontSpec.size = static_cast<int32_t>(
        std::min<int64_t>(std::abs(static_cast<int64_t>(fontSpec.size)), MaxSize));
    if (fontSpec.size == 0) return nullptr;
    for (auto& instance : instances)
        if (instance->fontSpec == fontSpec) {
            instance->lastUse = ++useClock;
            return instance.get();
        }

    if (!library) {
        FT_Library opened = nullptr;
        if (FT_Init_FreeType(&opened) != 0) {
            failed = true;
            return nullptr;
        }
        library = opened;
    }

    const bool bold = fontSpec.weight >= 600;
    auto instance = std::make_unique<Instance>();
    instance->fontSpec = fontSpec;
    FontData data;
    if (fontSpec.typeface == Typeface::Symbol) {
        data = embeddedFont(FontFile::Symbol);
        instance->emboldened = bold;
        instance->slanted = fontSpec.italic;
    } else if (fontSpec.italic) {
        data = embeddedFont(bold ? FontFile::SansBoldItalic : FontFile::SansItalic);
        if (!data.data) {
            data = embeddedFont(bold ? FontFile::SansBold : FontFile::SansRegular);
            instance->slanted = true;
        }
    } else {
        data = embeddedFont(bold ? FontFile::SansBold : FontFile::SansRegular);
    }
    if (!data.data) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(static_cast<FT_Library>(library), data.data,
                           static_cast<FT_Long>(data.size), 0, &face) != 0)
        return nullptr;
    instance->face = face;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(fontSpec.size)) != 0) return nullptr;

    // Line cell from the font's Windows ascent and descent, as the platform measures lines.
    const double scale = static_cast<double>(fontSpec.size) / face->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double ascender = os2 ? os2->usWinAscent : face->ascender;
    const double descender = os2 ? os2->usWinDescent : -face->descender;
    LineMetrics& metrics = instance->metrics;
    metrics.ascent = roundToPixels(ascender * scale);
    metrics.descent = roundToPixels(descender * scale);
    metrics.height = metrics.ascent + metrics.descent;
    metrics.underlineThickness = std::max(1, roundToPixels(face->underline_thickness * scale));
    const int32_t centre = roundToPixels(-face->underline_position * scale);
    metrics.underlineOffset = std::max(1, centre - metrics.underlineThickness / 2);
    instance->lastUse = ++useClock;

    if (instances.size() >= MaxInstances) {
        auto oldest =
            std::min_element(instances.begin(), instances.end(),
                             [](const auto& a, const auto& b) { return a->lastUse < b->lastUse; });
        instances.erase(oldest);
    }
    instances.push_back(std::move(instance));
    return instances.back().get();
}

const FontEngine::Glyph& FontEngine::glyph(Instance& instance, unsigned char character) {
    Glyph& glyph = instance.glyphs[character];
    if (glyph.loaded) return glyph;
    // Rendered glyphs are cheap to make again: past the budget every cache starts afresh.
    if (glyphBytes > GlyphBudget) {
        for (auto& each : instances)
            each->glyphs.fill(Glyph{});
        glyphBytes = 0;
    }
    glyph.loaded = true;
    const uint32_t code = instance.fontSpec.typeface == Typeface::Symbol
                              ? symbolToUnicode(character)
                              : ansiToUnicode(character);
    FT_Face face = instance.face;
    const FT_UInt index = code ? FT_Get_Char_Index(face, code) : 0;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (instance.emboldened) FT_GlyphSlot_Embolden(slot);
    if (instance.slanted) FT_GlyphSlot_Oblique(slot);
    glyph.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int32_t>(bitmap.width);
    glyph.rows = static_cast<int32_t>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    glyphBytes += glyph.coverage.size();
    for (int32_t y = 0; y < glyph.rows; ++y) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        std::copy(source, source + glyph.width,
                  glyph.coverage.begin() + static_cast<ptrdiff_t>(y) * glyph.width);
    }
    return glyph;
}

bool FontEngine::lineMetrics(const FontSpec& fontSpec, LineMetrics& metrics) {
    Instance* instance = find(fontSpec);
    metrics = instance ? instance->metrics : LineMetrics{0, 0, 0, 0, 0};
    return instance != nullptr;
}

int32_t FontEngine::measure(const FontSpec& fontSpec, const char* text) {
    if (!text || !*text) return 0;
    Instance* instance = find(fontSpec);
    if (!instance) return 0;
    int64_t width = 0;
    for (const char* c = text; *c; ++c)
        width += glyph(*instance, static_cast<unsigned char>(*c)).advance;
    return static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX));
}

void FontEngine::draw(PixelSurface& surface, const Rect& clip, int64_t x, int64_t top,
                      const FontSpec& fontSpec, const char* text, uint32_t pixel,
                      const uint32_t* background) {
    if (!text || !*text || clip.left >= clip.right || clip.top >= clip.bottom) return;
    Instance* instance = find(fontSpec);
    if (!instance) return;
    const LineMetrics& metrics = instance->metrics;
    const int64_t width = measure(fontSpec, text);
    auto fill = [&](int64_t left, int64_t rowTop, int64_t right, int64_t rowBottom,
                    uint32_t colour) {
        left = std::max<int64_t>(left, clip.left);
        right = std::min<int64_t>(right, clip.right);
        rowTop = std::max<int64_t>(rowTop, clip.top);
        rowBottom = std::min<int64_t>(rowBottom, clip.bottom);
        for (int64_t y = rowTop; y < rowBottom; ++y) {
            uint32_t* row = surface.row(static_cast<int32_t>(y));
            std::fill(row + std::min(left, right), row + right, colour);
        }
    };
    if (background) fill(x, top, x + width, top + metrics.height, *background);

    const int64_t baseline = top + metrics.ascent;
    int64_t pen = x;
    for (const char* c = text; *c; ++c) {
        if (pen >= clip.right) break;
        const Glyph& g = glyph(*instance, static_cast<unsigned char>(*c));
        const int64_t gx = pen + g.left;
        const int64_t gy = baseline - g.top;
        pen += g.advance;
        if (gx + g.width <= clip.left || gx >= clip.right) continue;
        const int64_t y0 = std::max<int64_t>(gy, clip.top);
        const int64_t y1 = std::min<int64_t>(gy + g.rows, clip.bottom);
        const int64_t x0 = std::max<int64_t>(gx, clip.left);
        const int64_t x1 = std::min<int64_t>(gx + g.width, clip.right);
        for (int64_t y = y0; y < y1; ++y) {
            const uint8_t* cover = g.coverage.data() + (y - gy) * g.width + (x0 - gx);
            uint32_t* row = surface.row(static_cast<int32_t>(y));
            for (int64_t px = x0; px < x1; ++px, ++cover)
                if (*cover) row[px] = blend(row[px], pixel, *cover);
        }
    }
    if (fontSpec.underline) {
        const int64_t lineTop = baseline + metrics.underlineOffset;
        fill(x, lineTop, x + width, lineTop + metrics.underlineThickness, pixel);
    }
}
