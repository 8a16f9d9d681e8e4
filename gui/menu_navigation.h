// MenuNavigator: the window-system-free behaviour of an open popup menu: the layout of each
// panel (entries stacked, columns side by side), where panels go on the screen (kept inside
// it; submenus beside their entry, flipped to the left when there is no room at the right),
// the highlighted entry under the keyboard (Up, Down, Home, End skip separators, greyed
// entries and titles; Right and Enter open a submenu, Left and Escape close one) and under the
// pointer (hover highlights and opens submenus, a release on an entry chooses it, a press
// outside every panel cancels). A platform menu window feeds it events and draws what it says.
//
// State: the tree (not owned), the screen, the open panels (outermost first) with their
// placement and highlight, the outcome. GUI thread; the layout allocates once per panel.
#pragma once

#include "gui/geometry.h"
#include "gui/menu_tree.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Sizes of entries as the menu will draw them.
class MenuItemMeasure {
  public:
    virtual Point measure(const MenuItem& item) = 0;

  protected:
    ~MenuItemMeasure() = default;
};

enum class MenuKey : int32_t { Up, Down, Home, End, Enter, Escape, Left, Right };

class MenuNavigator {
  public:
    enum class Outcome { Open, Chosen, Cancelled };

    struct OpenPanel {
        int32_t panel = 0;        // index into the tree's panels
        Rect bounds;              // on the screen
        std::vector<Rect> items;  // on the screen, one per item
        int32_t highlighted = -1; // item index, -1 for none
    };

    // Opens the main panel with its top-left corner at `position`, kept inside `screen`.
    MenuNavigator(const MenuTree& tree, MenuItemMeasure& measure, const Rect& screen,
                  const Point& position);

    Outcome key(MenuKey menuKey);
    Outcome pointerMove(const Point& where);
    Outcome pointerPress(const Point& where);
    Outcome pointerRelease(const Point& where);

    Outcome getOutcome() const { return outcome; }
    // The chosen entry's command id, -1 unless the outcome is Chosen.
    int32_t getChosenId() const { return chosenId; }
    const std::vector<OpenPanel>& getOpenPanels() const { return open; }

  private:
    const MenuItem& itemOf(const OpenPanel& panel, int32_t index) const;
    static bool navigable(const MenuItem& item);
    void openPanel(int32_t panelIndex, const Rect& beside, bool isMain);
    void openSubMenuOfHighlight(bool highlightFirst);
    void step(int32_t direction, bool fromEnd);
    // The deepest open panel and item at `where`; false when outside every panel.
    bool find(const Point& where, size_t& panel, int32_t& item) const;
    Outcome choose(const OpenPanel& panel, int32_t index);

    const MenuTree& tree;
    MenuItemMeasure& measure;
    Rect screen;
    std::vector<OpenPanel> open;
    Outcome outcome = Outcome::Open;
    int32_t chosenId = -1;
};
