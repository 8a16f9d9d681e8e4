// Bitmaps by resource number from the embedded table, the empty bitmap of a missing number,
// the empty-bitmap constructor, and reference counting.
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/platform/common/embedded_resources.h"
#include "tests/gui/bitmap/bitmap_test_support.h"

#include <gtest/gtest.h>

#include <malloc.h>

namespace {

size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(BitmapLoading, LoadsEmbeddedBitmapsByNumber) {
    Bitmap* background = new Bitmap(110);
    EXPECT_TRUE(background->isLoaded());
    EXPECT_EQ(background->getResourceId(), 110);
    EXPECT_EQ(background->getWidth(), 432);
    EXPECT_EQ(background->getHeight(), 89);
    background->forget();

    Bitmap* strip = new Bitmap(112);
    EXPECT_EQ(strip->getWidth(), 32);
    EXPECT_EQ(strip->getHeight(), 3840);
    strip->forget();
}

TEST(BitmapLoading, DecodesEveryPixelOfAnEightBitResource) {
    Bitmap* pattern = new Bitmap(patternId);
    ASSERT_TRUE(pattern->isLoaded());
    ASSERT_EQ(pattern->getWidth(), patternWidth);
    ASSERT_EQ(pattern->getHeight(), patternHeight);
    const PixelSurface* image = pattern->getImage();
    for (int32_t y = 0; y < patternHeight; ++y)
        for (int32_t x = 0; x < patternWidth; ++x)
            EXPECT_EQ(image->at(x, y), patternPixel(x, y)) << "at " << x << ", " << y;
    pattern->forget();
}

TEST(BitmapLoading, OnlyTheLowSixteenBitsOfTheNumberCount) {
    Bitmap* bitmap = new Bitmap(110 + 0x10000);
    EXPECT_TRUE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 432);
    EXPECT_EQ(bitmap->getResourceId(), 110 + 0x10000);
    bitmap->forget();
}

TEST(BitmapLoading, MissingNumberGivesAnEmptyBitmapThatDrawsNothing) {
    for (int32_t id : {0, 111, 65535, -1}) {
        Bitmap* missing = new Bitmap(id);
        EXPECT_FALSE(missing->isLoaded());
        EXPECT_EQ(missing->getWidth(), 0);
        EXPECT_EQ(missing->getHeight(), 0);

        PixelSurface surface = backgroundSurface(16, 16);
        const PixelSurface before = surface;
        DrawContext context(nullptr, &surface, nullptr);
        missing->draw(&context, Rect(0, 0, 16, 16));
        missing->drawTransparent(&context, Rect(0, 0, 16, 16));
#if TOOLKIT_NEWER
        missing->drawAlphaBlend(&context, Rect(0, 0, 16, 16), Point(), 255);
#endif
        EXPECT_EQ(surface.pixels, before.pixels);
        EXPECT_EQ(missing->getMask(), nullptr);
        missing->forget();
    }
}

TEST(BitmapLoading, ResourceLookupComparesSixteenBitNumbers) {
    static const unsigned char bytes[] = {1, 2, 3};
    static const size_t byteCount = sizeof bytes;
    static const EmbeddedResource entries[] = {{7, bytes, &byteCount}, {9, nullptr, &byteCount}};
    const ResourceTable table{entries, 2};
    const unsigned char* data = nullptr;
    size_t size = 0;

    EXPECT_TRUE(findResource(&table, 7 + 0x30000, data, size));
    EXPECT_EQ(data, bytes);
    EXPECT_EQ(size, 3u);
    // A broken entry and an absent number are misses that leave the outputs alone.
    data = nullptr;
    EXPECT_FALSE(findResource(&table, 9, data, size));
    EXPECT_FALSE(findResource(&table, 8, data, size));
    EXPECT_FALSE(findResource(nullptr, 7, data, size));
    EXPECT_EQ(data, nullptr);
}

TEST(BitmapLoading, EmptyBitmapOfAGivenSize) {
    Bitmap* empty = new Bitmap(nullptr, 40, 20);
    EXPECT_EQ(empty->getWidth(), 40);
    EXPECT_EQ(empty->getHeight(), 20);
#if TOOLKIT_NEWER
    // The newer variant makes a black image to draw into.
    ASSERT_TRUE(empty->isLoaded());
    EXPECT_EQ(empty->getImage()->width, 40);
    EXPECT_EQ(empty->getImage()->at(39, 19), 0u);
#else
    EXPECT_FALSE(empty->isLoaded());
#endif
    empty->forget();

    Bitmap* negative = new Bitmap(nullptr, -5, 10);
    EXPECT_EQ(negative->getWidth(), 0);
    EXPECT_FALSE(negative->isLoaded());
    negative->forget();

    Bitmap* huge = new Bitmap(nullptr, 1 << 20, 1 << 20);
    EXPECT_FALSE(huge->isLoaded());
    huge->forget();
}

TEST(BitmapReferences, CountStartsAtOneAndTheLastForgetFreesTheImage) {
    // Heap figures come from the C library's allocator; under a sanitizer they read 0 and the
    // sanitizer's own leak check takes their place.
    const size_t before = heapInUse();
    Bitmap* bitmap = new Bitmap(110);
    const bool measurable = heapInUse() > 0;
    const size_t imageBytes = 432 * 89 * 4;
    if (measurable) {
        EXPECT_GT(heapInUse(), before + imageBytes);
    }

    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    bitmap->remember();
    EXPECT_EQ(bitmap->getReferenceCount(), 2);
    bitmap->forget();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    if (measurable) {
        EXPECT_GT(heapInUse(), before + imageBytes);
    }
    bitmap->forget(); // the second forget destroys it
    if (measurable) {
        EXPECT_LT(heapInUse(), before + 4096);
    }
}

} // namespace
