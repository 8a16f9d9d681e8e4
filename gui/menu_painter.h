// Drawing an open menu: entry sizes measured through a look, and one open panel painted into
// a picture of its own (entries by the look, an arrow on submenu entries, a border), which a
// menu window then shows at the panel's place on the screen.
//
// GUI thread; no state beyond the look (not owned).
#pragma once

#include "gui/menu_look.h"
#include "gui/menu_navigation.h"
#include "gui/pixel_surface.h"

class LookMeasure final : public MenuItemMeasure {
  public:
    explicit LookMeasure(MenuLook& look) : look(look) {}
    Point measure(const MenuItem& item) override;

  private:
    MenuLook& look;
};

// Paints `panel` into `picture`, which it sizes to the panel's bounds.
void paintMenuPanel(const MenuTree& tree, const MenuNavigator::OpenPanel& panel, MenuLook& look,
                    PixelSurface& picture);
