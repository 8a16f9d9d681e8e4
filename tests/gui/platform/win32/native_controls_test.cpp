// The native edit control and popup menu under Wine, in a plain window of the test's own: the
// control's place, text and colours, how an edit ends and what it reports; the menu built from
// a tree; a file dialog given up by its idle pump.
#include "gui/platform/win32/win32_edit_box.h"
#include "gui/platform/win32/win32_file_dialog.h"
#include "gui/platform/win32/win32_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct EditRecord final : Win32EditControl::Listener {
    std::vector<std::string> changes;
    std::vector<bool> ends; // byEnter of each end
    std::unique_ptr<Win32EditControl> control;
    void editChanged(const std::string& text) override { changes.push_back(text); }
    void editEnded(bool byEnter) override {
        ends.push_back(byEnter);
        control.reset(); // as the toolkit's box does
    }
};

class NativeEdit : public ::testing::Test {
  protected:
    void SetUp() override {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        other = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 60, 50, 20, parent,
                                nullptr, nullptr, nullptr);
        settings.area = Rect(10, 20, 81, 39);
        settings.text = "0.50";
        settings.alignment = 2;
        settings.font = describeFont(3, 0);
        settings.fontColour = Colour{255, 255, 0, 0};
        settings.backColour = Colour{0, 0, 128, 0};
        record.control = Win32EditControl::open(parent, settings, record);
    }
    void TearDown() override {
        record.control.reset();
        DestroyWindow(parent);
    }

    HWND parent = nullptr;
    HWND other = nullptr;
    EditBoxSettings settings;
    EditRecord record;
};

TEST_F(NativeEdit, OpensOverTheAreaAlignedAndColouredAsTheField) {
    ASSERT_TRUE(record.control);
    const HWND edit = record.control->handle();
    RECT place;
    GetWindowRect(edit, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(std::vector<LONG>({place.left, place.top, place.right, place.bottom}),
              std::vector<LONG>({10, 20, 81, 39}));
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_RIGHT);

    HDC device = GetDC(edit);
    LRESULT brush = 0;
    EXPECT_TRUE(Win32EditControl::colourMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(device),
                                                reinterpret_cast<LPARAM>(edit), brush));
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(device), RGB(255, 255, 0));
    EXPECT_EQ(GetBkColor(device), RGB(0, 0, 128));
    EXPECT_FALSE(Win32EditControl::colourMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(device),
                                                 reinterpret_cast<LPARAM>(other), brush));
    ReleaseDC(edit, device);
}

TEST_F(NativeEdit, LosingTheFocusEndsTheEditWithItsTextAndDestroyingItReportsNothing) {
    SetWindowTextW(record.control->handle(), L"0.75\u266a");
    EXPECT_EQ(record.control->text(), "0.75?");
    SetFocus(other);
    EXPECT_EQ(record.ends, std::vector<bool>{false});
    EXPECT_FALSE(record.control);

    record.control = Win32EditControl::open(parent, settings, record);
    ASSERT_TRUE(record.control);
    record.control.reset();
    EXPECT_EQ(record.ends.size(), 1u);
    EXPECT_EQ(record.changes, std::vector<std::string>{"0.75?"});
}

TEST(NativeMenu, EveryKindOfEntryBecomesItsSystemMenuItem) {
    using Kind = MenuItem::Kind;
    auto item = [](Kind kind, const char* text, int32_t id = -1) {
        MenuItem made;
        made.kind = kind;
        made.text = text;
        made.commandId = id;
        made.checked = id == 0;
        made.columnBreak = id == 4;
        made.subPanel = kind == Kind::SubMenu ? 1 : -1;
        return made;
    };
    MenuTree tree;
    tree.panels.resize(2);
    tree.panels[0].items = {item(Kind::Normal, "Sine & Co", 0), item(Kind::Separator, ""),
                            item(Kind::Greyed, "Grey"),         item(Kind::Title, "Title"),
                            item(Kind::SubMenu, "More"),        item(Kind::Normal, "Saw", 4)};
    tree.panels[1].items = {item(Kind::Normal, "Deep", 7)};

    HMENU menu = Win32MenuPresenter::buildMenu(tree, 0);
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    wchar_t text[32];
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Sine && Co"); // shown as typed, not as a mnemonic
    auto state = [&](int at) { return GetMenuState(menu, at, MF_BYPOSITION); };
    EXPECT_EQ(GetMenuItemID(menu, 0), 1u);
    EXPECT_TRUE(state(0) & MF_CHECKED);
    EXPECT_TRUE(state(1) & MF_SEPARATOR);
    EXPECT_EQ(state(2) & (MF_GRAYED | MF_DISABLED), UINT(MF_GRAYED));
    EXPECT_EQ(state(3) & (MF_GRAYED | MF_DISABLED), UINT(MF_DISABLED));
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 4), 0), 8u);
    EXPECT_TRUE(state(5) & MF_MENUBREAK);
    DestroyMenu(menu);
}

TEST(NativeFileDialog, AnIdlePumpThatGivesUpClosesTheDialogAsCancelled) {
    platform::DialogRequest request;
    request.title = "Open an audio file";
    request.filters = {{"Wave (.wav)", {"*.wav"}}, {"Any Type (*.*)", {"*"}}};
    int calls = 0;
    const platform::DialogOutcome outcome =
        win32_file_dialog::run(request, [&] { return ++calls < 3; });
    EXPECT_EQ(outcome.status, platform::DialogStatus::Cancelled);
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(outcome.paths.empty());
}

} // namespace
