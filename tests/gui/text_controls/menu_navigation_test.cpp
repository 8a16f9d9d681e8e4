// An open menu without a window: keyboard navigation past entries that cannot be chosen,
// submenus opened and closed with the keys and the pointer, columns side by side, panels kept
// on the screen, choosing with the pointer and cancelling with a press outside.
#include "gui/menu_navigation.h"
#include "gui/menu_painter.h"

#include <gtest/gtest.h>

namespace {

using Kind = MenuItem::Kind;
using Outcome = MenuNavigator::Outcome;

// Entries 100 x 20, separators 100 x 6.
struct FixedMeasure final : MenuItemMeasure {
    Point measure(const MenuItem& item) override {
        return item.kind == Kind::Separator ? Point(100, 6) : Point(100, 20);
    }
};

MenuItem entry(Kind kind, int32_t id = -1, int32_t subPanel = -1) {
    MenuItem item;
    item.kind = kind;
    item.text = "x";
    item.commandId = id;
    item.subPanel = subPanel;
    return item;
}

// Main: title, one, separator, greyed, submenu (panel 1), two.  Panel 1: a, b.
MenuTree makeTree() {
    MenuTree tree;
    tree.panels.resize(2);
    tree.panels[0].items = {entry(Kind::Title),          entry(Kind::Normal, 1),
                            entry(Kind::Separator),      entry(Kind::Greyed),
                            entry(Kind::SubMenu, -1, 1), entry(Kind::Normal, 5)};
    tree.panels[1].items = {entry(Kind::Normal, 6), entry(Kind::Normal, 7)};
    return tree;
}

const Rect kScreen(0, 0, 1000, 800);

TEST(MenuKeys, ArrowsSkipWhatCannotBeChosenAndWrap) {
    MenuTree tree = makeTree();
    FixedMeasure measure;
    MenuNavigator menu(tree, measure, kScreen, Point(10, 10));
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, -1);
    menu.key(MenuKey::Down);
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, 1);
    menu.key(MenuKey::Down); // past the separator and the greyed entry
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, 4);
    menu.key(MenuKey::Down);
    menu.key(MenuKey::Down); // wraps past the title
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, 1);
    menu.key(MenuKey::Up);
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, 5);
    menu.key(MenuKey::Home);
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, 1);
    menu.key(MenuKey::End);
    EXPECT_EQ(menu.key(MenuKey::Enter), Outcome::Chosen);
    EXPECT_EQ(menu.getChosenId(), 5);
}

TEST(MenuKeys, RightOpensLeftAndEscapeCloseOneLevelThenEscapeCancels) {
    MenuTree tree = makeTree();
    FixedMeasure measure;
    MenuNavigator menu(tree, measure, kScreen, Point(10, 10));
    menu.key(MenuKey::End);
    menu.key(MenuKey::Up); // the submenu entry
    menu.key(MenuKey::Right);
    ASSERT_EQ(menu.getOpenPanels().size(), 2u);
    EXPECT_EQ(menu.getOpenPanels()[1].highlighted, 0);
    // Beside its entry: entry 4 lies at 10 + 20 + 20 + 6 + 20 = 76.
    EXPECT_EQ(menu.getOpenPanels()[1].bounds, Rect(110, 76, 210, 116));
    menu.key(MenuKey::Left);
    EXPECT_EQ(menu.getOpenPanels().size(), 1u);
    menu.key(MenuKey::Enter); // Enter on a submenu entry opens it too
    menu.key(MenuKey::Down);
    EXPECT_EQ(menu.key(MenuKey::Escape), Outcome::Open);
    EXPECT_EQ(menu.getOpenPanels().size(), 1u);
    EXPECT_EQ(menu.key(MenuKey::Escape), Outcome::Cancelled);
    EXPECT_EQ(menu.getChosenId(), -1);
}

TEST(MenuPointer, HoverOpensSubmenusReleaseChoosesAndAPressOutsideCancels) {
    MenuTree tree = makeTree();
    FixedMeasure measure;
    MenuNavigator menu(tree, measure, kScreen, Point(10, 10));
    menu.pointerMove(Point(50, 80)); // the submenu entry
    ASSERT_EQ(menu.getOpenPanels().size(), 2u);
    EXPECT_EQ(menu.getOpenPanels()[1].highlighted, -1);
    menu.pointerMove(Point(150, 100)); // "b" in the submenu
    EXPECT_EQ(menu.getOpenPanels()[1].highlighted, 1);
    menu.pointerMove(Point(50, 60)); // the greyed entry: no highlight, submenu closed
    EXPECT_EQ(menu.getOpenPanels().size(), 1u);
    EXPECT_EQ(menu.getOpenPanels()[0].highlighted, -1);
    EXPECT_EQ(menu.pointerRelease(Point(50, 60)), Outcome::Open); // greyed: not chosen
    menu.pointerMove(Point(50, 80));
    EXPECT_EQ(menu.pointerRelease(Point(150, 85)), Outcome::Chosen);
    EXPECT_EQ(menu.getChosenId(), 6);

    MenuNavigator other(tree, measure, kScreen, Point(10, 10));
    EXPECT_EQ(other.pointerPress(Point(50, 50)), Outcome::Open);
    EXPECT_EQ(other.pointerPress(Point(500, 500)), Outcome::Cancelled);
}

TEST(MenuLayout, ColumnsSitSideBySideAndPanelsStayOnTheScreen) {
    MenuTree tree = makeTree();
    tree.panels[0].items[3].columnBreak = true;
    FixedMeasure measure;
    MenuNavigator menu(tree, measure, kScreen, Point(950, 790));
    const MenuNavigator::OpenPanel& main = menu.getOpenPanels()[0];
    // Two columns: 20 + 20 + 6 high and 3 x 20 high, 200 wide, pushed inside the screen.
    EXPECT_EQ(main.bounds, Rect(800, 740, 1000, 800));
    EXPECT_EQ(main.items[3], Rect(900, 740, 1000, 760));
    menu.key(MenuKey::End);
    menu.key(MenuKey::Up);
    menu.key(MenuKey::Right); // no room at the right: the submenu opens at the left
    EXPECT_EQ(menu.getOpenPanels()[1].bounds, Rect(800, 760, 900, 800));
}

TEST(MenuPaint, ThePanelPictureShowsTheHighlightAndTheBorder) {
    MenuTree tree = makeTree();
    MenuLook* look = new MenuLook;
    LookMeasure measure(*look);
    MenuNavigator menu(tree, measure, kScreen, Point(10, 10));
    menu.key(MenuKey::Down); // entry 1
    const MenuNavigator::OpenPanel& panel = menu.getOpenPanels()[0];
    EXPECT_EQ(panel.items[1].getHeight(), MenuLook::kItemHeight);
    EXPECT_EQ(panel.items[2].getHeight(), MenuLook::kSeparatorSize);
    PixelSurface picture;
    paintMenuPanel(tree, panel, *look, picture);
    ASSERT_EQ(picture.width, panel.bounds.getWidth());
    const int32_t y1 = panel.items[1].top - panel.bounds.top + 2;
    const int32_t y5 = panel.items[5].top - panel.bounds.top + 2;
    EXPECT_EQ(picture.row(y1)[3], look->highlightColour.toPixel());
    EXPECT_EQ(picture.row(y5)[3], look->menuColour.toPixel());
    EXPECT_EQ(picture.row(y5)[0], look->greyedColour.toPixel());
    look->forget();
}

} // namespace
