// FreeType glyph loading, measuring and blending for the artwork generator.
#include "tools/artwork/text_renderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {
// Light hinting snaps stems vertically only, so glyphs can sit at fractional horizontal
// positions and keep the font's own spacing.
constexpr FT_Int32 loadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;

// Unhinted advance of the loaded glyph in pixels.
float advanceOf(FT_Face face) {
    return float(face->glyph->linearHoriAdvance) / 65536.0f;
}
} // namespace

TextRenderer::TextRenderer() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
}

TextRenderer::~TextRenderer() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

bool TextRenderer::open(const std::string& path, std::string& error) {
    if (!library) {
        error = "FreeType could not be initialised";
        return false;
    }
    FT_Face opened = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &opened) != 0) {
        error = "cannot open font " + path;
        return false;
    }
    if (face) FT_Done_Face(face);
    face = opened;
    return true;
}

void TextRenderer::setPixelSize(float pixels) {
    // At 72 dots per inch one point is one pixel, which allows fractional pixel sizes.
    if (face) FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(pixels * 64.0f)), 72, 72);
}

float TextRenderer::measure(const std::string& text, float tracking) {
    if (!face) return 0.0f;
    float width = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        if (FT_Load_Char(face, static_cast<unsigned char>(text[i]), loadFlags) != 0) continue;
        width += advanceOf(face);
        if (i + 1 < text.size()) width += tracking;
    }
    return width;
}

float TextRenderer::capHeight() {
    if (!face || FT_Load_Char(face, 'H', loadFlags) != 0) return 0.0f;
    return float(face->glyph->metrics.horiBearingY) / 64.0f;
}

void TextRenderer::draw(Image& image, const std::string& text, float left, float baseline,
                        Rgb colour, float opacity, float tracking) {
    if (!face) return;
    float pen = left;
    const int baseRow = int(std::lround(baseline));
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, loadFlags) != 0) continue;
        const FT_GlyphSlot glyph = face->glyph;
        const float whole = std::floor(pen);
        if (glyph->format == FT_GLYPH_FORMAT_OUTLINE)
            FT_Outline_Translate(&glyph->outline, FT_Pos(std::lround((pen - whole) * 64.0f)), 0);
        if (FT_Render_Glyph(glyph, FT_RENDER_MODE_LIGHT) != 0) continue;
        const FT_Bitmap& bitmap = glyph->bitmap;
        const int originX = int(whole) + glyph->bitmap_left;
        const int originY = baseRow - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = originX + int(column), y = originY + int(row);
                if (!image.contains(x, y)) continue;
                const float coverage =
                    float(bitmap.buffer[row * unsigned(bitmap.pitch) + column]) / 255.0f;
                if (coverage <= 0.0f) continue;
                // A slight gamma lift keeps thin stems from washing out on dark panels.
                const float alpha = std::pow(coverage, 0.8f) * opacity;
                image.at(x, y) = mix(image.at(x, y), colour, std::min(1.0f, alpha));
            }
        }
        pen += advanceOf(face) + tracking;
    }
}

void TextRenderer::drawCentred(Image& image, const std::string& text, float centre, float baseline,
                               Rgb colour, float opacity, float tracking) {
    const float width = measure(text, tracking);
    draw(image, text, std::round(centre - width * 0.5f), baseline, colour, opacity, tracking);
}

} // namespace artwork
