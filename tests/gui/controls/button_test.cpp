// Buttons as a user presses them: the toggle's halves and truncated click rule, the overlay's
// modal growth (and a grab that fails), the two-frame button's flip while held, the momentary
// button's release that is always reported.
#include "gui/buttons.h"
#include "tests/gui/controls/control_fixtures.h"

using namespace control_test;

namespace {

constexpr int32_t kTag = 7;

TEST(ToggleButtonDrawing, ZeroShowsTheUpperHalfAnyOtherValueTheLowerHalf) {
    Image strip(kRowsId);
    auto* toggle = new ToggleButton(Rect(10, 10, 50, 135), nullptr, kTag, strip);
    for (float v : {0.0f, 0.5f}) {
        toggle->setValue(v);
        PixelSurface s = drawn(*toggle);
        const int32_t first = v == 0.0f ? 0 : 125;
        EXPECT_EQ(rowAt(s, 10, 10), first) << v;
        EXPECT_EQ(rowAt(s, 49, 134), first + 124) << v;
        EXPECT_EQ(pixelAt(s, 50, 10), kPaper);
    }
    toggle->forget();
}

class ToggleButtonClick : public ControlFixture {};

TEST_F(ToggleButtonClick, ClickTestsTheTruncatedValueAndReportsWithoutAGesture) {
    Image strip(kRowsId);
    auto* toggle = add(new ToggleButton(Rect(10, 10, 50, 135), &recorder, kTag, strip));
    const std::vector<std::pair<float, float>> cases = {
        {0.0f, 1.0f}, {1.0f, 0.0f}, {0.3f, 1.0f}, {1.7f, 0.0f}, {0.5f, 1.0f}};
    for (auto [before, after] : cases) {
        toggle->setValue(before);
        click(20, 20);
        EXPECT_EQ(toggle->getValue(), after) << before;
    }
    EXPECT_EQ(recorder.values, (std::vector<float>{1, 0, 1, 0, 1}));
    EXPECT_EQ(recorder.withContext, 5);
    EXPECT_EQ(gestures(), 0);
    EXPECT_EQ(rowAt(picture(), 20, 20), 135); // on: the lower half is shown
    // Without a listener the click still toggles; a disabled button ignores it.
    auto* silent = add(new ToggleButton(Rect(60, 10, 100, 135), nullptr, kTag, strip));
    click(70, 20);
    silent->setMouseEnabled(false);
    click(70, 20);
    EXPECT_EQ(silent->getValue(), 1.0f);
}

class OverlayImageClick : public ControlFixture {
  protected:
    Image panel{kRowsId};
};

TEST_F(OverlayImageClick, OpensModalOverItsDisplayRectAndTheNextClickAnywhereCloses) {
    Image wall(kOffId);
    frame->setBackground(wall);
    const Rect button(10, 10, 30, 30), display(0, 0, 40, 200);
    auto* overlay = add(new OverlayImage(button, &recorder, kTag, panel, display, Point(0, 20)));
    auto* other = add(new ToggleButton(Rect(100, 100, 140, 140), &recorder, 99, panel));
    EXPECT_EQ(rowAt(picture(), 5, 100), -1); // the panel is not shown yet
    click(20, 20);
    EXPECT_EQ(overlay->getValue(), 1.0f);
    EXPECT_EQ(frame->getModalView(), overlay);
    EXPECT_EQ(overlay->getViewSize(), display);
    EXPECT_EQ(rowAt(picture(), 5, 100), 120); // drawn from the offset at once
    EXPECT_EQ(recorder.values, std::vector<float>{1.0f});
    // While modal, a click on the other button reaches nobody...
    click(120, 120);
    EXPECT_EQ(other->getValue(), 0.0f);
    // ...and one inside the panel, away from the button, closes it.
    click(35, 150);
    EXPECT_EQ(overlay->getValue(), 0.0f);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(overlay->getViewSize(), button);
    EXPECT_EQ(pixelAt(picture(), 5, 100), kOffPixel); // the frame was drawn without it
    EXPECT_EQ(recorder.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_EQ(gestures(), 0);
}

TEST_F(OverlayImageClick, AFailedModalGrabNeitherGrowsNorReportsNorCollapsesLater) {
    const Rect button(10, 10, 30, 30);
    auto* overlay =
        add(new OverlayImage(button, &recorder, kTag, panel, Rect(0, 0, 40, 200), Point()));
    ProbeView holder(Rect(150, 150, 160, 160));
    ASSERT_TRUE(frame->setModalView(&holder));
    // The frame sends clicks to its modal view only: press the overlay directly.
    platform.setButtons(kLeft);
    DrawContext context(frame, &frame->getSurface(), frame->getPointerSource());
    Point where(20, 20);
    overlay->mouse(&context, where);
    EXPECT_EQ(overlay->getValue(), 1.0f);
    EXPECT_TRUE(overlay->isDirty());
    EXPECT_EQ(overlay->getViewSize(), button);
    EXPECT_TRUE(recorder.values.empty());
    // The closing click keeps the button's rectangle and leaves the other modal view alone.
    overlay->mouse(&context, where);
    EXPECT_EQ(overlay->getValue(), 0.0f);
    EXPECT_EQ(overlay->getViewSize(), button);
    EXPECT_EQ(frame->getModalView(), &holder);
    frame->setModalView(nullptr);
    platform.setButtons(0);
    click(20, 20); // and it still opens normally
    EXPECT_EQ(frame->getModalView(), overlay);
    frame->removeView(overlay); // removed while shown: the frame is not left pointing at it
    EXPECT_EQ(frame->getModalView(), nullptr);
}

class HeldButtons : public ControlFixture {
  protected:
    Image strip{kRowsId};
};

TEST_F(HeldButtons, TwoFrameButtonFlipsOverTheButtonAndKeepsThePressedValueOffIt) {
    auto* button =
        add(new TwoFrameButton(Rect(10, 10, 50, 40), &recorder, kTag, 30, strip, Point()));
    recorder.redraw = true;
    run({{20, 20, kLeft, 1},
         {20, 20, kLeft, 1},
         {120, 20, kLeft, 1}, // off the button
         {30, 30, kLeft, 1},  // back on it
         {30, 30, 0, 1}});
    EXPECT_EQ(recorder.values, (std::vector<float>{1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(button->getButtonState(), 1.0f);
    expectGestures(1, kTag);
    EXPECT_EQ(rowAt(picture(), 10, 10), 30); // frame 1
    // Pressed while on and released off the button: it stays on.
    drag(20, 20, 150, 20, 2);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(recorder.values.back(), 1.0f);
}

TEST_F(HeldButtons, MomentaryButtonEndsAtZeroAndAlwaysReportsTheRelease) {
    auto* button =
        add(new MomentaryButton(Rect(10, 10, 50, 40), &recorder, kTag, 30, strip, Point(0, 5)));
    button->setDirty(true); // shows its first frame at the next idle
    drag(20, 20, 22, 20, 2);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(recorder.values.front(), 1.0f);
    EXPECT_EQ(recorder.values.back(), 0.0f);
    expectGestures(1, kTag);
    EXPECT_EQ(rowAt(picture(), 10, 10), 5); // released: the frame at the offset
    // Moved off before the release: going back to 0 there is no change from what is drawn (0)
    // but one from the 1 the host holds, so it is reported, and the release reports 0 again.
    auto* loose = new MomentaryButton(Rect(10, 10, 50, 40), &recorder, kTag, 30, strip, Point());
    loose->setDirty(false);
    recorder.values.clear();
    pressDirectly(*loose,
                  {{20, 20, kLeft, 1}, {20, 20, kLeft, 1}, {150, 20, kLeft, 1}, {150, 20, 0, 1}});
    EXPECT_EQ(recorder.values, (std::vector<float>{1.0f, 0.0f, 0.0f}));
    loose->forget();
}

} // namespace
