// PixelSurface: a block of 32-bit pixels, the one pixel type of the system: the toolkit draws
// into it, the platform presents it (the contract's "presenting pixels"), the BMP codec decodes
// into it (as BmpImage) and the artwork generator paints it. Pixels are 0x00RRGGBB (blue in
// the low byte), rows top to bottom, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelSurface {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    PixelSurface() = default;
    PixelSurface(int32_t w, int32_t h, uint32_t fill = 0)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

    bool contains(int32_t x, int32_t y) const {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    uint32_t* row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * width; }
    const uint32_t* row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * width; }
    // The pixel at (x, y); 0 outside the surface.
    uint32_t at(int32_t x, int32_t y) const { return contains(x, y) ? row(y)[x] : 0; }
};
