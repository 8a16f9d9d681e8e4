// Signed distance shapes, paints and the fill loop of the artwork generator.
#include "tools/artwork/painter.h"

#include <algorithm>
#include <cmath>

namespace artwork {

namespace {

constexpr float pi = 3.14159265358979f;

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

// Clockwise angle of (dx, dy) from twelve o'clock, in degrees -180..180.
float angleOf(float dx, float dy) {
    return std::atan2(dx, -dy) * 180.0f / pi;
}

uint32_t hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float noise(uint32_t a, uint32_t b, uint32_t seed) {
    return float(hash(a * 73856093u ^ b * 19349663u ^ seed * 83492791u) & 0xFFFF) / 65535.0f - 0.5f;
}

} // namespace

void direction(float degrees, float& dx, float& dy) {
    const float radians = degrees * pi / 180.0f;
    dx = std::sin(radians);
    dy = -std::cos(radians);
}

Shape circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape roundRect(float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) * 0.5f, cy = (top + bottom) * 0.5f;
    const float hx = (right - left) * 0.5f - radius, hy = (bottom - top) * 0.5f - radius;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape segment(float ax, float ay, float bx, float by, float width) {
    return [=](float x, float y) {
        const float px = x - ax, py = y - ay, ux = bx - ax, uy = by - ay;
        const float length2 = ux * ux + uy * uy;
        const float t = length2 > 0.0f ? clamp01((px * ux + py * uy) / length2) : 0.0f;
        return std::hypot(px - ux * t, py - uy * t) - width * 0.5f;
    };
}

Shape arc(float cx, float cy, float radius, float width, float from, float to) {
    float fx, fy, tx, ty;
    direction(from, fx, fy);
    direction(to, tx, ty);
    return [=](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        const float angle = angleOf(dx, dy);
        if (angle >= from && angle <= to)
            return std::fabs(std::hypot(dx, dy) - radius) - width * 0.5f;
        const float toStart = std::hypot(dx - fx * radius, dy - fy * radius);
        const float toEnd = std::hypot(dx - tx * radius, dy - ty * radius);
        return std::min(toStart, toEnd) - width * 0.5f;
    };
}

Shape subtract(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Paint solid(Rgb colour) {
    return [=](float, float) { return colour; };
}

Paint verticalGradient(float top, float bottom, Rgb topColour, Rgb bottomColour) {
    return [=](float, float y) {
        return mix(topColour, bottomColour, clamp01((y - top) / (bottom - top)));
    };
}

Paint radialGradient(float cx, float cy, float radius, Rgb inner, Rgb outer) {
    return [=](float x, float y) {
        return mix(inner, outer, clamp01(std::hypot(x - cx, y - cy) / radius));
    };
}

void fill(Image& image, const Box& bounds, const Shape& shape, const Paint& paint, float opacity,
          float softness) {
    const int x0 = std::max(0, int(std::floor(bounds.left - softness - 1)));
    const int y0 = std::max(0, int(std::floor(bounds.top - softness - 1)));
    const int x1 = std::min(image.width, int(std::ceil(bounds.right + softness + 1)));
    const int y1 = std::min(image.height, int(std::ceil(bounds.bottom + softness + 1)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float distance = shape(px, py);
            float coverage;
            if (softness > 0.0f) {
                const float t = clamp01((softness - distance) / (2.0f * softness));
                coverage = t * t * (3.0f - 2.0f * t);
            } else {
                coverage = clamp01(0.5f - distance);
            }
            coverage *= opacity;
            if (coverage <= 0.0f) continue;
            image.at(x, y) = mix(image.at(x, y), paint(px, py), coverage);
        }
    }
}

void addBrushedGrain(Image& image, const Box& bounds, const Shape& shape, float amount,
                     uint32_t seed) {
    const int x0 = std::max(0, int(bounds.left)), y0 = std::max(0, int(bounds.top));
    const int x1 = std::min(image.width, int(std::ceil(bounds.right)));
    const int y1 = std::min(image.height, int(std::ceil(bounds.bottom)));
    for (int y = y0; y < y1; ++y) {
        // Each row carries a slow streak pattern plus a little per-pixel grain.
        for (int x = x0; x < x1; ++x) {
            if (shape(float(x) + 0.5f, float(y) + 0.5f) > 0.0f) continue;
            const float streak = noise(uint32_t(x) / 7u, uint32_t(y), seed) * 0.6f +
                                 noise(uint32_t(x) / 23u, uint32_t(y), seed + 1) * 0.6f;
            const float grain = noise(uint32_t(x), uint32_t(y), seed + 2) * 0.5f;
            const float delta = (streak + grain) * amount;
            Rgb& p = image.at(x, y);
            p = {clamp01(p.r + delta), clamp01(p.g + delta), clamp01(p.b + delta)};
        }
    }
}

} // namespace artwork
