// The control base's value rules: dirty tracking against the drawn value, values outside the
// bounds, the wheel rule and what it reports, controls without a listener, and the
// background's reference.
#include "gui/bitmap.h"
#include "gui/knob.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recorder : ControlListener {
    void valueChanged(DrawContext*, Control* control) override {
        values.push_back(control->getValue());
    }
    std::vector<float> values;
};

// A knob is the simplest concrete control.
Knob* makeControl(ControlListener* listener, Bitmap* background = nullptr) {
    return new Knob(Rect(0, 0, 36, 36), listener, 5, background, nullptr, Point());
}

TEST(ControlDirty, NewControlIsDirtyUntilDrawnAndSameValueStaysClean) {
    Recorder recorder;
    Knob* control = makeControl(&recorder);
    EXPECT_TRUE(control->isDirty());
    control->draw(nullptr);
    EXPECT_FALSE(control->isDirty());
    EXPECT_EQ(control->getOldValue(), control->getValue());
    control->setValue(0.0f); // the value already shown
    EXPECT_FALSE(control->isDirty());
    control->setValue(0.25f);
    EXPECT_TRUE(control->isDirty());
    control->setDirty(false);
    EXPECT_FALSE(control->isDirty());
    control->setDirty(true); // a redraw without a value change
    EXPECT_TRUE(control->isDirty());
    control->forget();
}

TEST(ControlDirty, MinusOneStillBecomesDirty) {
    Knob* control = makeControl(nullptr);
    control->setValue(-1.0f);
    control->setDirty(false);
    control->setDirty(true);
    EXPECT_EQ(control->getOldValue(), 0.0f);
    EXPECT_TRUE(control->isDirty());
    control->setValue(0.0f);
    control->setDirty(true);
    EXPECT_EQ(control->getOldValue(), -1.0f);
    control->forget();
}

TEST(ControlValues, OutsideTheBoundsUntilTheUserTouchesIt) {
    Recorder recorder;
    Knob* control = makeControl(&recorder);
    control->setValue(2.0f);
    EXPECT_EQ(control->getValue(), 2.0f);
    control->draw(nullptr);
    // The first notch down lands on the bound itself: 2.0 - 0.1 clamps to 1.0.
    EXPECT_TRUE(control->onWheel(nullptr, Point(), -1.0f));
    EXPECT_EQ(control->getValue(), 1.0f);
    EXPECT_TRUE(control->onWheel(nullptr, Point(), -1.0f));
    EXPECT_FLOAT_EQ(control->getValue(), 0.9f);
    ASSERT_EQ(recorder.values.size(), 2u);
    control->setValue(-3.0f);
    control->bounceValue();
    EXPECT_EQ(control->getValue(), 0.0f);
    control->forget();
}

TEST(ControlWheel, ReportsOnlyChangesAndRefusesWhenDisabled) {
    Recorder recorder;
    Knob* control = makeControl(&recorder);
    control->setValue(1.0f);
    control->draw(nullptr);
    EXPECT_TRUE(control->onWheel(nullptr, Point(), 3.0f)); // already at the top
    EXPECT_TRUE(recorder.values.empty());
    control->setWheelStep(0.25f);
    EXPECT_TRUE(control->onWheel(nullptr, Point(), -2.0f));
    EXPECT_EQ(control->getValue(), 0.5f);
    control->setMouseEnabled(false);
    EXPECT_FALSE(control->onWheel(nullptr, Point(), 1.0f));
    EXPECT_EQ(control->getValue(), 0.5f);
    EXPECT_EQ(recorder.values, std::vector<float>{0.5f});
    control->forget();
}

TEST(ControlWheel, AValueThatGoesAndComesBackBeforeTheRedrawReachesTheHost) {
    Recorder recorder;
    Knob* control = makeControl(&recorder);
    control->setValue(0.5f);
    control->draw(nullptr);
    control->setWheelStep(0.25f);
    control->onWheel(nullptr, Point(), 1.0f);
    control->onWheel(nullptr, Point(), -1.0f); // back to the drawn value, the host holds 0.75
    control->onWheel(nullptr, Point(), -1.0f);
    EXPECT_EQ(recorder.values, (std::vector<float>{0.75f, 0.5f, 0.25f}));
    control->forget();
}

TEST(ControlListenerless, UserChangesWithoutAListenerAreHarmless) {
    Knob* control = makeControl(nullptr);
    control->draw(nullptr);
    EXPECT_TRUE(control->onWheel(nullptr, Point(), 1.0f));
    EXPECT_FLOAT_EQ(control->getValue(), 0.1f);
    control->forget();
}

TEST(ControlBackground, HeldForTheControlsLifeAndSwapped) {
    auto* first = new Bitmap(nullptr, 4, 4);
    auto* second = new Bitmap(nullptr, 4, 4);
    Knob* control = makeControl(nullptr, first);
    EXPECT_EQ(first->getReferenceCount(), 2);
    control->setBackground(second);
    EXPECT_EQ(first->getReferenceCount(), 1);
    EXPECT_EQ(second->getReferenceCount(), 2);
    EXPECT_EQ(control->getBackground(), second);
    control->setBackground(second); // the same bitmap again keeps one reference
    EXPECT_EQ(second->getReferenceCount(), 2);
    control->forget();
    EXPECT_EQ(second->getReferenceCount(), 1);
    first->forget();
    second->forget();
}

} // namespace
