// OffscreenContext: a DrawContext over a surface of its own, for composing views without
// flicker and for caching backgrounds; its pixels are copied to another context in one block.
//
// State: the owned surface, its width and height, the background bitmap it started from (not
// owned), the background colour, and a bitmap reference released at destruction. GUI thread
// only, like every context.
#pragma once

#include "gui/draw_context.h"
#include "gui/toolkit_variant.h"

class Bitmap;

class OffscreenContext : public DrawContext {
  public:
    // A surface the size of backgroundBitmap (20 x 20 without one) showing that bitmap, or
    // black inside the fillRect area without one. The frame is taken from context (which may
    // be null).
    OffscreenContext(DrawContext* context, Bitmap* backgroundBitmap);
    // A width x height surface entirely in backgroundColour.
    OffscreenContext(ContextHost* frame, int32_t width, int32_t height,
                     const Colour& backgroundColour);
    ~OffscreenContext() override;

    // Copies a block of destRect's size from this surface at sourceOffset (not shifted) to
    // destination at destRect's top-left shifted by the destination's offset.
    void copyTo(DrawContext* destination, const Rect& destRect, const Point& sourceOffset);
#if TOOLKIT_NEWER
    // Copies sourceRect (shifted by the source's offset) of source into this surface at
    // destPoint (not shifted).
    void copyFrom(DrawContext* source, const Rect& sourceRect, const Point& destPoint);
#endif

    int32_t getWidth() const {
        return width;
    }
    int32_t getHeight() const {
        return height;
    }
    Bitmap* getBackgroundBitmap() const {
        return backgroundBitmap;
    }
    Colour getBackgroundColour() const {
        return backgroundColour;
    }
    // Hands the context a bitmap reference that it forgets when it is destroyed.
    void setBitmap(Bitmap* reference) {
        bitmap = reference;
    }

    // Largest width or height a surface gets; larger requests are cut to it.
    static constexpr int32_t MaxSide = 8192;

  protected:
    PixelSurface ownSurface;
    bool ownsSurface = true;
    Bitmap* bitmap = nullptr;
    Bitmap* backgroundBitmap = nullptr;
    int32_t height = 0;
    int32_t width = 0;
    Colour backgroundColour = BlackColour;
};
