// Point and Rect: the toolkit's integer pixel geometry (origin top left, v grows downwards).
#pragma once

#include "gui/toolkit_variant.h"

#include <cstdint>

struct Point {
    int32_t h = 0; // horizontal
    int32_t v = 0; // vertical

    constexpr Point() = default;
    constexpr Point(int32_t horizontal, int32_t vertical) : h(horizontal), v(vertical) {}

    constexpr Point& offset(int32_t dh, int32_t dv) {
        h += dh;
        v += dv;
        return *this;
    }
    constexpr bool operator==(const Point& other) const = default;
    constexpr Point operator+(const Point& other) const { return {h + other.h, v + other.v}; }
    constexpr Point operator-(const Point& other) const { return {h - other.h, v - other.v}; }
};

// A rectangle given by its four edges. Width is right - left, height bottom - top.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(int32_t l, int32_t t, int32_t r, int32_t b)
        : left(l), top(t), right(r), bottom(b) {}
    constexpr Rect(const Point& origin, int32_t width, int32_t height)
        : left(origin.h), top(origin.v), right(origin.h + width), bottom(origin.v + height) {}

    constexpr int32_t getWidth() const { return right - left; }
    constexpr int32_t getHeight() const { return bottom - top; }
    constexpr Point getTopLeft() const { return {left, top}; }

    constexpr Rect& offset(int32_t dh, int32_t dv) {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
        return *this;
    }
    // Moves the rectangle so that its top-left corner is at (h, v), keeping its size.
    constexpr Rect& moveTo(int32_t h, int32_t v) { return offset(h - left, v - top); }

    // Half-open test: a point on right or bottom is outside (editors' hot areas).
    constexpr bool pointInside(const Point& where) const {
        return where.h >= left && where.h < right && where.v >= top && where.v < bottom;
    }
    // Inclusive test on all four edges (the frame's hit-testing of views).
    constexpr bool pointInsideInclusive(const Point& where) const {
        return where.h >= left && where.h <= right && where.v >= top && where.v <= bottom;
    }

#if TOOLKIT_NEWER
    constexpr bool isEmpty() const {
        return left >= right || top >= bottom;
    }
    // Intersection: the larger left and top, the smaller right and bottom; an inverted result
    // collapses onto its left and top edges.
    constexpr Rect& bound(const Rect& other) {
        if (other.left > left) left = other.left;
        if (other.top > top) top = other.top;
        if (other.right < right) right = other.right;
        if (other.bottom < bottom) bottom = other.bottom;
        if (bottom < top) bottom = top;
        if (right < left) right = left;
        return *this;
    }
#endif

    constexpr bool operator==(const Rect& other) const = default;
};
