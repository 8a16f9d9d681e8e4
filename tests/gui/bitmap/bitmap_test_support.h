// Shared helpers of the bitmap tests: the pixels of the embedded test image 201 (written by
// make_fixture.py) and surface helpers.
#pragma once

#include "gui/platform/pixel_surface.h"

#include <cstdint>

inline constexpr int32_t patternId = 201;
inline constexpr int32_t patternWidth = 6;
inline constexpr int32_t patternHeight = 4;
inline constexpr uint32_t white = 0xFFFFFFu;

// Pixel (x, y) of test image 201 as 0x00RRGGBB.
inline uint32_t patternPixel(int32_t x, int32_t y) {
    if ((x + y) % 3 == 0) return white;
    if (x == 1 && y == 0) return 0xFEFFFFu;
    return uint32_t(40 * x + 10) << 16 | uint32_t(60 * y + 5) << 8 | uint32_t(200 - 10 * x);
}

// A background no bitmap pixel equals: a gradient distinct at every position.
inline PixelSurface backgroundSurface(int32_t width, int32_t height) {
    PixelSurface surface(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            surface.row(y)[x] = 0x010000u * uint32_t(x) + 0x000100u * uint32_t(y) + 0x33u;
    return surface;
}
