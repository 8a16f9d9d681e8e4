// MenuNavigator: layout, placement, keyboard and pointer handling of an open menu.
#include "gui/menu_navigation.h"

MenuNavigator::MenuNavigator(const MenuTree& menuTree, MenuItemMeasure& itemMeasure,
                             const Rect& screenArea, const Point& position)
    : tree(menuTree), measure(itemMeasure), screen(screenArea) {
    if (tree.panels.empty()) {
        outcome = Outcome::Cancelled;
        return;
    }
    openPanel(0, Rect(position.h, position.v, position.h, position.v), true);
}

const MenuItem& MenuNavigator::itemOf(const OpenPanel& panel, int32_t index) const {
    return tree.panels[static_cast<size_t>(panel.panel)].items[static_cast<size_t>(index)];
}

bool MenuNavigator::navigable(const MenuItem& item) {
    return item.kind == MenuItem::Kind::Normal || item.kind == MenuItem::Kind::SubMenu;
}

void MenuNavigator::openPanel(int32_t panelIndex, const Rect& beside, bool isMain) {
    const MenuPanel& panel = tree.panels[static_cast<size_t>(panelIndex)];
    OpenPanel placed;
    placed.panel = panelIndex;
    placed.items.reserve(panel.items.size());

    // Entries stack downwards; a column break starts a new column to the right. Every entry of
    // a column takes the column's width.
    int32_t x = 0, y = 0, width = 0, height = 0;
    size_t columnStart = 0;
    auto closeColumn = [&](size_t end) {
        for (size_t i = columnStart; i < end; ++i)
            placed.items[i].right = x + width;
        x += width;
        width = 0;
        columnStart = end;
    };
    for (size_t i = 0; i < panel.items.size(); ++i) {
        const MenuItem& item = panel.items[i];
        if (item.columnBreak && i > 0) {
            closeColumn(i);
            y = 0;
        }
        const Point extent = measure.measure(item);
        placed.items.emplace_back(x, y, x + extent.h, y + extent.v);
        if (extent.h > width) width = extent.h;
        y += extent.v;
        if (y > height) height = y;
    }
    closeColumn(panel.items.size());
    const int32_t panelWidth = x;

    // Where it goes: the main panel at the position, a submenu at the right of its entry (or
    // at its left when the screen ends first); then moved inside the screen.
    int32_t left = isMain ? beside.left : beside.right;
    int32_t top = beside.top;
    if (!isMain && left + panelWidth > screen.right) left = beside.left - panelWidth;
    if (left + panelWidth > screen.right) left = screen.right - panelWidth;
    if (top + height > screen.bottom) top = screen.bottom - height;
    if (left < screen.left) left = screen.left;
    if (top < screen.top) top = screen.top;
    placed.bounds = Rect(left, top, left + panelWidth, top + height);
    for (Rect& rect : placed.items)
        rect.offset(left, top);
    open.push_back(std::move(placed));
}

void MenuNavigator::openSubMenuOfHighlight(bool highlightFirst) {
    OpenPanel& deepest = open.back();
    if (deepest.highlighted < 0) return;
    const MenuItem& item = itemOf(deepest, deepest.highlighted);
    if (item.kind != MenuItem::Kind::SubMenu || item.subPanel < 0) return;
    const Rect beside = deepest.items[static_cast<size_t>(deepest.highlighted)];
    openPanel(item.subPanel, beside, false);
    if (highlightFirst) step(1, true);
}

void MenuNavigator::step(int32_t direction, bool fromEnd) {
    OpenPanel& panel = open.back();
    const int32_t count = static_cast<int32_t>(panel.items.size());
    if (count == 0) return;
    int32_t at = fromEnd ? (direction > 0 ? -1 : count) : panel.highlighted;
    if (!fromEnd && at < 0) at = direction > 0 ? -1 : count;
    for (int32_t tries = 0; tries < count; ++tries) {
        at += direction;
        if (at < 0 || at >= count) {
            if (fromEnd) return; // Home and End do not wrap
            at = direction > 0 ? 0 : count - 1;
        }
        if (navigable(itemOf(panel, at))) {
            panel.highlighted = at;
            return;
        }
    }
}

MenuNavigator::Outcome MenuNavigator::choose(const OpenPanel& panel, int32_t index) {
    const MenuItem& item = itemOf(panel, index);
    if (item.kind != MenuItem::Kind::Normal) return outcome;
    chosenId = item.commandId;
    outcome = Outcome::Chosen;
    return outcome;
}

MenuNavigator::Outcome MenuNavigator::key(MenuKey menuKey) {
    if (outcome != Outcome::Open) return outcome;
    switch (menuKey) {
    case MenuKey::Up:
        step(-1, false);
        break;
    case MenuKey::Down:
        step(1, false);
        break;
    case MenuKey::Home:
        step(1, true);
        break;
    case MenuKey::End:
        step(-1, true);
        break;
    case MenuKey::Right:
        openSubMenuOfHighlight(true);
        break;
    case MenuKey::Left:
        if (open.size() > 1) open.pop_back();
        break;
    case MenuKey::Escape:
        if (open.size() > 1)
            open.pop_back();
        else
            outcome = Outcome::Cancelled;
        break;
    case MenuKey::Enter: {
        const OpenPanel& deepest = open.back();
        if (deepest.highlighted < 0) break;
        if (itemOf(deepest, deepest.highlighted).kind == MenuItem::Kind::SubMenu)
            openSubMenuOfHighlight(true);
        else
            choose(deepest, deepest.highlighted);
        break;
    }
    }
    return outcome;
}

bool MenuNavigator::find(const Point& where, size_t& panel, int32_t& item) const {
    for (size_t p = open.size(); p-- > 0;) {
        if (!open[p].bounds.pointInside(where)) continue;
        panel = p;
        item = -1;
        for (size_t i = 0; i < open[p].items.size(); ++i)
            if (open[p].items[i].pointInside(where)) item = static_cast<int32_t>(i);
        return true;
    }
    return false;
}

MenuNavigator::Outcome MenuNavigator::pointerMove(const Point& where) {
    if (outcome != Outcome::Open) return outcome;
    size_t panel = 0;
    int32_t item = -1;
    if (!find(where, panel, item)) return outcome;
    const int32_t highlighted = item >= 0 && navigable(itemOf(open[panel], item)) ? item : -1;
    if (open[panel].highlighted == highlighted && panel + 1 < open.size()) return outcome;
    open.resize(panel + 1); // leaving a submenu's entry closes what it opened
    open[panel].highlighted = highlighted;
    openSubMenuOfHighlight(false);
    return outcome;
}

MenuNavigator::Outcome MenuNavigator::pointerPress(const Point& where) {
    if (outcome != Outcome::Open) return outcome;
    size_t panel = 0;
    int32_t item = -1;
    if (!find(where, panel, item)) outcome = Outcome::Cancelled; // a click outside closes
    return outcome;
}

MenuNavigator::Outcome MenuNavigator::pointerRelease(const Point& where) {
    if (outcome != Outcome::Open) return outcome;
    size_t panel = 0;
    int32_t item = -1;
    if (find(where, panel, item) && item >= 0) choose(open[panel], item);
    return outcome;
}
