// Menu panels measured and painted through a look.
#include "gui/menu_painter.h"

#include "gui/draw_context.h"

Point LookMeasure::measure(const MenuItem& item) {
    DrawContext context(nullptr, nullptr, nullptr); // measuring needs no surface
    Point size = look.measure(context, item);
    if (item.kind != MenuItem::Kind::Separator) size.h += kRightMargin;
    return size;
}

void paintMenuPanel(const MenuTree& tree, const MenuNavigator::OpenPanel& panel, MenuLook& look,
                    PixelSurface& picture) {
    const Rect& bounds = panel.bounds;
    if (picture.width != bounds.getWidth() || picture.height != bounds.getHeight())
        picture = PixelSurface(bounds.getWidth(), bounds.getHeight());
    DrawContext context(nullptr, &picture, nullptr);
    context.setOffset(Point(-bounds.left, -bounds.top));
    const MenuPanel& items = tree.panels[static_cast<size_t>(panel.panel)];
    for (size_t i = 0; i < panel.items.size(); ++i) {
        const MenuItem& item = items.items[i];
        const bool selected = static_cast<int32_t>(i) == panel.highlighted;
        const int32_t state =
            (item.checked ? kMenuItemChecked : 0) |
            (item.selectable() || item.kind == MenuItem::Kind::SubMenu ? 0 : kMenuItemDisabled) |
            (selected ? kMenuItemSelected : 0);
        const Rect& rect = panel.items[i];
        look.draw(context, rect, item, state);
        if (item.kind == MenuItem::Kind::SubMenu) {
            // A small arrow pointing right, vertically centred, 8 pixels from the edge.
            const int32_t middle = (rect.top + rect.bottom) / 2;
            context.setFrameColour(selected ? look.highlightTextColour : look.menuTextColour);
            for (int32_t k = 0; k < 4; ++k) {
                context.moveTo(Point(rect.right - 12 + k, middle - 3 + k));
                context.lineTo(Point(rect.right - 12 + k, middle + 4 - k));
            }
        }
    }
    // The border, over the outermost pixels of the entries.
    context.setFrameColour(look.greyedColour);
    context.drawRect(Rect(bounds.left, bounds.top, bounds.right - 1, bounds.bottom - 1));
}
