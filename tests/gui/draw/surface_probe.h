// Helpers for reading what a drawing operation did to a surface: which pixels changed and
// their bounding box, and surfaces compared under a shift.
#pragma once

#include "gui/draw_context.h"
#include "gui/platform/pixel_surface.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kBackground = 0x00102030;

struct Changes {
    int32_t count = 0;
    Rect box; // inclusive bounds of the changed pixels (meaningless when count is 0)
};

inline Changes changedPixels(const PixelSurface& surface, uint32_t background = kBackground) {
    Changes result;
    for (int32_t y = 0; y < surface.height; ++y)
        for (int32_t x = 0; x < surface.width; ++x) {
            if (surface.at(x, y) == background) continue;
            if (result.count == 0) result.box = Rect(x, y, x, y);
            ++result.count;
            if (x < result.box.left) result.box.left = x;
            if (x > result.box.right) result.box.right = x;
            if (y < result.box.top) result.box.top = y;
            if (y > result.box.bottom) result.box.bottom = y;
        }
    return result;
}

// True when every pixel of b equals the pixel of a at (x - dh, y - dv) (background where that
// lies outside a).
inline bool shiftedCopyOf(const PixelSurface& a, const PixelSurface& b, int32_t dh, int32_t dv,
                          uint32_t background = kBackground) {
    for (int32_t y = 0; y < b.height; ++y)
        for (int32_t x = 0; x < b.width; ++x) {
            const int32_t sx = x - dh;
            const int32_t sy = y - dv;
            const uint32_t expected = a.contains(sx, sy) ? a.at(sx, sy) : background;
            if (b.at(x, y) != expected) return false;
        }
    return true;
}

// The pixels of one row as a string: '#' where the pixel differs from the background.
inline std::string rowPattern(const PixelSurface& surface, int32_t y, int32_t from, int32_t to,
                              uint32_t background = kBackground) {
    std::string pattern;
    for (int32_t x = from; x < to; ++x)
        pattern += surface.at(x, y) == background ? '.' : '#';
    return pattern;
}

inline std::string columnPattern(const PixelSurface& surface, int32_t x, int32_t from, int32_t to,
                                 uint32_t background = kBackground) {
    std::string pattern;
    for (int32_t y = from; y < to; ++y)
        pattern += surface.at(x, y) == background ? '.' : '#';
    return pattern;
}
