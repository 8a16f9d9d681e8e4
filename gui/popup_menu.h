// PopupMenu: a value display that shows the current entry of a list and opens a popup menu
// to choose another. Entry prefixes make separators ("-"), greyed entries ("-G"), titles
// ("-T") and, in the newer variant, submenus ("-M", made by addSubMenu). Style bit 1 shows the
// check flags, 0x400 checks the current entry, 0x200 opens the menu at the top edge.
//
// State (after ValueDisplay's): up to 1024 entries of at most 255 characters (owned) and
// their check flags, the entry count, the current index (-1 when empty), a second bitmap shown
// while the menu is open (one reference), the buttons of the opening click, the entries per
// column (-1: no columns); newer: the submenus (one reference each), the last chosen command
// id and the owner-drawn look (one reference).
//
// Threads: the host's GUI thread; the popup blocks inside mouse() until the menu closes.
#pragma once

#include "gui/menu_tree.h"
#include "gui/toolkit_variant.h"
#include "gui/value_display.h"

#include <cstdint>
#include <memory>
#include <vector>

class MenuLook;

class PopupMenu : public ValueDisplay {
  public:
    static constexpr int32_t kMaxEntries = 1024;
    // Columns are made only for menus shorter than this.
    static constexpr int32_t kColumnEntryLimit = 160;

    PopupMenu(const Rect& size, ControlListener* listener, int32_t tag, Bitmap* background,
              Bitmap* secondBitmap, int32_t style);
    ~PopupMenu() override;

    void draw(DrawContext* context) override;
    void mouse(DrawContext* context, Point& where) override;
    void takeFocus(DrawContext* context) override;
    void looseFocus(DrawContext* context) override;
#if TOOLKIT_NEWER
    // Makes an in-range index current (toggling its check flag with style bit 1), stores the
    // value and marks the menu dirty.
    void setValue(float newValue) override;
#endif

    // Appends (index < 0) or inserts at min(index, count); null stores "". False when full.
    virtual bool addEntry(const char* text, int32_t index = -1);
#if TOOLKIT_NEWER
    // Appends the entry "-M" + title that opens `menu` (remembered). False when full, null, or
    // when `menu` is this menu or holds it somewhere below.
    virtual bool addSubMenu(PopupMenu* menu, const char* title);
#endif
    // The current entry's text into `text` (256 bytes, may be null); answers the real index
    // with countAll, else the count of selectable entries before it.
    virtual int32_t getCurrent(char* text = nullptr, bool countAll = true) const;
    virtual bool setCurrent(int32_t index, bool countAll = true);
    virtual bool getEntry(int32_t index, char* text) const;
    virtual bool setEntry(int32_t index, const char* text);
    virtual bool removeEntry(int32_t index);
    virtual bool removeAllEntries();
    virtual int32_t getEntryCount() const;
    virtual int32_t getIndex(const char* text) const;
    virtual bool checkEntry(int32_t index, bool state);
    virtual bool checkEntryAlone(int32_t index);
    virtual bool isEntryChecked(int32_t index) const;
    virtual void setItemsPerColumn(int32_t count);
    virtual int32_t getItemsPerColumn() const;
#if TOOLKIT_NEWER
    virtual int32_t getLastResult() const;
    // The owner-drawn look (remembered; null: the presenter's own).
    virtual void setMenuLook(MenuLook* look);
    virtual MenuLook* getMenuLook() const;
#endif

    // The menu as it opens now (the building rules), for presenters and tests.
    void buildTree(MenuTree& tree);
    int32_t getMouseButtonsAtOpen() const {
        return openingButtons;
    }
    Bitmap* getSecondBitmap() const {
        return secondBitmap;
    }

  private:
    // Builds this menu's panel at tree.panels[panel]; `path` holds the menus being built, so a
    // menu that contains itself is not built again.
    void buildPanel(MenuTree& tree, size_t panel, int32_t& nextId,
                    std::vector<const PopupMenu*>& path);
    bool isSelectableEntry(int32_t index) const;
#if TOOLKIT_NEWER
    bool reaches(const PopupMenu* target) const;
#endif
    void applyChoice(DrawContext* context, int32_t commandId, const MenuTree& tree);

    std::unique_ptr<char[]> entries[kMaxEntries];
    uint8_t checks[kMaxEntries] = {};
    int32_t count = 0;
    int32_t current = -1;
    Bitmap* secondBitmap = nullptr;
    int32_t openingButtons = 4;
    int32_t itemsPerColumn = -1;
#if TOOLKIT_NEWER
    std::vector<PopupMenu*> subMenus;
    int32_t lastResult = -1;
    MenuLook* look = nullptr;
#endif
};
