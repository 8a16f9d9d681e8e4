// Knob geometry without a window: the handle tip for a value, the value for a point (dead
// zone included, both turning directions), the handle inset, and the filmstrip frame a value
// selects and draws.
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/knob.h"
#include "gui/platform/pixel_surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A 36-pixel knob at the origin: radius 18, inset 3, the default angles.
struct PlainKnob {
    PlainKnob() : knob(new Knob(Rect(0, 0, 36, 36), nullptr, 0, nullptr, nullptr, Point())) {}
    ~PlainKnob() { knob->forget(); }
    Point tipFor(float value) {
        knob->setValue(value);
        Point p;
        knob->valueToPoint(p);
        return p;
    }
    Knob* knob;
};

TEST(KnobGeometry, HandleTipAtTheEndsAndTheTop) {
    PlainKnob k;
    EXPECT_EQ(k.tipFor(0.0f), Point(7, 29));  // 225 degrees, 15 pixels out
    EXPECT_EQ(k.tipFor(1.0f), Point(29, 29)); // -45 degrees
    EXPECT_EQ(k.tipFor(0.5f), Point(18, 3));  // straight up
}

TEST(KnobGeometry, HandleBitmapSetsTheInset) {
    PlainKnob k;
    EXPECT_EQ(k.knob->getInsetValue(), 3);
    auto* handle = new Bitmap(nullptr, 9, 5);
    k.knob->setHandleBitmap(handle);
    EXPECT_EQ(k.knob->getInsetValue(), 7); // trunc(9 * 0.5 + 2.5)
    EXPECT_EQ(handle->getReferenceCount(), 2);
    EXPECT_EQ(k.tipFor(0.5f), Point(18, 7));
    k.knob->setHandleBitmap(nullptr);
    EXPECT_EQ(handle->getReferenceCount(), 1);
    handle->forget();
}

TEST(KnobGeometry, ValueFromPointSplitsTheDeadZoneBelowTheCentre) {
    PlainKnob k;
    EXPECT_EQ(k.knob->valueFromPoint(Point(17, 35)), 0.0f); // just left of the bottom
    EXPECT_EQ(k.knob->valueFromPoint(Point(19, 35)), 1.0f); // just right of it
    EXPECT_NEAR(k.knob->valueFromPoint(Point(18, 0)), 0.5f, 1e-6f);
    EXPECT_NEAR(k.knob->valueFromPoint(Point(36, 18)), 5.0f / 6.0f, 1e-6f); // 0 degrees
    EXPECT_NEAR(k.knob->valueFromPoint(Point(0, 18)), 1.0f / 6.0f, 1e-6f);  // 180 degrees
    // The tip of each value maps back to (nearly) the same value.
    for (float v : {0.1f, 0.3f, 0.62f, 0.9f})
        EXPECT_NEAR(k.knob->valueFromPoint(k.tipFor(v)), v, 0.03f) << v;
}

TEST(KnobGeometry, CounterClockwiseRangeHasTheDeadZoneMirrored) {
    PlainKnob k;
    k.knob->setStartAngle(-0.7853982f); // lower right
    k.knob->setRangeAngle(4.712389f);   // 270 degrees counter-clockwise
    EXPECT_NEAR(k.knob->valueFromPoint(Point(18, 0)), 0.5f, 1e-6f);
    EXPECT_EQ(k.knob->valueFromPoint(Point(19, 35)), 0.0f); // next to the start
    EXPECT_EQ(k.knob->valueFromPoint(Point(17, 35)), 1.0f);
    EXPECT_EQ(k.tipFor(0.0f), Point(29, 29));
    EXPECT_EQ(k.tipFor(1.0f), Point(7, 29));
}

TEST(KnobGeometry, EqualBoundsGiveAHarmlessTip) {
    PlainKnob k;
    k.knob->setMax(0.0f);
    k.knob->setRangeAngle(-4.712389f); // recomputes: aCoef becomes 0
    Point p = k.tipFor(0.0f);
    EXPECT_GE(p.h, -1); // defined, whatever it is
    EXPECT_EQ(k.knob->valueFromPoint(Point(18, 0)), 0.0f);
}

struct Strip {
    Strip(int32_t frames, int32_t height)
        : knob(new FilmstripKnob(Rect(0, 0, 36, height), nullptr, 0, frames, height, nullptr,
                                 Point())) {}
    ~Strip() { knob->forget(); }
    FilmstripKnob* knob;
};

TEST(FilmstripFrames, ValueSelectsTheFrameRoundingDown) {
    Strip s(43, 36);
    EXPECT_EQ(s.knob->frameOffsetFor(0.0f), 0);
    EXPECT_EQ(s.knob->frameOffsetFor(0.5f), 756);       // frame 21
    EXPECT_EQ(s.knob->frameOffsetFor(0.999f), 41 * 36); // frame 41
    EXPECT_EQ(s.knob->frameOffsetFor(1.0f), 42 * 36);   // only 1.0 reaches the last
    EXPECT_EQ(s.knob->frameOffsetFor(-0.5f), 0);
    EXPECT_EQ(s.knob->frameOffsetFor(7.0f), 42 * 36);
    EXPECT_EQ(s.knob->frameOffsetFor(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(s.knob->frameOffsetFor(std::numeric_limits<float>::infinity()), 42 * 36);
    Strip swirlet(128, 30);
    EXPECT_EQ(swirlet.knob->frameOffsetFor(0.5f), 63 * 30);
    EXPECT_EQ(swirlet.knob->frameOffsetFor(1.0f), 127 * 30);
}

#if TOOLKIT_NEWER
TEST(FilmstripFrames, InverseStripRunsFromTheBottom) {
    Strip s(43, 36);
    s.knob->setInverseBitmap(true);
    EXPECT_EQ(s.knob->frameOffsetFor(1.0f), 0);
    EXPECT_EQ(s.knob->frameOffsetFor(0.0f), 42 * 36);
    EXPECT_EQ(s.knob->frameOffsetFor(0.5f), 756);
    EXPECT_EQ(s.knob->frameOffsetFor(2.0f), 0);
}
#endif

// The knob's rectangle of the surface shows exactly rows y..y+30 of the strip.
bool showsStripRows(const PixelSurface& surface, const Rect& at, const Bitmap& strip, int32_t y) {
    const PixelSurface* image = strip.getImage();
    for (int32_t r = 0; r < at.getHeight(); ++r)
        for (int32_t c = 0; c < at.getWidth(); ++c)
            if (surface.row(at.top + r)[at.left + c] != image->row(y + r)[c]) return false;
    return true;
}

TEST(FilmstripDrawing, DrawsTheSelectedFrameOfTheSwirletStrip) {
    auto* strip = new Bitmap(112);
    ASSERT_TRUE(strip->isLoaded());
    ASSERT_EQ(strip->getHeight(), 3840);
    PixelSurface surface(100, 60, 0x123456);
    const Rect at(10, 20, 42, 50);
    auto* knob = new FilmstripKnob(at, nullptr, 0, 128, 30, strip, Point());
    for (float v : {0.0f, 0.5f, 1.0f}) {
        knob->setValue(v);
        DrawContext context(nullptr, &surface, nullptr);
        knob->draw(&context);
        EXPECT_TRUE(showsStripRows(surface, at, *strip, knob->frameOffsetFor(v))) << v;
        EXPECT_FALSE(knob->isDirty());
    }
    // The first and the last frame differ: the pointer sweeps.
    EXPECT_FALSE(showsStripRows(surface, at, *strip, 0));
    EXPECT_EQ(surface.row(19)[10], 0x123456u); // nothing outside the knob
    EXPECT_EQ(surface.row(20)[42], 0x123456u);
    knob->forget();
    strip->forget();
}

TEST(KnobDrawing, PlainKnobDrawsTheTwoColouredHandle) {
    PixelSurface surface(36, 36, 0);
    auto* knob = new Knob(Rect(0, 0, 36, 36), nullptr, 0, nullptr, nullptr, Point());
    knob->setValue(0.5f); // handle straight up from the centre
    DrawContext context(nullptr, &surface, nullptr);
    knob->draw(&context);
    // Shadow line from (17, 3) down to the centre (17, 18); white line one right and up.
    EXPECT_EQ(surface.row(10)[17], GreyColour.toPixel());
    EXPECT_EQ(surface.row(10)[18], WhiteColour.toPixel());
    EXPECT_EQ(surface.row(10)[25], 0u);
    knob->forget();
}

} // namespace
