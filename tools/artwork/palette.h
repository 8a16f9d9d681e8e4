// Colour reduction for the 8-bit BMP files: one palette of at most 256 colours chosen for a
// set of images together (so that a knob strip and the panel behind it map the same colour to
// the same entry), then nearest-colour mapping without dithering, which keeps flat and
// vertically shaded areas identical wherever they repeat.
#pragma once

#include "tools/artwork/image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace artwork {

// A palette of `count` entries 0xRRGGBB (the rest are black).
struct Palette {
    std::array<uint32_t, 256> colours{};
    int count = 0;
};

// Median cut over all pixels of `images`, refined by weighted k-means. When the images hold
// 256 colours or fewer (after rounding to 8 bits) the palette is exactly those colours.
Palette buildPalette(const std::vector<const Image*>& images);

// Maps every pixel to its nearest palette entry.
IndexedImage quantise(const Image& image, const Palette& palette);

// 8-bit rounding of a rendered colour, 0xRRGGBB.
uint32_t toRgb8(const Rgb& colour);

} // namespace artwork
