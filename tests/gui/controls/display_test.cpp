// Displays: the frame display's nearest frame and empty strips, the loop animation's click,
// frame stepping and wrap-around, the digit display's digits, bounds and digit limit, and the
// level meter's lit part, its fall per draw and a meter without LEDs.
#include "gui/displays.h"
#include "tests/gui/controls/control_fixtures.h"

#include <cmath>

using namespace control_test;

namespace {

TEST(FrameDisplayFrames, NearestFrameAndStripsWithoutFrames) {
    Image strip(kRowsId);
    auto* display = new FrameDisplay(Rect(0, 0, 40, 20), nullptr, 1, 10, 20, strip, Point(0, 3));
    EXPECT_EQ(display->frameFor(0.5f), 5); // trunc(4.5 + 0.5)
    EXPECT_EQ(display->frameFor(0.44f), 4);
    EXPECT_EQ(display->frameFor(NAN), 0);
    display->setValue(0.5f);
    EXPECT_EQ(rowAt(drawn(*display), 0, 0), 103);
    display->setValue(7.0f); // set back to 1 by the draw
    EXPECT_EQ(rowAt(drawn(*display), 0, 0), 183);
    EXPECT_EQ(display->getValue(), 1.0f);
    display->forget();
    for (int32_t frames : {1, 0, -4}) {
        auto* empty = new FrameDisplay(Rect(0, 0, 40, 20), nullptr, 1, frames, 20, strip, Point());
        empty->setValue(0.9f);
        EXPECT_EQ(empty->frameFor(0.9f), 0) << frames;
        EXPECT_EQ(rowAt(drawn(*empty), 0, 0), 0);
        empty->forget();
    }
}

class LoopAnimationClick : public ControlFixture {};

TEST_F(LoopAnimationClick, ClickOpensAndClosesAndFramesWrapAround) {
    Image strip(kRowsId);
    auto* loop =
        add(new LoopAnimation(Rect(10, 10, 50, 30), &recorder, 2, 5, 20, strip, Point(0, 1)));
    EXPECT_EQ(rowAt(drawn(*loop), 10, 10), -1); // closed: nothing drawn
    click(20, 20);
    EXPECT_TRUE(loop->isOpen());
    EXPECT_EQ(recorder.values, std::vector<float>{0.0f});
    EXPECT_EQ(rowAt(picture(), 10, 10), 1);
    // Five frames of 20 (100 pixels): the offsets run 0, 20, 40, 60, then back to 0.
    std::vector<float> offsets;
    for (int i = 0; i < 4; ++i) {
        loop->nextFrame();
        offsets.push_back(loop->getValue());
    }
    EXPECT_EQ(offsets, (std::vector<float>{20, 40, 60, 0}));
    loop->previousFrame();
    EXPECT_EQ(loop->getValue(), 79.0f); // below 0: totalHeight - frameHeight - 1
    frame->idle();
    EXPECT_EQ(rowAt(picture(), 10, 10), 80);
    click(20, 20); // closes, showing the first frame
    EXPECT_FALSE(loop->isOpen());
    EXPECT_EQ(loop->getValue(), 0.0f);
    EXPECT_EQ(rowAt(picture(), 10, 10), 1);
    // No frames: stepping stays at 0.
    auto* empty = add(new LoopAnimation(Rect(60, 10, 100, 30), nullptr, 3, 0, 20, strip, Point()));
    empty->nextFrame();
    empty->previousFrame();
    EXPECT_TRUE(std::isfinite(empty->getValue()));
}

TEST(DigitDisplayDigits, SplitsClampsAndDrawsEachDigitAtItsPlace) {
    Image strip(kRowsId);
    const int32_t xs[3] = {10, 30, 50}, ys[3] = {5, 5, 40};
    auto* display =
        new DigitDisplay(Rect(10, 5, 60, 60), nullptr, 4, 407.0f, 3, xs, ys, 8, 12, strip);
    EXPECT_EQ(display->getMax(), 999.0f);
    int32_t digits[DigitDisplay::MaxDigits];
    ASSERT_EQ(display->digitsFor(407.0f, digits), 3);
    EXPECT_EQ((std::vector<int32_t>(digits, digits + 3)), (std::vector<int32_t>{4, 0, 7}));
    PixelSurface s = drawn(*display);
    EXPECT_EQ(rowAt(s, 10, 5), 48);  // 4 at (10, 5)
    EXPECT_EQ(rowAt(s, 37, 16), 11); // 0 at (30, 5), its last row
    EXPECT_EQ(rowAt(s, 50, 40), 84); // 7 at (50, 40)
    EXPECT_EQ(pixelAt(s, 18, 5), kPaper);
    display->digitsFor(1234.0f, digits);
    EXPECT_EQ((std::vector<int32_t>(digits, digits + 3)), (std::vector<int32_t>{9, 9, 9}));
    for (float below : {-5.0f, NAN}) {
        display->digitsFor(below, digits);
        EXPECT_EQ((std::vector<int32_t>(digits, digits + 3)), (std::vector<int32_t>{0, 0, 0}));
    }
    display->forget();
    // More than seven digits: seven, with no positions given side by side.
    auto* wide =
        new DigitDisplay(Rect(0, 0, 80, 12), nullptr, 4, 1e12f, 9, nullptr, nullptr, 8, 12, strip);
    EXPECT_EQ(wide->getDigitCount(), 7);
    EXPECT_EQ(wide->getMax(), 9999999.0f);
    s = drawn(*wide);
    EXPECT_EQ(rowAt(s, 48, 0), 108); // the seventh 9
    EXPECT_EQ(pixelAt(s, 56, 0), kPaper);
    wide->forget();
}

class LevelMeterFall : public ControlFixture {};

TEST_F(LevelMeterFall, LitPartInWholeLedsFallingAtMostDecreasePerDraw) {
    Image on(kRowsId), off(kOffId);
    auto* meter = add(new LevelMeter(Rect(10, 0, 50, 250), on, off, 10, 0), 0.55f);
    meter->setDirty(true);
    frame->idle();
    // trunc((1 - 0.55) * 10 + 0.5) = 5 of 10 LEDs unlit: 125 of 250 rows.
    EXPECT_EQ(meter->getOffRect(), Rect(10, 0, 50, 125));
    EXPECT_EQ(pixelAt(picture(), 10, 124), kOffPixel);
    EXPECT_EQ(rowAt(picture(), 10, 125), 125);
    EXPECT_FALSE(meter->isDirty());
    // From full to silence with a decrease of 0.25: four idles to fall, then it is clean.
    meter->setDecreaseStepValue(0.25f);
    meter->setValue(1.0f);
    frame->idle();
    EXPECT_EQ(meter->getOffRect().bottom, 0);
    meter->setValue(0.0f);
    std::vector<int32_t> unlit;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(meter->isDirty()) << i;
        frame->idle();
        unlit.push_back(meter->getOffRect().bottom);
    }
    EXPECT_EQ(unlit, (std::vector<int32_t>{75, 125, 200, 250}));
    EXPECT_FALSE(meter->isDirty());
}

TEST(LevelMeterDrawing, HorizontalFromTheLeftAndNoLedsMeansNothingLit) {
    Image on(kRowsId), off(kOffId);
    auto* meter = new LevelMeter(Rect(0, 0, 40, 10), on, off, 4, MeterHorizontal);
    meter->setValue(0.5f);
    PixelSurface s = drawn(*meter);
    EXPECT_EQ(meter->getOnRect(), Rect(0, 0, 20, 10));
    EXPECT_EQ(rowAt(s, 19, 0), 0);
    EXPECT_EQ(pixelAt(s, 20, 0), kOffPixel);
    meter->forget();
    for (int32_t leds : {0, -2}) {
        auto* dark = new LevelMeter(Rect(0, 0, 40, 10), on, off, leds, MeterHorizontal);
        dark->setValue(1.0f);
        s = drawn(*dark);
        EXPECT_EQ(dark->getOnRect().getWidth(), 0);
        EXPECT_EQ(pixelAt(s, 0, 0), kOffPixel);
        dark->forget();
        auto* upright = new LevelMeter(Rect(0, 0, 40, 10), on, off, leds, 0);
        upright->setValue(1.0f);
        s = drawn(*upright);
        EXPECT_EQ(pixelAt(s, 0, 9), kOffPixel);
        upright->forget();
    }
    EXPECT_EQ(on->getReferenceCount(), 1);
}

} // namespace
