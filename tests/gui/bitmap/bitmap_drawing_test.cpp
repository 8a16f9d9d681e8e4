// Pixel results of opaque and transparent bitmap drawing: placement with the context's offset
// and the bitmap offset, film-strip frames, clipping, and the cached transparency mask.
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "tests/gui/bitmap/bitmap_test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class BitmapDrawing : public ::testing::Test {
  protected:
    void SetUp() override { pattern = new Bitmap(patternId); }
    void TearDown() override { pattern->forget(); }

    // Expects `surface` to equal `before` outside [left, right) x [top, bottom) and, inside,
    // the pattern pixel (x - left + sourceH, y - top + sourceV) or, where that is white and
    // `keyed` is set, the background.
    void expectBlock(const PixelSurface& surface, const PixelSurface& before, int32_t left,
                     int32_t top, int32_t right, int32_t bottom, int32_t sourceH, int32_t sourceV,
                     bool keyed) {
        for (int32_t y = 0; y < surface.height; ++y) {
            for (int32_t x = 0; x < surface.width; ++x) {
                uint32_t expected = before.at(x, y);
                if (x >= left && x < right && y >= top && y < bottom) {
                    const uint32_t source = patternPixel(x - left + sourceH, y - top + sourceV);
                    if (!keyed || source != white) expected = source;
                }
                ASSERT_EQ(surface.at(x, y), expected) << "at " << x << ", " << y;
            }
        }
    }

    Bitmap* pattern = nullptr;
};

TEST_F(BitmapDrawing, OpaqueCopyLandsAtTheShiftedRectangle) {
    PixelSurface surface = backgroundSurface(20, 12);
    const PixelSurface before = surface;
    DrawContext context(nullptr, &surface, nullptr);
    context.setOffset(Point(3, 2));
    // Destination (4, 5) + offset (3, 2) = (7, 7); 4 x 3 pixels from the bitmap's (1, 1).
    pattern->draw(&context, Rect(4, 5, 8, 8), Point(1, 1));
    expectBlock(surface, before, 7, 7, 11, 10, 1, 1, false);
}

TEST_F(BitmapDrawing, OpaqueCopyKeepsWhitePixelsAndIgnoresTheDrawMode) {
    PixelSurface surface = backgroundSurface(8, 6);
    const PixelSurface before = surface;
    DrawContext context(nullptr, &surface, nullptr);
    context.setDrawMode(DrawModeNotXor);
    pattern->draw(&context, Rect(0, 0, 6, 4));
    expectBlock(surface, before, 0, 0, 6, 4, 0, 0, false);
}

TEST_F(BitmapDrawing, OnlyTheOverlapWithTheBitmapAndTheClipIsDrawn) {
    {
        // The rectangle reaches past the bitmap's right and bottom edges.
        PixelSurface surface = backgroundSurface(20, 12);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        pattern->draw(&context, Rect(2, 2, 14, 10), Point(3, 2));
        expectBlock(surface, before, 2, 2, 5, 4, 3, 2, false);
    }
    {
        // A negative bitmap offset: the part before the bitmap's origin stays untouched.
        PixelSurface surface = backgroundSurface(20, 12);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        pattern->draw(&context, Rect(0, 0, 6, 4), Point(-2, -1));
        expectBlock(surface, before, 2, 1, 6, 4, 0, 0, false);
    }
    {
        // The clip is in surface coordinates and is not shifted by the offset.
        PixelSurface surface = backgroundSurface(20, 12);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        context.setClipRect(Rect(3, 0, 5, 20));
        context.setOffset(Point(1, 0));
        pattern->draw(&context, Rect(0, 0, 6, 4));
        expectBlock(surface, before, 3, 0, 5, 4, 2, 0, false);
    }
    {
        // Partly and wholly off the surface.
        PixelSurface surface = backgroundSurface(4, 3);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        pattern->draw(&context, Rect(-3, -2, 3, 2));
        expectBlock(surface, before, 0, 0, 3, 2, 3, 2, false);
        const PixelSurface drawn = surface;
        pattern->draw(&context, Rect(10, 10, 16, 14));
        pattern->drawTransparent(&context, Rect(-10, -10, -4, -6));
        EXPECT_EQ(surface.pixels, drawn.pixels);
    }
}

TEST_F(BitmapDrawing, ExtremeCoordinatesDrawNothingAndDoNotWrap) {
    PixelSurface surface = backgroundSurface(8, 8);
    const PixelSurface before = surface;
    DrawContext context(nullptr, &surface, nullptr);
    context.setOffset(Point(INT_MAX, INT_MAX));
    pattern->draw(&context, Rect(INT_MAX, INT_MAX, INT_MIN, INT_MIN));
    pattern->drawTransparent(&context, Rect(10, 10, 20, 20), Point(INT_MIN, INT_MAX));
    context.setOffset(Point(INT_MIN, 0));
    pattern->draw(&context, Rect(INT_MIN, 0, INT_MAX, 8), Point(INT_MAX, 0));
    // Inverted and empty rectangles.
    context.setOffset(Point());
    pattern->draw(&context, Rect(5, 5, 1, 1));
    pattern->drawTransparent(&context, Rect(2, 2, 2, 6));
    EXPECT_EQ(surface.pixels, before.pixels);
    // Null context or surface.
    pattern->draw(nullptr, Rect(0, 0, 6, 4));
    DrawContext noSurface(nullptr, nullptr, nullptr);
    pattern->drawTransparent(&noSurface, Rect(0, 0, 6, 4));
}

TEST_F(BitmapDrawing, FilmStripFrameTouchesOnlyItsRectangle) {
    Bitmap* strip = new Bitmap(112);
    ASSERT_TRUE(strip->isLoaded());
    const PixelSurface& image = *strip->getImage();
    for (int32_t frame : {0, 1, 64, 127}) {
        PixelSurface surface = backgroundSurface(100, 60);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        strip->draw(&context, Rect(27, 20, 59, 50), Point(0, 30 * frame));
        for (int32_t y = 0; y < 60; ++y) {
            for (int32_t x = 0; x < 100; ++x) {
                const bool inside = x >= 27 && x < 59 && y >= 20 && y < 50;
                const uint32_t expected =
                    inside ? image.at(x - 27, y - 20 + 30 * frame) : before.at(x, y);
                ASSERT_EQ(surface.at(x, y), expected) << "frame " << frame;
            }
        }
    }
    strip->forget();
}

TEST_F(BitmapDrawing, TransparentDrawShowsTheDestinationWherePureWhite) {
    PixelSurface surface = backgroundSurface(20, 12);
    const PixelSurface before = surface;
    DrawContext context(nullptr, &surface, nullptr);
    context.setOffset(Point(2, 1));
    pattern->drawTransparent(&context, Rect(3, 3, 8, 6), Point(1, 1));
    // The near-white (254, 255, 255) pixel is not the key and is copied.
    expectBlock(surface, before, 5, 4, 10, 7, 1, 1, true);

    PixelSurface whole = backgroundSurface(6, 4);
    const PixelSurface wholeBefore = whole;
    DrawContext wholeContext(nullptr, &whole, nullptr);
    pattern->drawTransparent(&wholeContext, Rect(0, 0, 6, 4));
    expectBlock(whole, wholeBefore, 0, 0, 6, 4, 0, 0, true);
    EXPECT_EQ(whole.at(1, 0), 0xFEFFFFu);
    EXPECT_EQ(whole.at(0, 0), wholeBefore.at(0, 0));
}

TEST_F(BitmapDrawing, TransparentDrawLeavesTheBitmapsPixelsAndCachesItsMask) {
    const PixelSurface original = *pattern->getImage();
    EXPECT_EQ(pattern->getMask(), nullptr);

    PixelSurface surface = backgroundSurface(10, 10);
    DrawContext context(nullptr, &surface, nullptr);
    pattern->draw(&context, Rect(0, 0, 6, 4));
    EXPECT_EQ(pattern->getMask(), nullptr) << "an opaque draw needs no mask";

    pattern->drawTransparent(&context, Rect(0, 0, 6, 4));
    const std::vector<uint8_t>* mask = pattern->getMask();
    ASSERT_NE(mask, nullptr);
    ASSERT_EQ(mask->size(), size_t(patternWidth * patternHeight));
    for (int32_t y = 0; y < patternHeight; ++y)
        for (int32_t x = 0; x < patternWidth; ++x)
            EXPECT_EQ((*mask)[size_t(y * patternWidth + x)], patternPixel(x, y) == white ? 1 : 0);

    const uint8_t* maskData = mask->data();
    pattern->drawTransparent(&context, Rect(2, 2, 8, 6));
    EXPECT_EQ(pattern->getMask()->data(), maskData) << "later draws reuse the same mask";
    EXPECT_EQ(pattern->getImage()->pixels, original.pixels);
}

} // namespace
