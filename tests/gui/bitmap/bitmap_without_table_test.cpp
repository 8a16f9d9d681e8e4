// A program that links the toolkit without a bitmap table: every number is missing.
#include "gui/bitmap.h"
#include "gui/platform/common/embedded_resources.h"
#include "gui/resources.h"

#include <gtest/gtest.h>

TEST(BitmapWithoutTable, EveryNumberGivesAnEmptyBitmap) {
    EXPECT_EQ(embeddedBitmapTable(), nullptr);
    const unsigned char* data = nullptr;
    size_t size = 0;
    EXPECT_FALSE(findBitmapResource(110, data, size));
    Bitmap* bitmap = new Bitmap(110);
    EXPECT_FALSE(bitmap->isLoaded());
    EXPECT_EQ(bitmap->getWidth(), 0);
    bitmap->forget();
}
