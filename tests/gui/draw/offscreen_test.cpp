// Offscreen contexts: their starting pixels, block copies to and from other contexts (offset
// rules, clipping, overlap), and the newer variant's getPoint and floodFill.
#include "gui/bitmap.h"
#include "gui/offscreen_context.h"
#include "tests/gui/draw/surface_probe.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(Offscreen, WithoutBackgroundItIsTwentyByTwentyAndBlack) {
    PixelSurface window(50, 50, kBackground);
    DrawContext context(nullptr, &window, nullptr);
    OffscreenContext offscreen(&context, nullptr);
    EXPECT_EQ(offscreen.getWidth(), 20);
    EXPECT_EQ(offscreen.getHeight(), 20);
    ASSERT_NE(offscreen.getSurface(), nullptr);
    EXPECT_EQ(offscreen.getSurface()->width, 20);
    for (int32_t y = 1; y < 20; ++y)
        for (int32_t x = 1; x < 20; ++x)
            ASSERT_EQ(offscreen.getSurface()->at(x, y), 0u);
    EXPECT_EQ(offscreen.getFillColour(), BlackColour);
    // It draws with the pen its state names (white).
    offscreen.moveTo(Point(0, 5));
    offscreen.lineTo(Point(5, 5));
    EXPECT_EQ(offscreen.getSurface()->at(2, 5), WhiteColour.toPixel());

    OffscreenContext loose(nullptr, nullptr);
    EXPECT_EQ(loose.getFrame(), nullptr);
    EXPECT_EQ(loose.getWidth(), 20);
}

TEST(Offscreen, AMissingBitmapGivesAnEmptySurface) {
    Bitmap* missing = new Bitmap(31999);
    OffscreenContext offscreen(nullptr, missing);
    EXPECT_EQ(offscreen.getWidth(), 0);
    EXPECT_EQ(offscreen.getHeight(), 0);
    offscreen.fillRect(Rect(0, 0, 10, 10));
    offscreen.drawString("x", Rect(0, 0, 10, 10));
    EXPECT_EQ(offscreen.getBackgroundBitmap(), missing);
    missing->forget();
}

TEST(Offscreen, ColourConstructorCoversTheWholeSurface) {
    OffscreenContext offscreen(nullptr, 33, 17, CyanColour);
    EXPECT_EQ(offscreen.getBackgroundColour(), CyanColour);
    const PixelSurface& s = *offscreen.getSurface();
    EXPECT_EQ(s.width, 33);
    EXPECT_EQ(s.height, 17);
    for (uint32_t p : s.pixels)
        ASSERT_EQ(p, CyanColour.toPixel());
    EXPECT_EQ(offscreen.getFillColour(), CyanColour);
    EXPECT_EQ(offscreen.getFrameColour(), CyanColour);
}

TEST(Offscreen, HostileSizesAreBounded) {
    OffscreenContext negative(nullptr, -5, -100, RedColour);
    EXPECT_EQ(negative.getWidth(), 0);
    EXPECT_EQ(negative.getSurface()->pixels.size(), 0u);
    negative.fillRect(Rect(0, 0, 10, 10));
    OffscreenContext huge(nullptr, INT_MAX, 1, RedColour);
    EXPECT_EQ(huge.getWidth(), OffscreenContext::MaxSide);
}

// An offscreen with a distinct colour in every pixel.
void paintGradient(OffscreenContext& offscreen) {
    PixelSurface& s = *offscreen.getSurface();
    for (int32_t y = 0; y < s.height; ++y)
        for (int32_t x = 0; x < s.width; ++x)
            s.row(y)[x] = 0x00010000u * static_cast<uint32_t>(x + 1) + static_cast<uint32_t>(y + 1);
}

TEST(Offscreen, CopyToShiftsTheDestinationOnlyByItsOwnOffset) {
    OffscreenContext offscreen(nullptr, 30, 30, BlackColour);
    paintGradient(offscreen);
    offscreen.setOffset(Point(100, 100)); // the source's offset plays no part
    PixelSurface window(64, 64, kBackground);
    DrawContext destination(nullptr, &window, nullptr);
    destination.setOffset(Point(3, 4));
    offscreen.copyTo(&destination, Rect(10, 20, 15, 23), Point(7, 2));
    const Changes changes = changedPixels(window);
    EXPECT_EQ(changes.count, 15);
    EXPECT_EQ(changes.box, Rect(13, 24, 17, 26));
    EXPECT_EQ(window.at(13, 24), offscreen.getSurface()->at(7, 2));
    EXPECT_EQ(window.at(17, 26), offscreen.getSurface()->at(11, 4));
}

TEST(Offscreen, CopyToIsLimitedByTheDestinationClipAndTheSource) {
    OffscreenContext offscreen(nullptr, 10, 10, RedColour);
    PixelSurface window(64, 64, kBackground);
    DrawContext destination(nullptr, &window, nullptr);
    destination.setClipRect(Rect(0, 0, 20, 64));
    // A block larger than the source: only the source's 10 x 10 pixels arrive, and only the
    // columns inside the clip.
    offscreen.copyTo(&destination, Rect(15, 0, 45, 30), Point(0, 0));
    EXPECT_EQ(changedPixels(window).box, Rect(15, 0, 19, 9));
    // Source offsets outside the source copy nothing.
    PixelSurface other(64, 64, kBackground);
    DrawContext second(nullptr, &other, nullptr);
    offscreen.copyTo(&second, Rect(0, 0, 10, 10), Point(-10, 0));
    offscreen.copyTo(&second, Rect(0, 0, 10, 10), Point(INT_MAX, INT_MAX));
    offscreen.copyTo(&second, Rect(10, 10, 0, 0), Point(0, 0));
    offscreen.copyTo(nullptr, Rect(0, 0, 10, 10), Point(0, 0));
    EXPECT_EQ(changedPixels(other).count, 0);
    // A partly outside source offset copies the part that exists.
    offscreen.copyTo(&second, Rect(0, 0, 10, 10), Point(-4, -6));
    EXPECT_EQ(changedPixels(other).box, Rect(4, 6, 9, 9));
}

TEST(Offscreen, CopyToItselfHandlesOverlap) {
    OffscreenContext offscreen(nullptr, 20, 20, BlackColour);
    paintGradient(offscreen);
    const PixelSurface before = *offscreen.getSurface();
    offscreen.copyTo(&offscreen, Rect(2, 3, 14, 15), Point(0, 0));
    const PixelSurface& after = *offscreen.getSurface();
    for (int32_t y = 3; y < 15; ++y)
        for (int32_t x = 2; x < 14; ++x)
            ASSERT_EQ(after.at(x, y), before.at(x - 2, y - 3));
}

#if TOOLKIT_NEWER
TEST(Offscreen, CopyFromShiftsTheSourceOnly) {
    PixelSurface window(64, 64, kBackground);
    for (int32_t i = 0; i < 64 * 64; ++i)
        window.pixels[i] = static_cast<uint32_t>(i);
    DrawContext source(nullptr, &window, nullptr);
    source.setOffset(Point(5, 6));
    OffscreenContext offscreen(nullptr, 20, 20, BlackColour);
    offscreen.setOffset(Point(9, 9)); // not applied to destPoint
    offscreen.copyFrom(&source, Rect(10, 10, 14, 13), Point(2, 1));
    const PixelSurface& s = *offscreen.getSurface();
    const Changes changes = changedPixels(s, 0);
    EXPECT_EQ(changes.box, Rect(2, 1, 5, 3));
    EXPECT_EQ(s.at(2, 1), window.at(15, 16));
    EXPECT_EQ(s.at(5, 3), window.at(18, 18));
    // And the offscreen's own clip limits it.
    offscreen.setClipRect(Rect(0, 0, 3, 3));
    offscreen.copyFrom(&source, Rect(0, 0, 20, 20), Point(0, 0));
    EXPECT_EQ(s.at(2, 2), window.at(7, 8));
    EXPECT_EQ(s.at(4, 4), 0u);
    offscreen.copyFrom(nullptr, Rect(0, 0, 20, 20), Point(0, 0));
}

TEST(Offscreen, StartsFromABackgroundBitmap) {
    Bitmap* background = new Bitmap(nullptr, 12, 7);
    PixelSurface* image = background->getImage();
    ASSERT_NE(image, nullptr);
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 12; ++x)
            image->row(y)[x] = 0x00100000u * x + y;
    OffscreenContext offscreen(nullptr, background);
    EXPECT_EQ(offscreen.getWidth(), 12);
    EXPECT_EQ(offscreen.getHeight(), 7);
    EXPECT_EQ(offscreen.getSurface()->pixels, image->pixels);
    background->forget();
}

TEST(Offscreen, ReleasesTheBitmapItWasHanded) {
    Bitmap* held = new Bitmap(nullptr, 4, 4);
    held->remember();
    {
        OffscreenContext offscreen(nullptr, 4, 4, BlackColour);
        offscreen.setBitmap(held);
    }
    EXPECT_EQ(held->getReferenceCount(), 1);
    held->forget();
}

TEST(Offscreen, GetPointReadsTheShiftedPixel) {
    OffscreenContext offscreen(nullptr, 10, 10, Colour{1, 2, 3, 0});
    offscreen.drawPoint(Point(4, 5), Colour{9, 8, 7, 55});
    offscreen.setOffset(Point(2, 3));
    EXPECT_EQ(offscreen.getPoint(Point(2, 2)), (Colour{9, 8, 7, 0}));
    EXPECT_EQ(offscreen.getPoint(Point(0, 0)), (Colour{1, 2, 3, 0}));
    EXPECT_EQ(offscreen.getPoint(Point(20, 0)), (Colour{255, 255, 255, 0}));
    offscreen.setClipRect(Rect(0, 0, 3, 3));
    EXPECT_EQ(offscreen.getPoint(Point(2, 2)), (Colour{255, 255, 255, 0}));
}

TEST(Offscreen, FloodFillReplacesTheConnectedAreaOfOneColour) {
    OffscreenContext offscreen(nullptr, 30, 30, BlackColour);
    offscreen.setFrameColour(WhiteColour);
    offscreen.drawRect(Rect(5, 5, 20, 20));
    offscreen.drawPoint(Point(12, 12), RedColour); // an island inside
    offscreen.setFillColour(GreenColour);
    offscreen.setOffset(Point(2, 2));
    offscreen.floodFill(Point(8, 8)); // (10, 10) on the surface
    const PixelSurface& s = *offscreen.getSurface();
    int32_t green = 0;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 30; ++x) {
            const bool inside = x > 5 && x < 20 && y > 5 && y < 20 && !(x == 12 && y == 12);
            if (inside) ++green;
            ASSERT_EQ(s.at(x, y) == GreenColour.toPixel(), inside) << x << "," << y;
        }
    EXPECT_EQ(green, 14 * 14 - 1);
    EXPECT_EQ(s.at(12, 12), RedColour.toPixel());
}

TEST(Offscreen, FloodFillIsFourConnectedAndClipped) {
    OffscreenContext offscreen(nullptr, 20, 20, BlackColour);
    // A diagonal white wall: 4-connected filling does not pass between its pixels.
    for (int32_t i = 0; i < 20; ++i)
        offscreen.drawPoint(Point(i, i), WhiteColour);
    offscreen.setFillColour(BlueColour);
    offscreen.floodFill(Point(15, 2));
    const PixelSurface& s = *offscreen.getSurface();
    EXPECT_EQ(s.at(19, 0), BlueColour.toPixel());
    EXPECT_EQ(s.at(0, 19), BlackColour.toPixel());

    offscreen.setFillColour(RedColour);
    offscreen.setClipRect(Rect(0, 10, 20, 20));
    offscreen.floodFill(Point(2, 15));
    EXPECT_EQ(s.at(0, 19), RedColour.toPixel());
    EXPECT_EQ(s.at(0, 5), BlackColour.toPixel()); // outside the clip
    // A seed outside the clip, or filling with the colour already there, changes nothing.
    const PixelSurface before = s;
    offscreen.floodFill(Point(15, 2));
    offscreen.floodFill(Point(2, 15));
    offscreen.floodFill(Point(-5, 500));
    EXPECT_EQ(s.pixels, before.pixels);
}
#endif

} // namespace
