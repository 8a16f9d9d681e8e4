// MenuTree: a popup menu as built for showing: panels of items (the main menu first, then
// every submenu in building order), each item with its kind, text, check mark, column break
// and command id. MenuPresenter is what shows a tree, tracks the user's choice and answers its
// command id: the toolkit's own (menu_window.h) or a window system's native one.
//
// Plain data; GUI thread.
#pragma once

#include "gui/geometry.h"

#include <cstdint>
#include <vector>

class EditorFrame;
class PopupMenu;
class MenuLook;

struct MenuItem {
    enum class Kind : int32_t {
        Normal,
        Separator, // "-": a line, no text, no command
        Greyed,    // "-G": shown greyed, not selectable
        Title,     // "-T": shown disabled, not selectable
        SubMenu,   // "-M": opens panel `subPanel`
    };
    Kind kind = Kind::Normal;
    const char* text = ""; // without its prefix; points into the owning menu's entry
    bool checked = false;
    bool columnBreak = false; // starts a new column
    int32_t commandId = -1;   // Normal entries only
    int32_t subPanel = -1;    // SubMenu entries only

    bool selectable() const { return kind == Kind::Normal; }
};

struct MenuPanel {
    PopupMenu* menu = nullptr; // whose entries these are
    int32_t firstId = 0;       // command id of the menu's entry 0
    std::vector<MenuItem> items;
};

struct MenuTree {
    std::vector<MenuPanel> panels; // panels[0] is the main menu
    MenuLook* look = nullptr;      // the owner-drawn look, when the menu has one

    // The menu owning a command id and the entry index in it; false for an unknown id.
    bool resolve(int32_t commandId, PopupMenu*& menu, int32_t& index) const;
};

// Where and how a menu opens.
struct MenuPlacement {
    Point position;               // screen coordinates of the menu's top-left corner
    bool rightButton = false;     // the right button may choose too
    EditorFrame* frame = nullptr; // the frame the menu opens from (its window and idle pump)
};

class MenuPresenter {
  public:
    // Shows the tree until the user chooses or cancels, keeping the host serviced; answers
    // the chosen command id, or -1 for no choice.
    virtual int32_t track(const MenuTree& tree, const MenuPlacement& placement) = 0;

  protected:
    ~MenuPresenter() = default;
};

// Menus use their frame's presenter (EditorFrame::getMenuPresenter: the one set, else the
// window's native one; none: the window presenter of menu_window.h).
