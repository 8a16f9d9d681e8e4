// Drawing an open menu: entry sizes measured through a look, and one open panel painted into
// a picture of its own (entries by the look, an arrow on submenu entries, a border), which a
// menu window then shows at the panel's place on the screen.
//
// GUI thread; no state beyond the look (not owned).
#pragma once

#include "gui/menu_look.h"
#include "gui/menu_navigation.h"
#include "gui/platform/pixel_surface.h"

// An entry's size as the look measures it, with room added at the right of every entry but a
// separator, as desktop menus keep: the text does not run into the border, and a submenu
// entry's arrow does not cover its text.
class LookMeasure final : public MenuItemMeasure {
  public:
    static constexpr int32_t kRightMargin = 16;

    explicit LookMeasure(MenuLook& look) : look(look) {}
    Point measure(const MenuItem& item) override;

  private:
    MenuLook& look;
};

// Paints `panel` into `picture`, which it sizes to the panel's bounds.
void paintMenuPanel(const MenuTree& tree, const MenuNavigator::OpenPanel& panel, MenuLook& look,
                    PixelSurface& picture);
