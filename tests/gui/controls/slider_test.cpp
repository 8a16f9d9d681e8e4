// Sliders: where the handle sits for each orientation bit and at its limits, composing in an
// offscreen (built per draw in the older variant, kept in the newer), the free-click and the
// handle-only press, shift zoom pressed and released mid-drag, control-click, the wheel, and
// a slider whose two end positions are equal.
#include "gui/sliders.h"
#include "tests/gui/controls/control_fixtures.h"

#include <cmath>

using namespace control_test;

namespace {

constexpr int32_t kTag = 5;
// A vertical slider 10 x 100 at (50, 20) whose 6 x 4 handle travels 96 pixels.
const Rect kVertical(50, 20, 60, 120);
constexpr int32_t kTop = 20, kBottom = 116;

VerticalSlider* vertical(Bitmap* handle, Bitmap* background, int32_t style,
                         ControlListener* listener = nullptr) {
    return new VerticalSlider(kVertical, listener, kTag, kTop, kBottom, handle, background, Point(),
                              style);
}

TEST(SliderHandle, EachOrientationBitPicksTheDirectionAndTheLimitsHold) {
    Image handle(kHandleId);
    auto* up = vertical(handle, nullptr, SliderValueUp);
    auto* down = vertical(handle, nullptr, SliderValueDown);
    EXPECT_EQ(up->handleRectFor(0.0f), Rect(50, 116, 56, 120));
    EXPECT_EQ(up->handleRectFor(1.0f), Rect(50, 20, 56, 24));
    EXPECT_EQ(down->handleRectFor(0.0f).top, 20);
    EXPECT_EQ(down->handleRectFor(1.0f).top, 116);
    EXPECT_EQ(down->handleRectFor(1.5f).top, 116); // kept within the limits
    EXPECT_EQ(down->handleRectFor(-1.0f).top, 20);
    EXPECT_EQ(down->handleRectFor(NAN).top, 20);
    down->setHandleOffset(Point(2, 3));
    EXPECT_EQ(down->handleRectFor(0.0f), Rect(52, 23, 58, 27));
    EXPECT_EQ(down->handleRectFor(1.0f).top, 119);
    up->forget();
    down->forget();

    auto* right = new HorizontalSlider(Rect(20, 150, 120, 160), nullptr, kTag, 20, 114, handle,
                                       nullptr, Point(), SliderValueRight);
    auto* left = new HorizontalSlider(Rect(20, 150, 120, 160), nullptr, kTag, 20, 114, handle,
                                      nullptr, Point(), SliderValueLeft);
    EXPECT_EQ(right->handleRectFor(0.0f), Rect(20, 150, 26, 154));
    EXPECT_EQ(left->handleRectFor(0.0f).left, 114);
    EXPECT_EQ(left->handleRectFor(1.0f).left, 20);
    right->forget();
    left->forget();
    // Without a handle bitmap the handle is one pixel.
    auto* bare = vertical(nullptr, nullptr, SliderValueDown);
    EXPECT_EQ(bare->handleRectFor(1.0f), Rect(50, 116, 51, 117));
    bare->forget();
}

TEST(SliderDrawing, ComposesBackgroundAndHandleAndKeepsTheOffscreenInTheNewerVariant) {
    Image handle(kHandleId), strip(kRowsId);
    auto* slider = vertical(handle, strip, SliderValueDown);
    slider->setValue(0.5f);
    PixelSurface s = drawn(*slider);
    EXPECT_EQ(rowAt(s, 50, 20), 0);
    EXPECT_EQ(rowAt(s, 59, 119), 99);
    EXPECT_EQ(pixelAt(s, 60, 20), kPaper);
    EXPECT_EQ(slider->getHandleRect(), Rect(50, 68, 56, 72));
    EXPECT_EQ(pixelAt(s, 51, 69), kHandlePixel);
    EXPECT_EQ(rowAt(s, 50, 68), 48); // the handle's key-coloured pixel shows the background
    EXPECT_FALSE(slider->isDirty());
    slider->setTransparentHandle(false);
    s = drawn(*slider);
    EXPECT_EQ(pixelAt(s, 50, 68), 0xFFFFFFu);
#if TOOLKIT_NEWER
    EXPECT_EQ(slider->getComposerBuilds(), 1);
#else
    EXPECT_EQ(slider->getComposerBuilds(), 2);
#endif
    slider->forget();
}

class SliderDrag : public ControlFixture {
  protected:
    VerticalSlider* make(int32_t style, float value) {
        return add(vertical(handle, strip, style, &recorder), value);
    }
    Image handle{kHandleId};
    Image strip{kRowsId};
};

TEST_F(SliderDrag, FreeClickPutsTheHandlesMiddleUnderThePointerInEitherDirection) {
    auto* down = make(SliderValueDown, 0.0f);
    drag(55, 69, 55, 117, 12); // 49 pixels down: (49 - (2 - 1)) / 96 = 0.5 at the press
    EXPECT_FLOAT_EQ(recorder.values.front(), 0.5f);
    EXPECT_FLOAT_EQ(down->getValue(), 1.0f);
    expectGestures(1, kTag);
    frame->removeView(down);

    auto* up = make(SliderValueUp, 0.0f);
    recorder.values.clear();
    drag(55, 69, 55, 21, 6);
    EXPECT_FLOAT_EQ(recorder.values.front(), 0.5f);
    EXPECT_FLOAT_EQ(up->getValue(), 1.0f);
}

TEST_F(SliderDrag, WithoutFreeClickOnlyTheHandleGrabsAndTheValueDoesNotJump) {
    auto* slider = make(SliderValueDown, 0.25f);
    slider->setFreeClick(false);
    slider->setDirty(true);
    frame->idle(); // the handle is drawn at 44..48
    ASSERT_EQ(slider->getHandleRect().top, 44);
    click(55, 100);
    EXPECT_EQ(slider->getValue(), 0.25f);
    EXPECT_EQ(gestures(), 0);
    drag(52, 46, 52, 70, 4);
    EXPECT_FLOAT_EQ(recorder.values.back(), 0.5f);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5f);
    expectGestures(1, kTag);
}

TEST_F(SliderDrag, ShiftSlowsTheDragByTheZoomAndKeepsTheValueContinuous) {
    auto* slider = make(SliderValueDown, 0.0f);
    drag(55, 69, 55, 117, 4, kShift);
    EXPECT_NEAR(slider->getValue(), 0.55f, 1e-5f); // 48 pixels at a tenth of the speed
    run({{55, 69, kLeft, 1},
         {55, 69, kLeft, 1},
         {55, 93, kLeft, 1},          // 0.75
         {55, 93, kLeft | kShift, 1}, // shift goes down
         {55, 117, kLeft | kShift, 1},
         {55, 117, kLeft, 1}, // and up again
         {55, 93, kLeft, 1},
         {55, 93, 0, 1}});
    EXPECT_NEAR(slider->getValue(), 0.775f - 0.25f, 1e-5f);
    float previous = -1.0f;
    for (float v : recorder.values) {
        if (previous >= 0.0f) {
            EXPECT_LT(std::fabs(v - previous), 0.26f); // no jumps
        }
        previous = v;
    }
}

TEST_F(SliderDrag, ControlClickWheelAndEqualEndPositions) {
    auto* slider = make(SliderValueDown, 0.8f);
    click(55, 30, kControl);
    EXPECT_EQ(slider->getValue(), 0.5f);
    EXPECT_EQ(recorder.values, std::vector<float>{0.5f});
    EXPECT_EQ(gestures(), 0);
    platform.setPointer(55, 60);
    EXPECT_TRUE(editor->onWheel(1.0f));
    EXPECT_NEAR(slider->getValue(), 0.6f, 1e-6f);
    frame->removeView(slider);

    // No travel: the handle stays at its one position and a press changes nothing.
    auto* flat = add(new VerticalSlider(kVertical, &recorder, kTag, 50, 50, handle, strip, Point(),
                                        SliderValueDown),
                     0.3f);
    recorder.values.clear();
    drag(55, 30, 55, 110, 5);
    EXPECT_EQ(flat->getValue(), 0.3f);
    EXPECT_TRUE(recorder.values.empty());
    EXPECT_EQ(flat->handleRectFor(0.9f).top, 50);
    flat->setDirty(true);
    frame->idle();
    EXPECT_EQ(pixelAt(picture(), 51, 51), kHandlePixel);
}

} // namespace
