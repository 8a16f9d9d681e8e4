// Colour helpers and image copying for the artwork generator.
#include "tools/artwork/image.h"

namespace artwork {

Rgb mix(const Rgb& a, const Rgb& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb hex(uint32_t rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f};
}

void Image::paste(const Image& source, int x, int y) {
    for (int sy = 0; sy < source.height; ++sy)
        for (int sx = 0; sx < source.width; ++sx)
            if (contains(x + sx, y + sy)) at(x + sx, y + sy) = source.at(sx, sy);
}

Image Image::crop(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int cy = 0; cy < h; ++cy)
        for (int cx = 0; cx < w; ++cx)
            if (contains(x + cx, y + cy)) out.at(cx, cy) = at(x + cx, y + cy);
    return out;
}

} // namespace artwork
