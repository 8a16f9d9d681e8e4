// Images the artwork generator paints: floating-point RGB for rendering, and the 8-bit
// palettised form that is written to BMP files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace artwork {

// A colour with components 0..1 (display values, not linear light).
struct Rgb {
    float r = 0.0f, g = 0.0f, b = 0.0f;
};

Rgb mix(const Rgb& a, const Rgb& b, float t);
Rgb hex(uint32_t rgb); // 0xRRGGBB

// A rendered image, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Image() = default;
    Image(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    Rgb& at(int x, int y) { return pixels[size_t(y) * width + x]; }
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Copies `source` with its top-left corner at (x, y), dropping what falls outside.
    void paste(const Image& source, int x, int y);
    Image crop(int x, int y, int w, int h) const;
};

// A palettised image as the BMP files store it: 256 palette entries 0xRRGGBB and one index
// per pixel, rows top to bottom.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::array<uint32_t, 256> palette{};
    std::vector<uint8_t> indices;
};

} // namespace artwork
