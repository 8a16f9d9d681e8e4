// A popup menu opened through its frame's window on the headless platform: the panel placed
// under the display, keyboard and pointer choices (titles, greyed entries and separators
// skipped; the release of the opening click chooses nothing), a click outside closing with no
// choice, the host serviced while the menu is open, no layer left when the editor closes
// meanwhile or when none can be made, and (newer) submenus with the arrow keys.
#include "gui/popup_menu.h"
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <vector>

using namespace frame_test;
using platform::KeyCode;
using platform::PopupPointer;

namespace {

struct Recorder : ControlListener {
    void valueChanged(DrawContext*, Control* control) override {
        menus.push_back(static_cast<PopupMenu*>(control));
        values.push_back(control->getValue());
    }
    std::vector<PopupMenu*> menus;
    std::vector<float> values;
};

class MenuWindow : public OpenEditorFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(openEditor(Rect(0, 0, 200, 100)));
        window()->setScreenOrigin(300, 200);
        menu = new PopupMenu(Rect(10, 20, 90, 36), &recorder, 4, nullptr, nullptr, 0);
        for (const char* entry : {"one", "-", "-Ttitle", "two", "-Ggrey", "three"})
            menu->addEntry(entry);
        ASSERT_TRUE(frame->addView(menu));
    }

    // Clicks the menu open; the popup script queued before runs while it is open.
    void openMenu() {
        platform.click(*window(), 20, 25);
        frame->idle();
    }

    PopupMenu* menu = nullptr;
    Recorder recorder;
};

// The panel's entries, top down: one 0..18, separator 18..24, title 24..42, two 42..60.
constexpr int32_t kPanelLeft = 310; // window origin + the display's left
constexpr int32_t kPanelTop = 236;  // window origin + the display's bottom

TEST_F(MenuWindow, TheKeyboardSkipsWhatCannotBeChosen) {
    platform.popupKey(KeyCode::Down);
    platform.popupKey(KeyCode::Down);
    platform.popupKey(KeyCode::Enter);
    openMenu();
    EXPECT_EQ(platform.popupsOpened(), 1);
    EXPECT_EQ(platform.popupsOpen(), 0);
    ASSERT_EQ(platform.shownPanelAreas().size(), 1u);
    EXPECT_EQ(platform.shownPanelAreas()[0].left, kPanelLeft);
    EXPECT_EQ(platform.shownPanelAreas()[0].top, kPanelTop);
    EXPECT_EQ(platform.shownPanelAreas()[0].bottom - kPanelTop, 18 + 6 + 18 + 18 + 18 + 18);
    EXPECT_EQ(recorder.values, std::vector<float>{3.0f});
    EXPECT_EQ(menu->getCurrent(), 3);

    platform.popupKey(KeyCode::End);
    platform.popupKey(KeyCode::Up); // past the greyed entry, onto "two"
    platform.popupKey(KeyCode::Home);
    platform.popupKey(KeyCode::KeypadEnter);
    openMenu();
    EXPECT_EQ(recorder.values, (std::vector<float>{3.0f, 0.0f}));
}

TEST_F(MenuWindow, APointerReleaseOnAnEntryChoosesItButNotTheOpeningOne) {
    platform.popupPointer(PopupPointer::Release, kPanelLeft + 10, kPanelTop + 5); // opening click
    platform.popupPointer(PopupPointer::Move, kPanelLeft + 10, kPanelTop + 30);   // the title
    platform.popupClick(kPanelLeft + 10, kPanelTop + 30); // nothing: a title
    platform.popupClick(kPanelLeft + 10, kPanelTop + 50);
    openMenu();
    EXPECT_EQ(recorder.values, std::vector<float>{3.0f});
    EXPECT_EQ(platform.popupStepsLeft(), 0u);
    EXPECT_EQ(platform.popupsOpen(), 0);
}

TEST_F(MenuWindow, AClickOutsideClosesWithNoChoiceAndReachesNoView) {
    platform.popupClick(5, 5);
    platform.popupKey(KeyCode::Enter); // never read: the menu is closed
    openMenu();
    EXPECT_TRUE(recorder.values.empty());
    EXPECT_EQ(platform.popupStepsLeft(), 2u); // the release and Enter
    EXPECT_EQ(platform.popupsOpen(), 0);
    EXPECT_EQ(window()->pendingEvents(), 0u);

    platform.popupKey(KeyCode::Down); // Escape as well
    platform.popupKey(KeyCode::Escape);
    platform.popupKey(KeyCode::Enter);
    openMenu();
    EXPECT_TRUE(recorder.values.empty());
}

TEST_F(MenuWindow, TheHostIsServicedWhileTheMenuIsOpen) {
    int servicedOpen = 0;
    hostLog().onIdle = [&] { servicedOpen += platform.popupsOpen(); };
    for (int i = 0; i < 40; ++i)
        platform.popupPointer(PopupPointer::Move, kPanelLeft + 10, kPanelTop + 5);
    platform.popupKey(KeyCode::Escape);
    openMenu();
    EXPECT_GE(servicedOpen, 1);
    EXPECT_TRUE(recorder.values.empty());
}

TEST_F(MenuWindow, ClosingTheEditorWhileTheMenuIsOpenLeavesNothing) {
    hostLog().onIdle = [&] {
        hostLog().onIdle = nullptr;
        editor->close();
    };
    for (int i = 0; i < 40; ++i)
        platform.popupPointer(PopupPointer::Move, kPanelLeft + 10, kPanelTop + 5);
    platform.popupKey(KeyCode::Enter);
    openMenu();
    EXPECT_EQ(platform.popupsOpen(), 0);
    EXPECT_GT(platform.popupStepsLeft(), 0u); // it closed before the script ran out
    EXPECT_TRUE(recorder.values.empty());
    EXPECT_TRUE(platform.windows().empty());
}

TEST_F(MenuWindow, NoLayerMeansNoChoice) {
    platform.setRefusePopups(true);
    platform.popupKey(KeyCode::Enter);
    openMenu();
    EXPECT_EQ(platform.popupsOpened(), 0);
    EXPECT_TRUE(recorder.values.empty());
}

#if TOOLKIT_NEWER
TEST_F(MenuWindow, ArrowKeysOpenAndCloseSubmenus) {
    auto* sub = new PopupMenu(Rect(0, 0, 10, 10), nullptr, 5, nullptr, nullptr, 0);
    sub->addEntry("inner");
    sub->addEntry("second");
    ASSERT_TRUE(menu->addSubMenu(sub, "more"));
    sub->forget();
    platform.popupKey(KeyCode::End); // "more"
    platform.popupKey(KeyCode::Right);
    platform.popupKey(KeyCode::Left); // back to the main panel
    platform.popupKey(KeyCode::Right);
    platform.popupKey(KeyCode::Down);
    platform.popupKey(KeyCode::Enter);
    openMenu();
    ASSERT_EQ(platform.shownPanelAreas().size(), 2u);
    EXPECT_EQ(platform.shownPanelAreas()[1].left, platform.shownPanelAreas()[0].right);
    ASSERT_EQ(recorder.menus.size(), 1u);
    EXPECT_EQ(recorder.menus[0], sub);
    EXPECT_EQ(sub->getCurrent(), 1);
}
#endif

} // namespace
