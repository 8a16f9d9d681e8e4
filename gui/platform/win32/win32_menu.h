// Win32MenuPresenter: an option menu as the system's own popup menu, built from the menu's
// tree (check marks, greyed entries, titles shown disabled, separators, submenus, column
// breaks; every entry owner-drawn by the menu's look when it has one) and tracked at the
// placement's screen point with the left button (and the right one when the menu was opened with
// it). While it is open the editor's idle pump keeps running; when the host closes the editor
// meanwhile the menu closes with no choice. The press that closed the menu is taken from the frame
// window's queue so it reaches nothing.
//
// Stateless between menus. GUI thread; track() blocks until the menu closes.
#pragma once

#include "gui/menu_tree.h"

#include <windows.h>

class Win32MenuPresenter final : public MenuPresenter {
  public:
    int32_t track(const MenuTree& tree, const MenuPlacement& placement) override;

    // The system menu of the tree's panel `panel` and its submenus; null when it cannot be
    // made. A chosen entry answers its command id + 1 (0 is no choice).
    static HMENU buildMenu(const MenuTree& tree, size_t panel);
    // For the owner window's procedure: measures or draws an entry of the menu open now
    // through its look; false for any other message.
    static bool ownerDrawMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};
