// OffscreenContext: a context over a surface of its own, started from a background bitmap or
// a colour, and the block copies between it and other contexts.
#include "gui/offscreen_context.h"

#include "gui/bitmap.h"

#include <algorithm>
#include <climits>

namespace {

int32_t side(int32_t requested) {
    return std::clamp<int32_t>(requested, 0, OffscreenContext::MaxSide);
}

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

OffscreenContext::OffscreenContext(DrawContext* context, Bitmap* background)
    : DrawContext(context ? context->getFrame() : nullptr, nullptr, nullptr),
      backgroundBitmap(background) {
    width = side(background ? background->getWidth() : 20);
    height = side(background ? background->getHeight() : 20);
    ownSurface = PixelSurface(width, height, BlackColour.toPixel());
    surface = &ownSurface;
    // The new surface starts with the pen, brush and colours the drawing state names, so that
    // what the getters report is what the context draws with.
    adoptSurface();
    if (background) {
        background->draw(this, Rect(0, 0, width, height), Point(0, 0));
    } else {
        setFillColour(BlackColour);
        fillRect(Rect(0, 0, width, height));
    }
}

OffscreenContext::OffscreenContext(ContextHost* frame, int32_t requestedWidth,
                                   int32_t requestedHeight, const Colour& background)
    : DrawContext(frame, nullptr, nullptr), height(side(requestedHeight)),
      width(side(requestedWidth)), backgroundColour(background) {
    ownSurface = PixelSurface(width, height, BlackColour.toPixel());
    surface = &ownSurface;
    adoptSurface();
    // fillRect leaves the top row and left column; the outline covers them.
    setFillColour(background);
    setFrameColour(background);
    fillRect(Rect(0, 0, width, height));
    drawRect(Rect(0, 0, width, height));
}

OffscreenContext::~OffscreenContext() {
    if (bitmap) bitmap->forget();
}

void OffscreenContext::copyTo(DrawContext* destination, const Rect& destRect,
                              const Point& sourceOffset) {
    if (!destination) return;
    const Point& shift = destination->getOffset();
    const int64_t left = static_cast<int64_t>(destRect.left) + shift.h;
    const int64_t top = static_cast<int64_t>(destRect.top) + shift.v;
    const int64_t blockWidth = static_cast<int64_t>(destRect.right) - destRect.left;
    const int64_t blockHeight = static_cast<int64_t>(destRect.bottom) - destRect.top;
    destination->copyPixels(ownSurface, sourceOffset,
                            Rect(saturate(left), saturate(top), saturate(left + blockWidth),
                                 saturate(top + blockHeight)));
}

#if TOOLKIT_NEWER
void OffscreenContext::copyFrom(DrawContext* source, const Rect& sourceRect,
                                const Point& destPoint) {
    if (!source || !source->getSurface()) return;
    const Point& shift = source->getOffset();
    const Point from(saturate(static_cast<int64_t>(sourceRect.left) + shift.h),
                     saturate(static_cast<int64_t>(sourceRect.top) + shift.v));
    const int64_t blockWidth = static_cast<int64_t>(sourceRect.right) - sourceRect.left;
    const int64_t blockHeight = static_cast<int64_t>(sourceRect.bottom) - sourceRect.top;
    copyPixels(*source->getSurface(), from,
               Rect(destPoint.h, destPoint.v, saturate(destPoint.h + blockWidth),
                    saturate(destPoint.v + blockHeight)));
}
#endif
