// The newer variant's additions: constant-alpha drawing, a bitmap's own key colour and masks
// taken from what a context shows.
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "tests/gui/bitmap/bitmap_test_support.h"

#include <gtest/gtest.h>

#if TOOLKIT_NEWER

namespace {

uint32_t blend(uint32_t source, uint32_t destination, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t s = (source >> shift) & 0xFF, d = (destination >> shift) & 0xFF;
        out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

TEST(BitmapAlpha, ConstantAlphaBlendsOverTheDestination) {
    Bitmap* pattern = new Bitmap(patternId);
    for (int32_t alpha : {0, 1, 128, 254, 255, 300, -20}) {
        const uint32_t effective = uint32_t(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
        PixelSurface surface = backgroundSurface(10, 8);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        context.setOffset(Point(1, 2));
        pattern->drawAlphaBlend(&context, Rect(1, 1, 5, 4), Point(2, 1), alpha);
        for (int32_t y = 0; y < 8; ++y) {
            for (int32_t x = 0; x < 10; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 3 && y < 6;
                const uint32_t expected =
                    inside ? blend(patternPixel(x - 2 + 2, y - 3 + 1), before.at(x, y), effective)
                           : before.at(x, y);
                ASSERT_EQ(surface.at(x, y), expected)
                    << "alpha " << alpha << " at " << x << ", " << y;
            }
        }
    }
    pattern->forget();
}

TEST(BitmapKeyColour, OwnKeyColourReplacesWhiteAndRebuildsTheMask) {
    Bitmap* pattern = new Bitmap(patternId);
    EXPECT_EQ(pattern->getTransparentColour(), TransparentColour);
    const uint32_t keyPixel = patternPixel(2, 0); // (90, 5, 180)

    PixelSurface surface = backgroundSurface(6, 4);
    DrawContext context(nullptr, &surface, nullptr);
    pattern->drawTransparent(&context, Rect(0, 0, 6, 4)); // mask for white
    ASSERT_NE(pattern->getMask(), nullptr);

    // Alpha does not take part in the comparison.
    pattern->setTransparentColour(Colour{90, 5, 180, 77});
    surface = backgroundSurface(6, 4);
    const PixelSurface before = surface;
    pattern->drawTransparent(&context, Rect(0, 0, 6, 4));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t source = patternPixel(x, y);
            EXPECT_EQ(surface.at(x, y), source == keyPixel ? before.at(x, y) : source);
        }
    }
    pattern->forget();
}

TEST(BitmapKeyColour, TransparencyMaskComesFromTheContextAndOutlivesKeyChanges) {
    Bitmap* pattern = new Bitmap(patternId);
    // A context showing white in a 2 x 2 block at (11, 21) of an otherwise grey surface; the
    // mask is read at origin (10, 20) shifted by the context's offset (0, 0).
    PixelSurface shown(30, 30, 0x808080u);
    for (int32_t y = 21; y < 23; ++y)
        for (int32_t x = 11; x < 13; ++x)
            shown.row(y)[x] = white;
    DrawContext source(nullptr, &shown, nullptr);
    pattern->setTransparencyMask(&source, Point(10, 20));
    pattern->setTransparentColour(Colour{1, 2, 3, 0}); // keeps the explicit mask

    PixelSurface surface = backgroundSurface(6, 4);
    const PixelSurface before = surface;
    DrawContext context(nullptr, &surface, nullptr);
    pattern->drawTransparent(&context, Rect(0, 0, 6, 4));
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const bool transparent = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(surface.at(x, y), transparent ? before.at(x, y) : patternPixel(x, y))
                << x << ", " << y;
        }
    }

    // A mask taken partly outside the surface counts those pixels as opaque.
    pattern->setTransparentColour(TransparentColour);
    pattern->setTransparencyMask(&source, Point(-3, -1));
    for (uint8_t m : *pattern->getMask())
        EXPECT_EQ(m, 0);
    pattern->forget();
}

} // namespace

#endif
