// Bitmap: an image of an editor (panel, knob film strip, button faces), loaded by resource
// number from the bitmaps embedded in this library, shared through a reference count, and
// drawn into a DrawContext opaquely, with a key colour left out, or (newer variant) blended
// with a constant alpha.
//
// State: resource number, reference count (starts at 1; the last forget destroys the
// object), width and height (0 x 0 when nothing was loaded), the decoded pixels (the image;
// absent when the number is not embedded), the transparency mask (one byte per pixel, 1 where
// the image shows the key colour), built on the first transparent draw and kept, and in the
// newer variant the key colour and whether the mask was set explicitly.
//
// Threads: created, drawn and released on the host's GUI thread only; the count is a plain
// integer. Objects live on the heap (`new Bitmap(...)`) and end through forget(), never delete.
#pragma once

#include "gui/colour.h"
#include "gui/geometry.h"
#include "gui/platform/pixel_surface.h"
#include "gui/toolkit_variant.h"

#include <cstdint>
#include <vector>

class DrawContext;
class EditorFrame;

class Bitmap {
  public:
    // Loads bitmap resource `resourceId` (only its low 16 bits count) from this library's
    // embedded bitmaps. A number the library does not hold gives a 0 x 0 bitmap that draws
    // nothing.
    explicit Bitmap(int32_t resourceId);
    // An empty bitmap of the given size: no image in the older variant; in the newer one a
    // black image of that size (absent when the size is not positive or too large).
    Bitmap(EditorFrame* frame, int32_t width, int32_t height);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int32_t getResourceId() const { return resourceId; }
    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    bool isLoaded() const { return image != nullptr; }

    void remember() { ++referenceCount; }
    // Drops one reference; the one that takes the count from 1 to 0 destroys the bitmap. At a
    // count of 0 or less nothing happens.
    void forget();
    int32_t getReferenceCount() const { return referenceCount; }

    // In each drawing operation `rect` is the destination in the context's coordinates
    // (shifted by the context's offset) and `offset` the point of the bitmap that lands on its
    // top-left corner; the copy is rect's size. Pixels outside the context's clip, outside its
    // surface or whose source lies outside the bitmap are left alone.

    // Copies the block as it is.
    void draw(DrawContext* context, const Rect& rect, const Point& offset = Point());
    // Copies the block leaving the destination where the bitmap shows the key colour
    // (TransparentColour; the bitmap's own key in the newer variant). The bitmap's pixels are
    // never changed.
    void drawTransparent(DrawContext* context, const Rect& rect, const Point& offset = Point());

#if TOOLKIT_NEWER
    // Blends the block over the destination with constant opacity alpha (0 leaves the
    // destination, 255 copies; values outside 0..255 are clamped).
    void drawAlphaBlend(DrawContext* context, const Rect& rect, const Point& offset, int32_t alpha);
    // Sets the key colour of drawTransparent (red, green and blue count). A mask that was
    // built from the image for another key is dropped and rebuilt at the next transparent
    // draw; a mask given by setTransparencyMask stays.
    void setTransparentColour(const Colour& colour);
    Colour getTransparentColour() const {
        return transparentColour;
    }
    // Replaces the mask by one made from what `context` shows in the bitmap-sized rectangle at
    // `origin` (shifted by the context's offset): transparent where that shows the key
    // colour. Pixels outside the context's surface count as opaque.
    void setTransparencyMask(DrawContext* context, const Point& origin);
#endif

    // The decoded pixels (null when nothing was loaded). In the newer variant views may draw
    // into an empty bitmap's image through getImage().
    const PixelSurface* getImage() const {
        return image;
    }
    PixelSurface* getImage() {
        return image;
    }
    // The cached mask, for inspection: null until a transparent draw or setTransparencyMask
    // made it.
    const std::vector<uint8_t>* getMask() const {
        return hasMask ? &mask : nullptr;
    }

  private:
    ~Bitmap();

    // Area of the destination to touch: destination left/top in surface coordinates and the
    // source point of its first pixel, clipped. Answers false when nothing is left to draw.
    struct Span {
        int32_t destLeft, destTop, sourceLeft, sourceTop, width, height;
    };
    bool clip(DrawContext* context, const Rect& rect, const Point& offset, Span& span) const;
    void buildMask(uint32_t key);
    uint32_t keyPixel() const;

    int32_t resourceId = 0;
    int32_t referenceCount = 1;
    int32_t width = 0;
    int32_t height = 0;
#if TOOLKIT_NEWER
    Colour transparentColour = TransparentColour;
    bool maskExplicit = false;
#endif
    PixelSurface* image = nullptr;
    std::vector<uint8_t> mask;
    bool hasMask = false;
};
