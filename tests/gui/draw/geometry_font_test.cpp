// Geometry tests (half-open and inclusive containment, the newer empty and bound rules), the
// predefined colours and the font table.
#include "gui/colour.h"
#include "gui/font.h"
#include "gui/geometry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Geometry, PointInsideIsHalfOpenAndInclusiveTestIsNot) {
    const Rect r(10, 20, 30, 40);
    EXPECT_EQ(r.getWidth(), 20);
    EXPECT_EQ(r.getHeight(), 20);
    EXPECT_TRUE(r.pointInside(Point(10, 20)));
    EXPECT_TRUE(r.pointInside(Point(29, 39)));
    EXPECT_FALSE(r.pointInside(Point(30, 25)));
    EXPECT_FALSE(r.pointInside(Point(15, 40)));
    EXPECT_FALSE(r.pointInside(Point(9, 25)));
    EXPECT_TRUE(r.pointInsideInclusive(Point(30, 40)));
    EXPECT_TRUE(r.pointInsideInclusive(Point(10, 20)));
    EXPECT_FALSE(r.pointInsideInclusive(Point(31, 40)));
    EXPECT_FALSE(r.pointInsideInclusive(Point(10, 19)));
}

TEST(Geometry, OffsetAndMoveKeepTheSize) {
    Rect r(1, 2, 11, 7);
    r.offset(5, -2);
    EXPECT_EQ(r, Rect(6, 0, 16, 5));
    r.moveTo(0, 0);
    EXPECT_EQ(r, Rect(0, 0, 10, 5));
    EXPECT_EQ(Rect(Point(3, 4), 10, 5), Rect(3, 4, 13, 9));
    EXPECT_EQ(Point(1, 2) + Point(3, 4), Point(4, 6));
    EXPECT_EQ(Point(1, 2) - Point(3, 4), Point(-2, -2));
}

#if TOOLKIT_NEWER
TEST(Geometry, IsEmptyAndBound) {
    EXPECT_TRUE(Rect(5, 5, 5, 10).isEmpty());
    EXPECT_TRUE(Rect(5, 5, 10, 4).isEmpty());
    EXPECT_FALSE(Rect(5, 5, 6, 6).isEmpty());

    Rect a(0, 0, 20, 20);
    a.bound(Rect(10, 5, 30, 15));
    EXPECT_EQ(a, Rect(10, 5, 20, 15));
    // Disjoint: the inverted result collapses onto its left and top.
    Rect b(0, 0, 10, 10);
    b.bound(Rect(20, 30, 40, 50));
    EXPECT_EQ(b, Rect(20, 30, 20, 30));
    EXPECT_TRUE(b.isEmpty());
}
#endif

TEST(Colours, PredefinedValuesAndTheirPixels) {
    EXPECT_EQ(TransparentColour, (Colour{255, 255, 255, 0}));
    EXPECT_EQ(WhiteColour, TransparentColour);
    EXPECT_NE(&WhiteColour, &TransparentColour);
    EXPECT_EQ(GreyColour, (Colour{127, 127, 127, 0}));
    EXPECT_EQ(RedColour.toPixel(), 0x00FF0000u);
    EXPECT_EQ(GreenColour.toPixel(), 0x0000FF00u);
    EXPECT_EQ(BlueColour.toPixel(), 0x000000FFu);
    EXPECT_EQ(YellowColour.toPixel(), 0x00FFFF00u);
    EXPECT_EQ(MagentaColour.toPixel(), 0x00FF00FFu);
    EXPECT_EQ(CyanColour.toPixel(), 0x0000FFFFu);
    EXPECT_EQ(BlackColour.toPixel(), 0u);
    // The fourth byte never reaches a pixel; sameRgb ignores it.
    const Colour tinted{10, 20, 30, 99};
    EXPECT_EQ(tinted.toPixel(), 0x000A141Eu);
    EXPECT_TRUE(tinted.sameRgb(Colour{10, 20, 30, 0}));
    EXPECT_FALSE(tinted == (Colour{10, 20, 30, 0}));
    EXPECT_EQ(Colour::fromPixel(0xFF0A141Eu), (Colour{10, 20, 30, 0}));
}

TEST(FontTable, SizesFacesAndWeights) {
    const int32_t sizes[FontCount] = {12, 18, 14, 12, 11, 10, 9, 13};
    for (int32_t id = 0; id < FontCount; ++id) {
        const FontTableEntry& e = fontTableEntry(id);
        EXPECT_EQ(e.size, sizes[id]) << id;
        EXPECT_STREQ(e.face, id == 7 ? "Symbol" : "Arial") << id;
        EXPECT_EQ(e.weight, id == 0 ? FontWeightBold : FontWeightNormal) << id;
        EXPECT_EQ(e.family, id == 7 ? FontFamily::Decorative : FontFamily::SansSerif) << id;
        EXPECT_EQ(e.pitch, id == 7 ? FontPitch::Default : FontPitch::Variable) << id;
    }
    for (int32_t bad : {-1, 8, 9, 1000, INT32_MIN}) {
        EXPECT_EQ(validFontId(bad), 0);
        EXPECT_EQ(&fontTableEntry(bad), &fontTableEntry(0));
    }
}

} // namespace
