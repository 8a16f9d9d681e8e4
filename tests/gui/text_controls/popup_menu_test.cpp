// Popup menus: the entry list (insertion, the 1024-entry limit, removal keeping the current
// index valid, checks), how entries are built (prefixes, check marks, columns, submenus and
// their command ids, a menu inside itself), where the menu opens, what a choice does, and the
// owner-drawn look.
#include "gui/draw_context.h"
#include "gui/platform/pixel_surface.h"
#include "gui/popup_menu.h"
#if TOOLKIT_NEWER
#include "gui/menu_look.h"
#endif
#include "tests/gui/frame/frame_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace frame_test;

namespace {

using Kind = MenuItem::Kind;

struct Recorder : ControlListener {
    void valueChanged(DrawContext*, Control* control) override {
        menus.push_back(static_cast<PopupMenu*>(control));
        values.push_back(control->getValue());
    }
    std::vector<PopupMenu*> menus;
    std::vector<float> values;
};

// Chooses a fixed command id and records what it was shown.
struct ScriptedPresenter : MenuPresenter {
    int32_t track(const MenuTree& tree, const MenuPlacement& placement) override {
        ++calls;
        where = placement.position;
        rightButton = placement.rightButton;
        panels = tree.panels.size();
        return answer;
    }
    int32_t answer = -1;
    int calls = 0;
    Point where;
    bool rightButton = false;
    size_t panels = 0;
};

PopupMenu* makeMenu(ControlListener* listener = nullptr, int32_t style = 0) {
    return new PopupMenu(Rect(10, 20, 90, 36), listener, 4, nullptr, nullptr, style);
}

TEST(PopupMenuList, InsertionMovesTheCurrentEntryAndTheListStopsAt1024) {
    PopupMenu* menu = makeMenu();
    EXPECT_EQ(menu->getCurrent(), -1);
    EXPECT_TRUE(menu->addEntry("b"));
    EXPECT_EQ(menu->getCurrent(), 0); // the first entry becomes current
    EXPECT_TRUE(menu->addEntry("a", 0));
    EXPECT_EQ(menu->getCurrent(), 1);         // still on "b"
    EXPECT_TRUE(menu->addEntry(nullptr, 99)); // appended, as ""
    char text[256];
    ASSERT_TRUE(menu->getEntry(2, text));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(menu->getIndex("b"), 1);
    EXPECT_EQ(menu->getIndex("zz"), -1);
    EXPECT_FALSE(menu->getEntry(3, text));
    EXPECT_FALSE(menu->setEntry(-1, "x"));
    EXPECT_TRUE(menu->setEntry(2, std::string(400, 'y').c_str()));
    menu->getEntry(2, text);
    EXPECT_EQ(std::strlen(text), 255u);

    while (menu->getEntryCount() < PopupMenu::kMaxEntries)
        ASSERT_TRUE(menu->addEntry("more"));
    EXPECT_FALSE(menu->addEntry("one too many"));
    EXPECT_FALSE(menu->addEntry("one too many", 0));
    EXPECT_EQ(menu->getEntryCount(), 1024);
    menu->forget();
}

TEST(PopupMenuList, RemovalKeepsTheCurrentIndexValid) {
    PopupMenu* menu = makeMenu();
    for (const char* text : {"a", "b", "c"})
        menu->addEntry(text);
    menu->setCurrent(1);
    menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), 0); // still on "b"
    menu->setCurrent(1);
    menu->removeEntry(1); // the current, last entry goes
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_FALSE(menu->removeEntry(5));
    menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), -1);
    EXPECT_EQ(menu->getEntryCount(), 0);
    menu->addEntry("x");
    menu->removeAllEntries();
    EXPECT_EQ(menu->getCurrent(), -1);
    menu->forget();
}

TEST(PopupMenuList, ChecksMoveWithTheirEntries) {
    PopupMenu* menu = makeMenu();
    for (const char* text : {"a", "b", "c"})
        menu->addEntry(text);
    EXPECT_TRUE(menu->checkEntry(2, true));
    menu->removeEntry(0);
    EXPECT_TRUE(menu->isEntryChecked(1));
    EXPECT_TRUE(menu->checkEntryAlone(0));
    EXPECT_TRUE(menu->isEntryChecked(0));
    EXPECT_FALSE(menu->isEntryChecked(1));
    EXPECT_FALSE(menu->isEntryChecked(9));
    EXPECT_FALSE(menu->checkEntry(-1, true));
    menu->forget();
}

TEST(PopupMenuBuild, PrefixesMakeSeparatorsGreyedEntriesAndTitles) {
    PopupMenu* menu = makeMenu(nullptr, kMenuCheckCurrent);
    for (const char* text : {"-", "-Gword", "-Tword", "plain", "-Xother"})
        menu->addEntry(text);
    EXPECT_TRUE(menu->setCurrent(3));
    EXPECT_EQ(menu->getCurrent(nullptr, false), 1); // only the greyed entry counts
    char text[256];
    menu->getCurrent(text);
    EXPECT_STREQ(text, "plain");
    EXPECT_FALSE(menu->setCurrent(0));       // a separator
    EXPECT_TRUE(menu->setCurrent(2, false)); // the third countable entry
    EXPECT_EQ(menu->getCurrent(), 4);
    menu->setCurrent(3);

    MenuTree tree;
    menu->buildTree(tree);
    ASSERT_EQ(tree.panels.size(), 1u);
    const std::vector<MenuItem>& items = tree.panels[0].items;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].kind, Kind::Separator);
    EXPECT_EQ(items[1].kind, Kind::Greyed);
    EXPECT_STREQ(items[1].text, "word");
    EXPECT_EQ(items[2].kind, Kind::Title);
    EXPECT_EQ(items[3].kind, Kind::Normal);
    EXPECT_TRUE(items[3].checked); // style 0x400: the current entry
    EXPECT_EQ(items[3].commandId, 3);
    EXPECT_STREQ(items[4].text, "-Xother");
    EXPECT_FALSE(items[4].checked);
    for (int i : {0, 1, 2})
        EXPECT_FALSE(items[i].selectable());
    menu->forget();
}

TEST(PopupMenuBuild, CheckFlagsShowWithStyleBitOne) {
    PopupMenu* menu = makeMenu(nullptr, kMenuMultipleCheck);
    menu->addEntry("a");
    menu->addEntry("b");
    menu->checkEntry(1, true);
    MenuTree tree;
    menu->buildTree(tree);
    EXPECT_FALSE(tree.panels[0].items[0].checked); // current, but 0x400 is not set
    EXPECT_TRUE(tree.panels[0].items[1].checked);
    menu->forget();
}

TEST(PopupMenuBuild, ColumnsStartEveryNEntriesBelow160) {
    PopupMenu* menu = makeMenu();
    for (int i = 0; i < 10; ++i)
        menu->addEntry("e");
    menu->setItemsPerColumn(4);
    MenuTree tree;
    menu->buildTree(tree);
    std::vector<int> breaks;
    for (size_t i = 0; i < tree.panels[0].items.size(); ++i)
        if (tree.panels[0].items[i].columnBreak) breaks.push_back(static_cast<int>(i));
    EXPECT_EQ(breaks, (std::vector<int>{4, 8}));

    while (menu->getEntryCount() < PopupMenu::kColumnEntryLimit)
        menu->addEntry("e");
    menu->buildTree(tree);
    for (const MenuItem& item : tree.panels[0].items)
        ASSERT_FALSE(item.columnBreak);
    menu->forget();
}

class PopupMenuOpen : public OpenEditorFixture {
  protected:
    void SetUp() override {
        ASSERT_TRUE(openEditor(Rect(0, 0, 200, 100)));
        frame->setMenuPresenter(&presenter);
        window()->setScreenOrigin(300, 200);
    }
    PopupMenu* addMenu(int32_t style = 0) {
        PopupMenu* menu = makeMenu(&recorder, style);
        EXPECT_TRUE(frame->addView(menu));
        return menu;
    }
    void clickAt(int32_t x, int32_t y) {
        platform.click(*window(), x, y);
        frame->idle();
    }

    ScriptedPresenter presenter;
    Recorder recorder;
};

TEST_F(PopupMenuOpen, OpensBelowOrAtTheTopOnTheScreen) {
    PopupMenu* menu = addMenu();
    menu->addEntry("a");
    clickAt(20, 25);
    EXPECT_EQ(presenter.calls, 1);
    EXPECT_EQ(presenter.where, Point(310, 236));
    EXPECT_FALSE(presenter.rightButton);
    EXPECT_EQ(frame->getEditView(), nullptr); // back after the popup
    EXPECT_TRUE(recorder.values.empty());     // no choice, nothing reported
    menu->setStyle(kMenuOpenAtTop);
    clickAt(20, 25);
    EXPECT_EQ(presenter.where, Point(310, 220));
}

#if !TOOLKIT_NEWER
TEST_F(PopupMenuOpen, AChoiceBecomesCurrentTogglesItsCheckAndIsReported) {
    PopupMenu* menu = addMenu(kMenuMultipleCheck);
    for (const char* text : {"a", "b", "c"})
        menu->addEntry(text);
    presenter.answer = 2;
    clickAt(20, 25);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_TRUE(menu->isEntryChecked(2));
    EXPECT_EQ(recorder.values, std::vector<float>{2.0f});
    EXPECT_FALSE(menu->isDirty()); // drawn at once
    clickAt(20, 25);
    EXPECT_FALSE(menu->isEntryChecked(2));
    presenter.answer = 7; // not an entry: no choice
    clickAt(20, 25);
    EXPECT_EQ(recorder.values.size(), 2u);
}
#else
TEST_F(PopupMenuOpen, CommandIdsRunAcrossSubmenusAndAChoiceGoesToItsOwner) {
    PopupMenu* menu = addMenu();
    PopupMenu* colours = makeMenu(nullptr, kMenuMultipleCheck);
    PopupMenu* shades = makeMenu();
    for (const char* text : {"red", "green"})
        colours->addEntry(text);
    for (const char* text : {"light", "mid", "dark"})
        shades->addEntry(text);
    colours->addSubMenu(shades, "shades");
    menu->addEntry("first");
    menu->addSubMenu(colours, "colours");
    menu->addEntry("last");
    colours->forget(); // the menus hold them now
    shades->forget();

    MenuTree tree;
    menu->buildTree(tree);
    ASSERT_EQ(tree.panels.size(), 3u);
    EXPECT_EQ(tree.panels[0].items[1].kind, Kind::SubMenu);
    EXPECT_STREQ(tree.panels[0].items[1].text, "colours");
    EXPECT_EQ(tree.panels[0].items[1].subPanel, 1);
    EXPECT_EQ(tree.panels[0].items[2].commandId, 2);
    EXPECT_EQ(tree.panels[1].items[1].commandId, 4); // the main menu's three ids come first
    EXPECT_EQ(tree.panels[1].items[2].subPanel, 2);
    EXPECT_EQ(tree.panels[2].items[0].commandId, 6);

    presenter.answer = 4; // "green"
    clickAt(20, 25);
    ASSERT_EQ(recorder.menus.size(), 1u);
    EXPECT_EQ(recorder.menus[0], colours);
    EXPECT_EQ(colours->getCurrent(), 1);
    EXPECT_TRUE(colours->isEntryChecked(1));
    EXPECT_EQ(menu->getCurrent(), 0);
    EXPECT_EQ(menu->getLastResult(), 4);
    presenter.answer = 8; // "dark"
    clickAt(20, 25);
    EXPECT_EQ(recorder.menus.back(), shades);
    EXPECT_EQ(shades->getCurrent(), 2);
}

TEST_F(PopupMenuOpen, AMenuCannotHoldItself) {
    PopupMenu* menu = addMenu();
    PopupMenu* inner = makeMenu();
    menu->addEntry("a");
    EXPECT_FALSE(menu->addSubMenu(menu, "myself"));
    inner->addEntry("b");
    EXPECT_TRUE(inner->addSubMenu(menu, "around"));
    EXPECT_FALSE(menu->addSubMenu(inner, "inner")); // would close the circle
    EXPECT_EQ(menu->getEntryCount(), 1);
    MenuTree tree;
    inner->buildTree(tree);
    EXPECT_EQ(tree.panels.size(), 2u);
    clickAt(20, 25);
    EXPECT_EQ(presenter.panels, 1u);
    inner->forget();
}

TEST(MenuLookDraw, MeasuresAndDrawsEntries) {
    MenuLook* look = new MenuLook;
    PixelSurface surface(120, 40, 0);
    DrawContext context(nullptr, &surface, nullptr);
    MenuItem separator;
    separator.kind = Kind::Separator;
    EXPECT_EQ(look->measure(context, separator), Point(6, 6));
    MenuItem entry;
    entry.text = "Entry";
    context.setFont(4);
    const int32_t width = context.getStringWidth("Entry");
    EXPECT_EQ(look->measure(context, entry), Point(width + 18, 18));

    look->draw(context, Rect(0, 0, 100, 19), entry, kMenuItemChecked | kMenuItemSelected);
    EXPECT_EQ(surface.row(10)[1], look->highlightColour.toPixel());
    EXPECT_EQ(surface.row(4)[6], look->highlightTextColour.toPixel()); // the check box
    EXPECT_EQ(surface.row(11)[13], look->highlightTextColour.toPixel());
    EXPECT_EQ(surface.row(12)[14], look->highlightColour.toPixel());
    look->draw(context, Rect(0, 20, 100, 26), separator, 0);
    EXPECT_EQ(surface.row(22)[50], BlackColour.toPixel());
    EXPECT_EQ(surface.row(23)[50], WhiteColour.toPixel());
    EXPECT_EQ(surface.row(24)[50], look->menuColour.toPixel());
    EXPECT_EQ(surface.row(22)[1], look->menuColour.toPixel()); // 2 pixels in from the side

    PopupMenu* menu = makeMenu();
    menu->setMenuLook(look);
    look->forget();
    EXPECT_EQ(look->getReferenceCount(), 1);
    MenuTree tree;
    menu->buildTree(tree);
    EXPECT_EQ(tree.look, look);
    menu->forget();
}
#endif

} // namespace
