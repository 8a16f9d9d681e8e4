// Step switches and the rocker: the frame a value shows at the position boundaries (rounding
// down in the older variant, to the nearest in the newer), the position under the pointer in
// both directions, control-click, switches with fewer than two positions; the rocker's halves,
// release and wheel.
#include "gui/switches.h"
#include "tests/gui/controls/control_fixtures.h"

using namespace control_test;

namespace {

constexpr int32_t kTag = 11;

TEST(StepSwitchFrames, ThreePositionsAtTheirBoundaries) {
    auto* sw =
        new VerticalStepSwitch(Rect(0, 0, 40, 30), nullptr, kTag, 3, 30, 3, nullptr, Point());
#if TOOLKIT_NEWER
    EXPECT_EQ(sw->positionFor(0.24f), 0); // the nearest position
    EXPECT_EQ(sw->positionFor(0.25f), 1);
#else
    EXPECT_EQ(sw->positionFor(0.49f), 0); // the largest position at or below the value
    EXPECT_EQ(sw->positionFor(0.5f), 1);
#endif
    EXPECT_EQ(sw->positionFor(1.0f), 2);
    EXPECT_EQ(sw->positionFor(5.0f), 2);
    EXPECT_EQ(sw->positionFor(-1.0f), 0);
    sw->forget();
}

TEST(StepSwitchFrames, DrawsThePositionsFrameAndFewerThanTwoPositionsShowTheOnlyOne) {
    Image strip(kRowsId);
    auto* sw =
        new HorizontalStepSwitch(Rect(5, 5, 45, 35), nullptr, kTag, 3, 30, 3, strip, Point());
    sw->setValue(1.0f);
    PixelSurface s = drawn(*sw);
    EXPECT_EQ(rowAt(s, 5, 5), 60);
    EXPECT_EQ(rowAt(s, 44, 34), 89);
    EXPECT_EQ(pixelAt(s, 5, 35), kPaper);
    sw->forget();
    for (int32_t positions : {1, 0, -3}) {
        auto* one = new VerticalStepSwitch(Rect(0, 0, 40, 30), nullptr, kTag, 3, 30, positions,
                                           strip, Point());
        for (float v : {0.7f, 9.0f}) {
            one->setValue(v);
            EXPECT_EQ(rowAt(drawn(*one), 0, 0), 0) << positions << " " << v;
        }
        one->forget();
    }
}

class StepSwitchDrag : public ControlFixture {
  protected:
    Image strip{kRowsId};
};

TEST_F(StepSwitchDrag, ThePositionUnderThePointerInOneGesture) {
    // Vertical: 3 positions over a 30-pixel frame, the switch at (20, 20).
    auto* sw = add(
        new VerticalStepSwitch(Rect(20, 20, 60, 50), &recorder, kTag, 3, 30, 3, strip, Point()));
    drag(30, 21, 30, 49, 28);
    EXPECT_EQ(sw->getValue(), 1.0f);
    ASSERT_FALSE(recorder.values.empty());
    std::vector<float> seen;
    for (float v : recorder.values)
        if (seen.empty() || seen.back() != v) seen.push_back(v);
    EXPECT_EQ(seen, (std::vector<float>{0.5f, 1.0f})); // 0 was already drawn
    expectGestures(1, kTag);
    for (auto [y, expected] : {std::pair{29, 0.0f}, {30, 0.5f}, {39, 0.5f}, {40, 1.0f}}) {
        click(30, y);
        EXPECT_EQ(sw->getValue(), expected) << y;
    }
    // Horizontal: 3 positions over the 40-pixel wide bitmap.
    auto* across = add(new HorizontalStepSwitch(Rect(100, 100, 140, 130), &recorder, kTag, 3, 30, 3,
                                                strip, Point()));
    for (auto [x, expected] : {std::pair{113, 0.0f}, {114, 0.5f}, {126, 0.5f}, {127, 1.0f}}) {
        click(x, 110);
        EXPECT_EQ(across->getValue(), expected) << x;
    }
}

TEST_F(StepSwitchDrag, ChangedButtonsEndTheDragAndControlClickRestoresTheDefault) {
    auto* sw = add(
        new VerticalStepSwitch(Rect(20, 20, 60, 50), &recorder, kTag, 3, 30, 3, strip, Point()));
    run({{30, 21, kLeft, 1}, {30, 31, kLeft | kShift, 1}, {30, 45, kLeft | kShift, 1}});
    EXPECT_EQ(sw->getValue(), 0.0f); // the switch stopped following when shift went down
    sw->setValue(1.0f);
    frame->idle(); // drawn: the reset below is a change from what is shown
    recorder.values.clear();
    click(30, 45, kControl);
    EXPECT_EQ(sw->getValue(), 0.0f);
    EXPECT_EQ(recorder.values, std::vector<float>{0.0f});
    // Fewer than two positions: a press sets the only position.
    auto* single = add(
        new VerticalStepSwitch(Rect(100, 20, 140, 50), &recorder, kTag, 1, 30, 1, strip, Point()),
        0.7f);
    click(110, 45);
    EXPECT_EQ(single->getValue(), 0.0f);
}

class RockerPress : public ControlFixture {
  protected:
    Image strip{kRowsId};
};

TEST_F(RockerPress, HalvesGiveMinusAndPlusOneAndTheReleaseZero) {
    auto* rocker =
        add(new ThreeWayRocker(Rect(20, 20, 60, 50), &recorder, kTag, 30, strip, Point(0, 10), 0));
    run({{30, 25, kLeft, 1},
         {30, 25, kLeft, 1},  // upper half
         {30, 45, kLeft, 1},  // lower half
         {150, 45, kLeft, 1}, // off the rocker: the value at the press
         {150, 45, kLeft, 1}});
    ASSERT_GE(recorder.values.size(), 4u);
    EXPECT_EQ(recorder.values[0], -1.0f);
    EXPECT_EQ(recorder.values[1], 1.0f);
    EXPECT_EQ(recorder.values[2], 0.0f);
    EXPECT_EQ(recorder.values.back(), 0.0f); // told again after the release
    EXPECT_EQ(rocker->getValue(), 0.0f);
    expectGestures(1, kTag);
    EXPECT_EQ(rowAt(picture(), 20, 20), 40); // 0: one frame below the offset
    // Horizontal style: the left half gives -1.
    auto* across = add(new ThreeWayRocker(Rect(100, 20, 140, 50), &recorder, kTag, 30, strip,
                                          Point(), RockerHorizontal));
    recorder.values.clear();
    run({{105, 45, kLeft, 1}, {105, 45, kLeft, 1}});
    EXPECT_EQ(recorder.values.front(), -1.0f);
    EXPECT_EQ(across->getValue(), 0.0f);
}

TEST_F(RockerPress, WheelPulsesOneStepAndReturnsToZero) {
    auto* rocker =
        add(new ThreeWayRocker(Rect(20, 20, 60, 50), &recorder, kTag, 30, strip, Point(), 0));
    platform.setPointer(30, 30);
    EXPECT_TRUE(editor->onWheel(1.0f));
    EXPECT_EQ(recorder.values, (std::vector<float>{-1.0f, 0.0f}));
    EXPECT_TRUE(editor->onWheel(-2.0f));
    EXPECT_EQ(recorder.values, (std::vector<float>{-1.0f, 0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(rocker->getValue(), 0.0f);
    for (float v : {-1.0f, 0.0f, 1.0f}) { // the three frames
        rocker->setValue(v);
        PixelSurface s = drawn(*rocker);
        EXPECT_EQ(rowAt(s, 20, 20), static_cast<int32_t>(v + 1.0f) * 30) << v;
    }
    rocker->setMouseEnabled(false);
    EXPECT_FALSE(editor->onWheel(1.0f));
}

} // namespace
