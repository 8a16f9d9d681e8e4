// MenuLook: the drawn look of a popup menu's entries. In the newer variant a menu may carry
// one of its own (owner-drawn entries); a menu window draws every other menu with a default
// one. Colours are the desktop menu colours fixed at construction; text is font 4.
//
// State: reference count (starts at 1), menu background, highlight, menu text, highlighted
// text and greyed text colours. GUI thread only.
#pragma once

#include "gui/colour.h"
#include "gui/geometry.h"
#include "gui/menu_tree.h"

#include <cstdint>

class DrawContext;

// State bits of an entry being drawn.
inline constexpr int32_t kMenuItemChecked = 1;
inline constexpr int32_t kMenuItemDisabled = 2;
inline constexpr int32_t kMenuItemSelected = 4;

class MenuLook {
  public:
    static constexpr int32_t kFontId = 4;
    static constexpr int32_t kSeparatorSize = 6;
    static constexpr int32_t kItemHeight = 18;
    static constexpr int32_t kTextLeft = 18;  // also the width added to the text's
    static constexpr int32_t kTabColumn = 50; // the part after a tab starts this far from the right

    MenuLook();
    virtual ~MenuLook() = default;
    MenuLook(const MenuLook&) = delete;
    MenuLook& operator=(const MenuLook&) = delete;

    void remember() { ++referenceCount; }
    void forget();
    int32_t getReferenceCount() const { return referenceCount; }

    // Width and height of an entry; `context` measures the text.
    virtual Point measure(DrawContext& context, const MenuItem& item);
    // Draws an entry into `rect` with the kMenuItem* state bits.
    virtual void draw(DrawContext& context, const Rect& rect, const MenuItem& item, int32_t state);

    Colour menuColour{240, 240, 240, 0};
    Colour highlightColour{51, 153, 255, 0};
    Colour menuTextColour{0, 0, 0, 0};
    Colour highlightTextColour{255, 255, 255, 0};
    Colour greyedColour{109, 109, 109, 0};

  private:
    int32_t referenceCount = 1;
};
