// WindowMenuPresenter: shows an open menu in a popup layer of the frame's platform window: one
// panel per open menu level, placed and kept on the screen by the navigator, painted through
// the menu's look (or a default one), with the pointer and keyboard grabbed. While the menu is
// open the editor's idle pump keeps running, so the host's audio and the editor's other views
// go on; the press that closes the menu is taken by the layer and never reaches the editor.
// The menu closes with no choice when the layer cannot be made or is lost, and when the editor
// is closed while it is open.
//
// Stateless between menus. GUI thread; track() blocks until the menu closes.
#pragma once

#include "gui/menu_tree.h"

class WindowMenuPresenter final : public MenuPresenter {
  public:
    int32_t track(const MenuTree& tree, const MenuPlacement& placement) override;
};

// The process's one window presenter, used by menus when no other is set.
WindowMenuPresenter& windowMenuPresenter();
