// Bitmap loading from the embedded resources, reference counting, and the opaque, keyed and
// alpha block copies.
#include "gui/bitmap.h"

#include "bmp/bmp_codec.h"
#include "gui/draw_context.h"
#include "gui/resources.h"

#include <algorithm>
#include <new>
#include <utility>

Bitmap::Bitmap(int32_t resourceId) : resourceId(resourceId) {
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!findBitmapResource(resourceId, data, size)) return;
    PixelSurface* decoded = new (std::nothrow) PixelSurface();
    if (!decoded) return;
    if (!decodeBmpFile(data, size, *decoded)) {
        delete decoded;
        return;
    }
    image = decoded;
    width = decoded->width;
    height = decoded->height;
}

Bitmap::Bitmap(EditorFrame*, int32_t width, int32_t height)
    : width(std::max(width, 0)), height(std::max(height, 0)) {
#if TOOLKIT_NEWER
    if (this->width == 0 || this->height == 0) return;
    if (int64_t(this->width) * this->height > maxBitmapPixels) return;
    image = new (std::nothrow) PixelSurface(this->width, this->height, 0);
#endif
}

Bitmap::~Bitmap() {
    delete image;
}

void Bitmap::forget() {
    if (referenceCount <= 0) return;
    if (--referenceCount == 0) delete this;
}

uint32_t Bitmap::keyPixel() const {
#if TOOLKIT_NEWER
    return transparentColour.toPixel();
#else
    return TransparentColour.toPixel();
#endif
}

bool Bitmap::clip(DrawContext* context, const Rect& rect, const Point& offset, Span& span) const {
    if (!image || !context || !context->getSurface()) return false;
    const Rect limit = context->getEffectiveClip();
    // 64-bit so that no coordinate plus offset can wrap.
    const Point& shift = context->getOffset();
    const int64_t destLeft = int64_t(rect.left) + shift.h;
    const int64_t destTop = int64_t(rect.top) + shift.v;
    const int64_t destRight = destLeft + (int64_t(rect.right) - rect.left);
    const int64_t destBottom = destTop + (int64_t(rect.bottom) - rect.top);
    // Destination pixel x takes source pixel x - destLeft + offset.h.
    const int64_t toSourceH = int64_t(offset.h) - destLeft;
    const int64_t toSourceV = int64_t(offset.v) - destTop;

    const int64_t left = std::max({destLeft, int64_t(limit.left), -toSourceH});
    const int64_t top = std::max({destTop, int64_t(limit.top), -toSourceV});
    const int64_t right = std::min({destRight, int64_t(limit.right), image->width - toSourceH});
    const int64_t bottom = std::min({destBottom, int64_t(limit.bottom), image->height - toSourceV});
    if (left >= right || top >= bottom) return false;

    span.destLeft = int32_t(left);
    span.destTop = int32_t(top);
    span.sourceLeft = int32_t(left + toSourceH);
    span.sourceTop = int32_t(top + toSourceV);
    span.width = int32_t(right - left);
    span.height = int32_t(bottom - top);
    return true;
}

void Bitmap::draw(DrawContext* context, const Rect& rect, const Point& offset) {
    Span span;
    if (!clip(context, rect, offset, span)) return;
    PixelSurface& surface = *context->getSurface();
    for (int32_t y = 0; y < span.height; ++y) {
        const uint32_t* source = image->row(span.sourceTop + y) + span.sourceLeft;
        std::copy(source, source + span.width, surface.row(span.destTop + y) + span.destLeft);
    }
}

void Bitmap::buildMask(uint32_t key) {
    mask.resize(image->pixels.size());
    for (size_t i = 0; i < mask.size(); ++i)
        mask[i] = image->pixels[i] == key ? 1 : 0;
    hasMask = true;
}

void Bitmap::drawTransparent(DrawContext* context, const Rect& rect, const Point& offset) {
    Span span;
    if (!clip(context, rect, offset, span)) return;
    if (!hasMask) buildMask(keyPixel());
    PixelSurface& surface = *context->getSurface();
    for (int32_t y = 0; y < span.height; ++y) {
        const size_t sourceStart =
            size_t(span.sourceTop + y) * size_t(image->width) + size_t(span.sourceLeft);
        const uint32_t* source = image->pixels.data() + sourceStart;
        const uint8_t* transparent = mask.data() + sourceStart;
        uint32_t* destination = surface.row(span.destTop + y) + span.destLeft;
        for (int32_t x = 0; x < span.width; ++x)
            if (!transparent[x]) destination[x] = source[x];
    }
}

#if TOOLKIT_NEWER

void Bitmap::drawAlphaBlend(DrawContext* context, const Rect& rect, const Point& offset,
                            int32_t alpha) {
    Span span;
    if (!clip(context, rect, offset, span)) return;
    const uint32_t a = uint32_t(std::clamp(alpha, int32_t(0), int32_t(255)));
    const uint32_t keep = 255 - a;
    PixelSurface& surface = *context->getSurface();
    for (int32_t y = 0; y < span.height; ++y) {
        const uint32_t* source = image->row(span.sourceTop + y) + span.sourceLeft;
        uint32_t* destination = surface.row(span.destTop + y) + span.destLeft;
        for (int32_t x = 0; x < span.width; ++x) {
            uint32_t blended = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t s = (source[x] >> shift) & 0xFFu;
                const uint32_t d = (destination[x] >> shift) & 0xFFu;
                // source * a/255 + destination * (1 - a/255), rounded to nearest.
                blended |= ((s * a + d * keep + 127) / 255) << shift;
            }
            destination[x] = blended;
        }
    }
}

void Bitmap::setTransparentColour(const Colour& colour) {
    if (hasMask && !maskExplicit && !colour.sameRgb(transparentColour)) {
        hasMask = false;
        mask.clear();
    }
    transparentColour = colour;
}

void Bitmap::setTransparencyMask(DrawContext* context, const Point& origin) {
    if (!context || !context->getSurface() || width <= 0 || height <= 0) return;
    const PixelSurface& surface = *context->getSurface();
    const uint32_t key = keyPixel();
    const int64_t left = int64_t(origin.h) + context->getOffset().h;
    const int64_t top = int64_t(origin.v) + context->getOffset().v;
    mask.assign(size_t(width) * size_t(height), 0);
    for (int32_t y = 0; y < height; ++y) {
        const int64_t sy = top + y;
        if (sy < 0 || sy >= surface.height) continue;
        for (int32_t x = 0; x < width; ++x) {
            const int64_t sx = left + x;
            if (sx < 0 || sx >= surface.width) continue;
            if (surface.row(int32_t(sy))[sx] == key) mask[size_t(y) * size_t(width) + x] = 1;
        }
    }
    hasMask = true;
    maskExplicit = true;
}

#endif
