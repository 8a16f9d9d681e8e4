// The showcase editor on the headless platform: its translation between control values and
// parameters where the real-window tests do not reach (the text field, the popup menu, the
// digit display, the loop animation and the rocker's range) in both directions, host to
// control at the next idle and control to host through automate; and its file strip, with a
// stand-in desktop dialog answering the OPEN FILE key and drops through the window's drop
// path.
#include "gui/buttons.h"
#include "gui/displays.h"
#include "gui/platform/headless/headless_platform.h"
#include "gui/platform/headless/headless_window.h"
#include "gui/popup_menu.h"
#include "gui/text_field.h"
#include "tests/gui/file_selector/stand_in_dialogs.h"
#include "tests/showcase/file_strip.h"
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
int gestures = 0; // begin and end edit calls

intptr_t recordingHost(AEffect*, int32_t opcode, int32_t index, intptr_t, void*, float opt) {
    if (opcode == audioMasterAutomate) automated.push_back({index, opt});
    if (opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit) ++gestures;
    return 0;
}

class ShowcaseEditorValues : public ::testing::Test {
  protected:
    void SetUp() override {
        automated.clear();
        gestures = 0;
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

using ShowcaseFileStrip = ShowcaseEditorValues;

// The centre of control `index` in window coordinates.
Point centreOf(int32_t index) {
    const Area a = controlArea(index);
    return Point(a.left + a.width / 2, a.top + a.height / 2);
}

TEST_F(ShowcaseFileStrip, OpenFileRunsALoadSelectorAndShowsTheChosenPathWithItsEndVisible) {
    StandInDialogs dialogs;
    const std::string path = dialogs.makeFile(
        "a folder with a rather long name/and another one below it/and a third/kick drum.wav");
    dialogs.install("zenity", {path});
    HeadlessWindow* window = platform.lastWindow();
    ASSERT_NE(window, nullptr);
    const Point key = centreOf(kOpenFile);
    platform.click(*window, key.h, key.v);
    editor().idle(); // the press, and the dialog inside it
    editor().idle(); // the display's redraw

    ASSERT_TRUE(dialogs.ran("zenity"));
    std::string arguments;
    for (const std::string& argument : dialogs.arguments("zenity"))
        arguments += argument + "\n";
    EXPECT_NE(arguments.find("--title=Open an audio file"), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("*.wav"), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("*.aif"), std::string::npos) << arguments;
    EXPECT_EQ(arguments.find("--multiple"), std::string::npos) << arguments;

    const std::string shown = static_cast<FileDisplay*>(editor().control(kFileDisplay))->getShown();
    EXPECT_EQ(shown.rfind("Chosen: ...", 0), 0u) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 25), "and a third/kick drum.wav") << shown;
    // The key is no parameter: the host hears neither a value nor a gesture.
    EXPECT_TRUE(automated.empty());
    EXPECT_EQ(gestures, 0);
}

TEST_F(ShowcaseFileStrip, FilesAndTextDroppedAnywhereOnThePanelShowOnTheDisplay) {
    HeadlessWindow* window = platform.lastWindow();
    ASSERT_NE(window, nullptr);
    auto* display = static_cast<FileDisplay*>(editor().control(kFileDisplay));

    // On a knob, which takes no drops: the drop reaches the file strip under it.
    const Point knob = centreOf(kKnob);
    EXPECT_EQ(window->drop(platform::kDropFiles,
                           "file:///tmp/no%20such/one.wav\r\nfile:///tmp/two.aif\r\n", knob.h,
                           knob.v),
              platform::DropOutcome::Taken);
    editor().idle();
    EXPECT_EQ(display->getShown(), "Dropped 2 files: one.wav, two.aif");

    // Text, between the cells, in UTF-8 over two lines.
    EXPECT_EQ(window->drop(platform::kDropText, "gr\xc3\xbc\xc3\x9f dich\nwelt", 3, 3),
              platform::DropOutcome::Taken);
    editor().idle();
    EXPECT_EQ(display->getShown(), "Dropped text: \"gr\xfc\xdf dich welt\"");
}

} // namespace
