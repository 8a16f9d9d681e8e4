// PopupMenu: the entry list, building the menu tree, and applying the user's choice.
#include "gui/popup_menu.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/editor_frame.h"
#include "gui/menu_window.h"
#if TOOLKIT_NEWER
#include "gui/menu_look.h"
#endif

#include <cstring>
#include <new>
#include <optional>

namespace {

// A copy of text (null: "") cut to 255 characters, or null when memory ran out.
std::unique_ptr<char[]> copyEntry(const char* prefix, const char* text) {
    TextBuffer cut(prefix);
    cut.append(text ? text : "");
    std::unique_ptr<char[]> entry(new (std::nothrow) char[cut.size() + 1]);
    if (entry) std::memcpy(entry.get(), cut.c_str(), cut.size() + 1);
    return entry;
}

bool isSeparator(const char* text) {
    return std::strcmp(text, "-") == 0;
}
bool hasPrefix(const char* text, char kind) {
    return text[0] == '-' && text[1] == kind;
}
} // namespace

bool MenuTree::resolve(int32_t commandId, PopupMenu*& menu, int32_t& index) const {
    for (const MenuPanel& panel : panels) {
        const int32_t at = commandId - panel.firstId;
        if (panel.menu && at >= 0 && at < panel.menu->getEntryCount()) {
            menu = panel.menu;
            index = at;
            return true;
        }
    }
    return false;
}

PopupMenu::PopupMenu(const Rect& size, ControlListener* menuListener, int32_t menuTag,
                     Bitmap* background, Bitmap* second, int32_t style)
    : ValueDisplay(size, background, style), secondBitmap(second) {
    listener = menuListener;
    tag = menuTag;
    if (secondBitmap) secondBitmap->remember();
}

PopupMenu::~PopupMenu() {
    if (secondBitmap) secondBitmap->forget();
#if TOOLKIT_NEWER
    for (PopupMenu* menu : subMenus)
        menu->forget();
    if (look) look->forget();
#endif
}

// ---- drawing and input ----

void PopupMenu::draw(DrawContext* context) {
    if (current >= 0 && count > 0)
        drawText(context, entries[current].get());
    else
        setDirty(false); // nothing to show is shown
}

void PopupMenu::mouse(DrawContext* context, Point&) {
    if (!getMouseEnabled() || !frame || !context) return;
    openingButtons = context->getMouseButtons();
    if (!(openingButtons & (MouseLeft | MouseRight | 64))) return;
    if (secondBitmap) // the pressed look while the menu is open
        drawText(context, current >= 0 && count > 0 ? entries[current].get() : "", secondBitmap);
    frame->setEditView(this);
    takeFocus(context);
}

void PopupMenu::looseFocus(DrawContext*) {}

void PopupMenu::takeFocus(DrawContext* context) {
    // The menu opens on the screen under the display: the window's screen position plus the
    // container offset the context carries.
    Point origin;
    if (context)
        origin = context->getWindowOffset() + context->getOffset();
    else if (frame)
        origin = frame->getPointerSource()->getWindowPosition();

    MenuTree tree;
    buildTree(tree);
    MenuPlacement placement;
    placement.position =
        Point(origin.h + size.left, origin.v + ((style & kMenuOpenAtTop) ? size.top : size.bottom));
    placement.rightButton = (openingButtons & MouseRight) != 0;
    placement.frame = frame;
    MenuPresenter* own = frame ? frame->getMenuPresenter() : nullptr;
    MenuPresenter& presenter = own ? *own : windowMenuPresenter();
    const int32_t chosen = presenter.track(tree, placement);

    remember(); // the listener may remove this menu from its frame
    if (frame && frame->getEditView() == this) frame->setEditView(nullptr);
    PopupMenu* owner = nullptr;
    int32_t index = -1;
    const bool choice = chosen >= 0 && tree.resolve(chosen, owner, index);
    if (choice || secondBitmap) {
        std::optional<DrawContext> own;
        if (!context && frame) {
            own.emplace(frame, &frame->getSurface(), frame->getPointerSource());
            context = &*own;
        }
#if TOOLKIT_NEWER
        if (choice) {
            lastResult = chosen;
            owner->setValue(static_cast<float>(index));
            if (listener) listener->valueChanged(context, owner);
            doIdleStuff();
        } else {
            setDirty(true); // back to the normal look
        }
#else
        if (choice) {
            current = index;
            if (style & kMenuMultipleCheck) checks[current] = !checks[current];
            setValue(static_cast<float>(current));
            if (listener) listener->valueChanged(context, this);
        }
        draw(context);
#endif
    }
    forget();
}

#if TOOLKIT_NEWER
void PopupMenu::setValue(float newValue) {
    const int32_t index = static_cast<int32_t>(newValue);
    if (index >= 0 && index < count) {
        current = index;
        if (style & kMenuMultipleCheck) checks[index] = !checks[index];
    }
    value = newValue;
    setDirty(true);
}
#endif

// ---- building ----

void PopupMenu::buildTree(MenuTree& tree) {
    tree.panels.clear();
    tree.panels.emplace_back();
#if TOOLKIT_NEWER
    tree.look = look;
#endif
    int32_t nextId = 0;
    std::vector<const PopupMenu*> path;
    buildPanel(tree, 0, nextId, path);
}

void PopupMenu::buildPanel(MenuTree& tree, size_t panel, int32_t& nextId,
                           std::vector<const PopupMenu*>& path) {
    path.push_back(this);
    {
        MenuPanel& own = tree.panels[panel];
        own.menu = this;
        own.firstId = nextId;
    }
#if TOOLKIT_NEWER
    nextId += count; // one id per entry; submenus number on after this menu
#endif
    const bool columns = itemsPerColumn > 0 && count < kColumnEntryLimit;
    std::vector<MenuItem> items;
    items.reserve(static_cast<size_t>(count));
    std::vector<std::pair<size_t, PopupMenu*>> pendingSubMenus;
    [[maybe_unused]] size_t subMenuSeen = 0;
    for (int32_t i = 0; i < count; ++i) {
        const char* text = entries[i].get();
        MenuItem item;
        item.columnBreak = columns && i > 0 && i % itemsPerColumn == 0;
        if (isSeparator(text)) {
            item.kind = MenuItem::Kind::Separator;
        } else if (hasPrefix(text, 'G')) {
            item.kind = MenuItem::Kind::Greyed;
            item.text = text + 2;
        } else if (hasPrefix(text, 'T')) {
            item.kind = MenuItem::Kind::Title;
            item.text = text + 2;
#if TOOLKIT_NEWER
        } else if (hasPrefix(text, 'M')) {
            item.kind = MenuItem::Kind::SubMenu;
            item.text = text + 2;
            PopupMenu* sub = subMenuSeen < subMenus.size() ? subMenus[subMenuSeen] : nullptr;
            ++subMenuSeen;
            bool onPath = false;
            for (const PopupMenu* menu : path)
                onPath = onPath || menu == sub;
            if (!sub || onPath) continue; // a submenu that cannot be built is left out
            pendingSubMenus.emplace_back(items.size(), sub);
#endif
        } else {
            item.text = text;
            item.checked = ((style & kMenuMultipleCheck) && checks[i]) ||
                           ((style & kMenuCheckCurrent) && i == current);
        }
        if (item.kind == MenuItem::Kind::Normal) item.commandId = tree.panels[panel].firstId + i;
        items.push_back(item);
    }
    tree.panels[panel].items = std::move(items);
    for (const auto& [itemIndex, sub] : pendingSubMenus) {
        const size_t subPanel = tree.panels.size();
        tree.panels.emplace_back();
        tree.panels[panel].items[itemIndex].subPanel = static_cast<int32_t>(subPanel);
        sub->buildPanel(tree, subPanel, nextId, path);
    }
    path.pop_back();
}

// ---- the list ----

bool PopupMenu::addEntry(const char* text, int32_t index) {
    if (count >= kMaxEntries) return false;
    std::unique_ptr<char[]> entry = copyEntry("", text);
    if (!entry) return false;
    const int32_t at = index < 0 || index > count ? count : index;
    for (int32_t i = count; i > at; --i) {
        entries[i] = std::move(entries[i - 1]);
        checks[i] = checks[i - 1];
    }
    entries[at] = std::move(entry);
    checks[at] = 0;
    ++count;
    if (current < 0)
        current = 0;
    else if (current >= at)
        ++current; // the current entry moved down with the insertion
    return true;
}

#if TOOLKIT_NEWER
bool PopupMenu::reaches(const PopupMenu* target) const {
    if (this == target) return true;
    for (const PopupMenu* menu : subMenus)
        if (menu->reaches(target)) return true;
    return false;
}

bool PopupMenu::addSubMenu(PopupMenu* menu, const char* title) {
    // A menu inside itself, directly or further down, would open forever and keep itself
    // alive through its own reference: refused, so the menus always form a tree.
    if (!menu || count >= kMaxEntries || menu->reaches(this)) return false;
    std::unique_ptr<char[]> entry = copyEntry("-M", title);
    if (!entry) return false;
    subMenus.push_back(menu);
    menu->remember();
    entries[count] = std::move(entry);
    checks[count] = 0;
    ++count;
    if (current < 0) current = 0;
    return true;
}
#endif

bool PopupMenu::isSelectableEntry(int32_t index) const {
    const char* text = entries[index].get();
    return !isSeparator(text) && !hasPrefix(text, 'T');
}

int32_t PopupMenu::getCurrent(char* text, bool countAll) const {
    if (text) {
        text[0] = 0;
        if (current >= 0 && current < count) std::strcpy(text, entries[current].get());
    }
    if (countAll || current < 0) return current;
    int32_t position = 0;
    for (int32_t i = 0; i < current; ++i)
        position += isSelectableEntry(i) ? 1 : 0;
    return position;
}

bool PopupMenu::setCurrent(int32_t index, bool countAll) {
    if (index < 0 || index >= count) return false;
    if (countAll) {
        if (isSeparator(entries[index].get())) return false;
        current = index;
    } else {
        int32_t found = -1;
        for (int32_t i = 0, position = 0; i < count && found < 0; ++i) {
            if (!isSelectableEntry(i)) continue;
            if (position == index) found = i;
            ++position;
        }
        if (found < 0) return false;
        current = found;
    }
    setDirty(true);
    return true;
}

bool PopupMenu::getEntry(int32_t index, char* text) const {
    if (index < 0 || index >= count || !text) return false;
    std::strcpy(text, entries[index].get());
    return true;
}

bool PopupMenu::setEntry(int32_t index, const char* text) {
    if (index < 0 || index >= count) return false;
    std::unique_ptr<char[]> entry = copyEntry("", text);
    if (!entry) return false;
    entries[index] = std::move(entry);
    if (index == current) setDirty(true);
    return true;
}

bool PopupMenu::removeEntry(int32_t index) {
    if (index < 0 || index >= count) return false;
    for (int32_t i = index; i < count - 1; ++i) {
        entries[i] = std::move(entries[i + 1]);
        checks[i] = checks[i + 1];
    }
    --count;
    entries[count].reset();
    checks[count] = 0;
    // The current index stays on its entry; when that entry itself went, on the one that took
    // its place (or the new last one), and -1 only for an empty list.
    if (count == 0)
        current = -1;
    else if (current > index || current >= count)
        --current;
    setDirty(true);
    return true;
}

bool PopupMenu::removeAllEntries() {
    for (int32_t i = 0; i < count; ++i) {
        entries[i].reset();
        checks[i] = 0;
    }
    count = 0;
    current = -1;
    setDirty(true);
    return true;
}

int32_t PopupMenu::getEntryCount() const {
    return count;
}

int32_t PopupMenu::getIndex(const char* text) const {
    if (!text) return -1;
    for (int32_t i = 0; i < count; ++i)
        if (std::strcmp(entries[i].get(), text) == 0) return i;
    return -1;
}

bool PopupMenu::checkEntry(int32_t index, bool state) {
    if (index < 0 || index >= count) return false;
    checks[index] = state ? 1 : 0;
    return true;
}

bool PopupMenu::checkEntryAlone(int32_t index) {
    if (index < 0 || index >= count) return false;
    std::memset(checks, 0, sizeof checks);
    checks[index] = 1;
    return true;
}

bool PopupMenu::isEntryChecked(int32_t index) const {
    if (index < 0 || index >= count) return false;
    return checks[index] != 0;
}

void PopupMenu::setItemsPerColumn(int32_t n) {
    itemsPerColumn = n;
}
int32_t PopupMenu::getItemsPerColumn() const {
    return itemsPerColumn;
}

#if TOOLKIT_NEWER
int32_t PopupMenu::getLastResult() const {
    return lastResult;
}

void PopupMenu::setMenuLook(MenuLook* newLook) {
    if (newLook) newLook->remember();
    if (look) look->forget();
    look = newLook;
}

MenuLook* PopupMenu::getMenuLook() const {
    return look;
}
#endif
