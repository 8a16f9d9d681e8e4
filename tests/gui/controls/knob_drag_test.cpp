// Knobs turned through a frame on the headless platform, as a user turns them: circular
// drags (the jump to the pointer, the dead zone pinning), linear drags (KnobMode 2 or alt,
// 200 pixels for the range, shift zoom, shift pressed mid-drag), control-click, the wheel,
// the host's automation gesture and, in the newer variant, the arrow keys.
#include "gui/knob.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace frame_test;

namespace {

struct Recorder : ControlListener {
    void valueChanged(DrawContext* context, Control* control) override {
        values.push_back(control->getValue());
        withContext += context ? 1 : 0;
    }
    std::vector<float> values;
    int withContext = 0;
};

constexpr int32_t kTag = 3;
constexpr uint32_t kLeft = platform::kButtonLeft;
constexpr uint32_t kShift = platform::kModShift;
constexpr uint32_t kControl = platform::kModControl;
constexpr uint32_t kAlt = platform::kModAlt;

// One 36-pixel knob at (50, 50): radius 18, centre (68, 68) in the window.
class KnobDrag : public ::testing::Test, protected HeadlessFixture {
  protected:
    void SetUp() override {
        KnobMode = 0;
        effect = new TestEffect;
        editor = new TestEditor(effect, Rect(0, 0, 200, 200));
        ASSERT_EQ(editor->open(fakeParent()), 1);
        frame = editor->getFrame();
        knob = new Knob(Rect(50, 50, 86, 86), &recorder, kTag, nullptr, nullptr, Point());
        ASSERT_TRUE(frame->addView(knob));
        hostLog().clear();
    }
    void TearDown() override {
        KnobMode = 0;
        delete effect;
    }

    void start(float value) {
        knob->setValue(value);
        knob->setDirty(false);
    }
    void drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t moves,
              uint32_t modifiers = 0) {
        platform.drag(*window(), x0, y0, x1, y1, moves, modifiers);
        frame->idle();
    }
    void run(const std::vector<HeadlessPlatform::Step>& steps) {
        window()->queuePress(steps.front().x, steps.front().y);
        platform.script(steps);
        frame->idle();
    }
    // Begin, then end, of the knob's parameter, and nothing else of that kind.
    void expectOneGesture() {
        EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 1);
        EXPECT_EQ(hostLog().count(audioMasterEndEdit), 1);
        int begin = -1, end = -1;
        for (size_t i = 0; i < hostLog().opcodes.size(); ++i) {
            if (hostLog().opcodes[i] == audioMasterBeginEdit) begin = static_cast<int>(i);
            if (hostLog().opcodes[i] == audioMasterEndEdit) end = static_cast<int>(i);
            if (hostLog().opcodes[i] == audioMasterBeginEdit ||
                hostLog().opcodes[i] == audioMasterEndEdit) {
                EXPECT_EQ(hostLog().indices[i], kTag);
            }
        }
        EXPECT_LT(begin, end);
    }

    Recorder recorder;
    TestEffect* effect = nullptr;
    TestEditor* editor = nullptr;
    EditorFrame* frame = nullptr;
    Knob* knob = nullptr;
};

TEST_F(KnobDrag, CircularClickJumpsToThePointerInsideOneGesture) {
    start(0.1f);
    platform.click(*window(), 68, 52); // straight above the centre
    frame->idle();
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    ASSERT_EQ(recorder.values.size(), 1u);
    EXPECT_EQ(recorder.withContext, 1);
    expectOneGesture();
}

TEST_F(KnobDrag, CircularDragFollowsTheAngle) {
    start(0.5f);
    drag(68, 52, 84, 68, 8); // from the top round to the right: 90 degrees clockwise
    EXPECT_NEAR(knob->getValue(), 5.0f / 6.0f, 1e-5f);
    for (size_t i = 1; i < recorder.values.size(); ++i)
        EXPECT_GT(recorder.values[i], recorder.values[i - 1]);
    expectOneGesture();
}

TEST_F(KnobDrag, CrossingTheDeadZoneInOneMovePinsTheEndItLeft) {
    start(0.0f);
    drag(80, 80, 56, 80, 1); // lower right (the maximum) straight across to lower left
    EXPECT_EQ(knob->getValue(), 1.0f);
    start(0.5f);
    drag(56, 80, 80, 80, 1); // and back the other way
    EXPECT_EQ(knob->getValue(), 0.0f);
}

TEST_F(KnobDrag, AltMakesTheDragLinearRightAndUpIncrease) {
    start(0.2f);
    drag(60, 60, 160, 60, 10, kAlt);
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-5f); // 100 of 200 pixels
    start(0.2f);
    drag(60, 80, 60, 30, 5, kAlt);
    EXPECT_NEAR(knob->getValue(), 0.45f, 1e-5f); // 50 pixels up
    start(0.5f);
    drag(60, 60, 0, 60, 6, kAlt); // left and down lower it
    EXPECT_NEAR(knob->getValue(), 0.2f, 1e-5f);
}

TEST_F(KnobDrag, LinearDragClampsAndCoversTheRangeIn200Pixels) {
    KnobMode = 2;
    start(0.0f);
    drag(55, 60, 255, 60, 20);
    EXPECT_NEAR(knob->getValue(), 1.0f, 1e-6f);
    expectOneGesture();
    hostLog().clear();
    start(0.5f);
    drag(55, 80, 199, 0, 10); // far past the end
    EXPECT_EQ(knob->getValue(), 1.0f);
    expectOneGesture();
}

TEST_F(KnobDrag, ShiftZoomNeeds300PixelsAndStaysContinuousWhenPressedMidDrag) {
    KnobMode = 2;
    start(0.0f);
    drag(55, 60, 205, 60, 10, kShift);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f);
    // 40 pixels plain, then shift goes down, then 30 more pixels.
    start(0.2f);
    run({{60, 60, kLeft, 1},
         {100, 60, kLeft, 1},
         {100, 60, kLeft | kShift, 1},
         {130, 60, kLeft | kShift, 1},
         {130, 60, kShift, 1}});
    ASSERT_FALSE(recorder.values.empty());
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f); // 0.2 + 40/200 + 30/300
    for (float v : recorder.values)
        EXPECT_LE(v, 0.5f + 1e-5f); // no jump when the scale changed
}

TEST_F(KnobDrag, KnobMode2MakesAltDragsCircular) {
    KnobMode = 2;
    start(0.1f);
    drag(68, 52, 84, 68, 4, kAlt);
    EXPECT_NEAR(knob->getValue(), 5.0f / 6.0f, 1e-5f);
    // effSetEditKnobMode reaches the same process-wide mode.
    EXPECT_EQ(editor->setKnobMode(0), 1);
    start(0.1f);
    drag(68, 52, 84, 68, 4, kAlt); // alt alone is linear again: 16 right, 16 down
    EXPECT_NEAR(knob->getValue(), 0.1f, 1e-5f);
}

TEST_F(KnobDrag, ControlClickRestoresTheDefaultWithoutAGesture) {
    start(0.8f);
    platform.click(*window(), 60, 60, kControl);
    frame->idle();
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_EQ(recorder.values, std::vector<float>{0.5f});
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 0);
    // Already at the default: nothing to report.
    knob->setDirty(false);
    platform.click(*window(), 60, 60, kControl);
    frame->idle();
    EXPECT_EQ(recorder.values.size(), 1u);
    // Control with another button or modifier is an ordinary (circular) press.
    start(0.8f);
    platform.click(*window(), 68, 52, kControl | kShift);
    frame->idle();
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 1);
}

TEST_F(KnobDrag, DisabledKnobIgnoresPresses) {
    start(0.3f);
    knob->setMouseEnabled(false);
    drag(68, 52, 84, 68, 4);
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 0);
}

TEST_F(KnobDrag, WheelStepsAndShiftMakesThemFine) {
    start(0.5f);
    platform.setPointer(68, 68);
    EXPECT_TRUE(editor->onWheel(1.0f));
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6f);
    platform.setButtons(kShift);
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(editor->onWheel(-1.0f));
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f); // ten fine notches: one plain step
    platform.setButtons(0);
    EXPECT_TRUE(editor->onWheel(20.0f));
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_EQ(recorder.values.size(), 12u);
    EXPECT_EQ(hostLog().count(audioMasterBeginEdit), 0);
}

TEST_F(KnobDrag, TheDragKeepsTheHostServiced) {
    start(0.0f);
    drag(0, 100, 200, 100, 60, 0); // outside the knob: nothing happens
    EXPECT_TRUE(recorder.values.empty());
    KnobMode = 2;
    // 60 moves, each a pause of the idle pump: the host hears from it every 50 to 100 ms.
    drag(60, 60, 120, 60, 60);
    EXPECT_GE(hostLog().count(audioMasterIdle), 2);
    EXPECT_NEAR(knob->getValue(), 0.3f, 1e-5f);
}

#if TOOLKIT_NEWER
TEST_F(KnobDrag, ArrowKeysStepTheKnobOnceItWasClicked) {
    start(0.5f);
    VstKeyCode right{0, 13, 0};
    EXPECT_EQ(editor->onKeyDown(right), -1); // not clicked yet: nobody takes the key
    EXPECT_EQ(knob->getValue(), 0.5f);
    platform.click(*window(), 68, 52);
    frame->idle();
    EXPECT_EQ(frame->getEditView(), knob);
    EXPECT_EQ(editor->onKeyDown(right), 1);
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6f);
    VstKeyCode fineDown{0, 14, 1};
    EXPECT_EQ(editor->onKeyDown(fineDown), 1);
    EXPECT_NEAR(knob->getValue(), 0.59f, 1e-6f);
    VstKeyCode other{'a', 0, 0};
    EXPECT_EQ(editor->onKeyDown(other), -1);
    for (int i = 0; i < 10; ++i) {
        VstKeyCode up{0, 12, 0};
        editor->onKeyDown(up);
    }
    EXPECT_EQ(knob->getValue(), 1.0f);
    ASSERT_FALSE(recorder.values.empty());
    EXPECT_EQ(recorder.withContext, 0); // key changes come without a drawing context
}
#else
TEST_F(KnobDrag, OlderVariantKnobsIgnoreKeys) {
    start(0.5f);
    platform.click(*window(), 68, 52);
    frame->idle();
    VstKeyCode right{0, 13, 0};
    EXPECT_EQ(editor->onKeyDown(right), -1);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6f);
    EXPECT_EQ(frame->getEditView(), nullptr);
}
#endif

} // namespace
