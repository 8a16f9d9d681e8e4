// FontEngine: measures and draws 8-bit text with FreeType from the embedded font files.
//
// State: the FreeType library (opened on first use), one sized face per font a context has
// selected (at most MaxInstances, the least recently used dropped first) and, per face, the
// rendered coverage of each of the 256 characters, made on first use (all caches are emptied
// when they pass GlyphBudget bytes). One process-wide instance, used on the host's GUI thread
// only; it is released when the library is unloaded.
#pragma once

#include "gui/font.h"
#include "gui/geometry.h"
#include "gui/platform/pixel_surface.h"

#include <cstdint>
#include <memory>
#include <vector>

struct LineMetrics {
    int32_t ascent = 0;             // pixels above the baseline
    int32_t descent = 0;            // pixels below it
    int32_t height = 0;             // ascent + descent: the line's cell height
    int32_t underlineOffset = 1;    // top of the underline, pixels below the baseline
    int32_t underlineThickness = 1; // pixels
};

class FontEngine {
  public:
    static FontEngine& instance();

    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;
    ~FontEngine();

    // False (and zero metrics) when the font cannot be opened.
    bool lineMetrics(const FontSpec& fontSpec, LineMetrics& metrics);
    // Sum of the characters' advances in pixels (no kerning), 0 for null text.
    int32_t measure(const FontSpec& fontSpec, const char* text);
    // Draws text with its line cell's top-left at (x, top), blending the glyphs' coverage in
    // pixel. With background, the cell behind the text (its measured width by the line
    // height) is filled first. Nothing outside clip (which lies within the surface) changes.
    void draw(PixelSurface& surface, const Rect& clip, int64_t x, int64_t top,
              const FontSpec& fontSpec, const char* text, uint32_t pixel,
              const uint32_t* background);

    // Faces kept open at once.
    static constexpr size_t MaxInstances = 24;
    // Largest character height rendered; larger sizes are drawn at this size.
    static constexpr int32_t MaxSize = 512;
    // Bytes of rendered coverage kept before the glyph caches are emptied.
    static constexpr size_t GlyphBudget = size_t(16) << 20;

  private:
    struct Glyph;
    struct Instance;

    FontEngine() = default;
    Instance* find(const FontSpec& fontSpec);
    const Glyph& glyph(Instance& instance, unsigned char character);

    void* library = nullptr; // FT_Library
    bool failed = false;
    uint64_t useClock = 0;
    size_t glyphBytes = 0;
    std::vector<std::unique_ptr<Instance>> instances;
};
