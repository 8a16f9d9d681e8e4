// The showcase editor's translation between control values and parameters, on the headless
// platform: what the real-window tests do not reach (the text field, the popup menu, the digit
// display, the loop animation and the rocker's range) in both directions, host to control at
// the next idle and control to host through automate.
#include "gui/buttons.h"
#include "gui/displays.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/popup_menu.h"
#include "gui/text_field.h"
#include "tests/showcase/showcase_editor.h"
#include "tests/showcase/showcase_effect.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace showcase;

struct Automated {
    int32_t index;
    float value;
};
std::vector<Automated> automated;

intptr_t recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float opt) {
    if (opcode == audioMasterAutomate) automated.push_back({index, opt});
    return 0;
}

class ShowcaseEditorValues : public ::testing::Test {
  protected:
    void SetUp() override {
        automated.clear();
        ASSERT_NE(effect.getEditor(), nullptr);
        ASSERT_EQ(editor().open(reinterpret_cast<void*>(uintptr_t{0x4200001})), 1);
    }
    ShowcaseEditor& editor() { return *static_cast<ShowcaseEditor*>(effect.getEditor()); }
    // The user changed `index`'s control: what the host was told.
    float reported(int32_t index) {
        automated.clear();
        editor().valueChanged(nullptr, editor().control(index));
        EXPECT_EQ(automated.size(), 1u);
        if (automated.empty()) return -1.0f;
        EXPECT_EQ(automated[0].index, index);
        return automated[0].value;
    }

    HeadlessPlatform platform;
    HeadlessPlatform::Scope scope{platform};
    ShowcaseEffect effect{recordingHost, createShowcaseEditor};
};

TEST_F(ShowcaseEditorValues, HostChangesReachTheControlsAtTheNextIdle) {
    for (int32_t i = 0; i < kControlCount; ++i)
        EXPECT_NE(editor().control(i), nullptr) << "control " << i;

    effect.setParameter(kRocker, 0.0f);
    effect.setParameter(kDigits, 0.5f);
    effect.setParameter(kTextField, 0.25f);
    effect.setParameter(kPopupMenu, 1.0f);
    effect.setParameter(kAnimation, 1.0f);
    EXPECT_EQ(editor().control(kRocker)->getValue(), -1.0f);
    EXPECT_EQ(editor().control(kDigits)->getValue(), 500.0f);
    editor().idle();
    char text[256];
    static_cast<TextField*>(editor().control(kTextField))->getText(text);
    EXPECT_STREQ(text, "0.25");
    EXPECT_EQ(static_cast<PopupMenu*>(editor().control(kPopupMenu))->getCurrent(), 3);
    EXPECT_TRUE(static_cast<LoopAnimation*>(editor().control(kAnimation))->isOpen());
}

TEST_F(ShowcaseEditorValues, ControlChangesReachTheHostAsParameterValues) {
    auto* field = static_cast<TextField*>(editor().control(kTextField));
    field->setText(" .75 dB");
    EXPECT_EQ(reported(kTextField), 0.75f);
    field->setText("0.3");
    EXPECT_EQ(reported(kTextField), 0.3f);
    field->setText("7"); // beyond the range: the top of it
    EXPECT_EQ(reported(kTextField), 1.0f);
    field->setText("abc"); // no number
    EXPECT_EQ(reported(kTextField), 0.0f);

    static_cast<PopupMenu*>(editor().control(kPopupMenu))->setCurrent(2);
    EXPECT_EQ(reported(kPopupMenu), 2.0f / 3.0f);
    editor().control(kRocker)->setValue(1.0f);
    EXPECT_EQ(reported(kRocker), 1.0f);
    editor().control(kDigits)->setValue(999.0f);
    EXPECT_EQ(reported(kDigits), 1.0f);
}

} // namespace
